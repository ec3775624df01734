#pragma once
// The analysis window: the data field with its vowel and consonant rows, the three totals, the
// digit chart, the command buttons and the (hidden) date panel. It holds the window-wide state and
// the simple commands; the analysis itself is RunAnalysis, so the window only moves texts.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "numerology/Analysis.h"
#include "report/content/ReportVariables.h"

class QFrame;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace quillon {

class ChartPanel;

class TCalcFrm : public QWidget {
    Q_OBJECT

public:
    // Client sizes: the designed width shows the date panel; at creation the window is narrowed
    // so that only the analysis part shows. The frame of the window adds 8 pixels to the width.
    static constexpr int kClientHeight = 316;
    static constexpr int kWideClientWidth = 614;
    static constexpr int kNarrowClientWidth = 474;

    explicit TCalcFrm(QWidget* parent = nullptr);

    AnalysisState& State() { return state_; }
    const AnalysisState& State() const { return state_; }
    const QString& HelpFilePath() const { return helpFilePath_; }

    // The report's value callback: answers a name from the window's fields as they are now, or
    // leaves the value empty.
    void frReport1GetValue(const std::string& name, ReportValue& value) const;
    // The texts the callback reads, taken from the fields at the moment of the call.
    ReportSource CurrentReportSource() const;

    // Steps 2 to 6 of the Paste command for a given text (the clipboard's, for the command).
    void EnterPastedText(const QString& text);

    // Commands.
    void ClearBtnClick();
    void PasteBtnClick();
    void MthBtnClick();
    void HelpBtnClick();
    void CalendarBtnClick();
    void CalculatorBtnClick();
    void PrintBtnClick();
    void ExportBtnClick();
    void InternetBtnClick();
    void ExitBtnClick();

    // Data entry.
    void DataChange();
    void CalcBtnClick();

    // Controls, named as in the window's table.
    QLineEdit* Vowels = nullptr;
    QLineEdit* Data = nullptr;
    QLineEdit* Constants = nullptr;
    QLineEdit* VTotal = nullptr;
    QLineEdit* Total = nullptr;
    QLineEdit* CTotal = nullptr;
    ChartPanel* Chart = nullptr;
    QPushButton* Clearbtn = nullptr;
    QPushButton* CalendarBtn = nullptr;
    QPushButton* PasteBtn = nullptr;
    QPushButton* MthBtn = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* CalculatorBtn = nullptr;
    QPushButton* PrintBtn = nullptr;
    QPushButton* ExportBtn = nullptr;
    QPushButton* InternetBtn = nullptr;
    QPushButton* ExitBtn = nullptr;
    QFrame* Panel3 = nullptr;
    QLineEdit* NmDt = nullptr;
    QPushButton* CalcBtn = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildDatePanel();
    void ConnectCommands();
    void SetTabOrder();
    void FormCreate();
    void CentreOnScreen();

    bool DataKeyPress(QKeyEvent* event);
    void DataKeyUp(QKeyEvent* event);
    // Puts the pending Y to the user; the Y dialog is created at start-up after this window.
    void ShowYDialog();

    AnalysisState state_;
    QString helpFilePath_;
};

// "Quillon Ver. 3.41" and the maker's notice.
QString MainWindowCaption();

}  // namespace quillon
