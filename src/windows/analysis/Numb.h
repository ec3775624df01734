#pragma once
// The analysis window: the data field with its vowel and consonant rows, the three totals, the
// digit chart, the command buttons and the (hidden) date panel. It holds the window-wide state and
// the simple commands; the analysis itself is RunAnalysis and CalculateDate, the steps that
// AssembleAnalysis puts together for the command line, so the window only moves texts.

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "numerology/Analysis.h"
#include "report/content/ReportVariables.h"
#include "report/content/TemplateData.h"
#include "report/engine/Report.h"
#include "report/export/RtfExport.h"
#include "windows/calculator/Calc.h"

class QAction;
class QContextMenuEvent;
class QFrame;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace quillon {

class ChartPanel;
class TOvcDateEdit;
class ReportSurroundings;
class THookHelpSystem;
class TYFrm;
class TInternetFrm;
class TCalcFrm : public QWidget, public CalculatorOwner {
    Q_OBJECT

public:
    // Client sizes: the designed width shows the date panel; at creation the window is narrowed
    // so that only the analysis part shows. The frame of the window adds 8 pixels to the width.
    static constexpr int kClientHeight = 316;
    static constexpr int kWideClientWidth = 614;
    static constexpr int kNarrowClientWidth = 474;
    // Opening the date panel moves the window this far to the left, closing it back.
    static constexpr int kDatePanelShift = 71;

    explicit TCalcFrm(QWidget* parent = nullptr);
    ~TCalcFrm() override;

    AnalysisState& State() { return state_; }
    const AnalysisState& State() const { return state_; }
    // Values accented letters as their base letters, or as other characters, and shows the
    // analysis anew; the data field's menu entry shows the choice. The stored choice is left as
    // it is: only the person's toggling of the entry changes it.
    void SetFoldAccents(bool on);
    QString HelpFilePath() const override { return helpFilePath_; }
    QWidget& OwnerWindow() override { return *this; }

    // The report's value callback: answers a name from the window's fields as they are now, or
    // leaves the value empty.
    void frReport1GetValue(const std::string& name, ReportValue& value) const;
    // The texts the callback reads, taken from the fields at the moment of the call.
    ReportSource CurrentReportSource() const;

    // The Paste command for a given text (the clipboard's, for the command): trims it, keeps the
    // first 40 characters upper-cased, puts them in place of the data and asks about each Y.
    void EnterPastedText(const QString& text);
    // The same up to the question: the data is replaced and the first Y is pending, but nothing
    // is asked.
    void PutPastedText(const QString& text);
    // Text that reaches the data field by any other way of pasting (the field's menu,
    // Shift+Insert, the middle mouse button, a drop): trimmed and upper-cased like the Paste
    // command's text, but inserted where the field puts it (at the caret or over the selection)
    // within the field's limit; each Y it brings is asked about, left to right.
    void InsertPastedText(const QString& text);

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

    // The date calculator.
    void frSpeedButton1Click();
    void DtCalcBtnClick();
    void DtClearBtnClick();
    void DtHelpBtnClick();
    void DateEditChange();

    // The controls, each with its member's name as its object name.
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
    QPushButton* CalcBtn = nullptr;
    // The checkable entry of the data field's menu: "Value accented letters as their base letters".
    QAction* FoldAccentsItem = nullptr;

    // The date panel and its controls.
    QFrame* Panel3 = nullptr;
    QPushButton* frSpeedButton1 = nullptr;  // the panel's close button
    TOvcDateEdit* DateEdit = nullptr;
    QLineEdit* DtTot = nullptr;
    QLineEdit* MnTot = nullptr;
    QLineEdit* DyTot = nullptr;
    QLineEdit* NmDt = nullptr;
    QPushButton* DtClearBtn = nullptr;
    QPushButton* DtHelpBtn = nullptr;
    QPushButton* DtCalcBtn = nullptr;

    // Binds the reports' printer layer to the system's printers once the window is up, or before
    // a command that prints or lays out a report, whichever comes first: reading the printers
    // loads the print support and asks the spooler, which showing the window does not need. The
    // templates loaded at creation are then loaded again, as they would have been had the
    // printers been bound first.
    void BindPrintersLater(PrinterDriver& driver);
    void BindPendingPrinters();

    // The print and the export report, their templates loaded when the window is created.
    TfrReport frReport1{EnginePrinter(), kPrintReportName};
    TfrReport frReport2{EnginePrinter(), kExportReportName};
    // The RTF writer of the Export command, with the window's stored settings.
    TfrRTFExport frRTFExport1;

    // The value callback in the report engine's terms.
    void GetReportValue(const std::string& name, Value& value) const;

    // The Y dialog, created at start-up after this window.
    TYFrm* YFrm = nullptr;
    // The links window, created at start-up after the Y dialog.
    TInternetFrm* InternetFrm = nullptr;
    // The math calculator window, created at start-up after the Y dialog.
    TCalculatorFrm* CalculatorFrm = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void BuildDatePanel();
    void ConnectCommands();
    void SetTabOrder();
    void FormCreate();
    // Loads both report templates from the window's stored layout; a failure shows in an error
    // box when asked to.
    void LoadReportTemplates(bool showFailures);

    // Whether the key types a printable character, with no command modifier.
    static bool TypesACharacter(const QKeyEvent& key);
    bool DataKeyPress(QKeyEvent* event);
    // Whether the key types a Y that is asked about: the Y key, and with folding a key that types
    // an accented y.
    bool TypesQuestionY(const QKeyEvent& key) const;
    // An input method's committed text, upper-cased as typed letters are; a single Y it types is
    // asked about like a typed one. True when the window took the event.
    bool DataInputMethod(QInputMethodEvent* event);
    // Asks about the Y typed at the 1-based position, then types what was typed meanwhile.
    void AskAboutTypedY(int position);
    // The person's toggling of the menu entry: stored for the next runs and applied.
    void FoldAccentsItemClick(bool on);
    void DataKeyUp(QKeyEvent* event);
    // Composes the data (NFC) when it is not composed, whichever way the text came in (a combining
    // mark typed after its letter, a paste beside a letter): the same visible text has the same
    // values. Keeps the caret after the letter it stood after; true when the data was changed.
    bool ComposeData();
    // Paste by the field's own ways, which the window takes over; true when the event was one.
    bool DataPaste(QEvent* event);
    void DataContextMenu(const QContextMenuEvent& event);
    bool EsDateEdit1KeyPress(QKeyEvent* event);
    void ShowYDialog();
    // While the Y question is open the window takes no input: keys go to the question, which
    // keeps them, and clicks are refused.
    bool RefuseWhileAsking(QEvent* event);
    // Types the keys kept while the question was open into the data, as if typed now.
    void TypeTypedAhead();
    // The 1-based position of the Y whose key went down last, when that Y is in the data.
    int TypedYPosition() const;
    // Shows a failed run in an error box with the given caption; anything else passes silently.
    static void ShowFailure(const RunResult& result, std::string_view caption);

    AnalysisState state_;
    // Where the last Y key put its Y, the length of the text without the selection then, and the
    // key by its code and its scan code.
    struct TypedY {
        int at = -1;
        qsizetype lengthBefore = 0;
        int key = 0;
        quint32 scanCode = 0;
    } typedY_;
    bool typingAhead_ = false;
    // The window is handing the field an input method's text it took: the field is to take it.
    bool committing_ = false;
    // How far opening the date panel moved the window, to be undone when it closes.
    QPoint datePanelMove_;
    QString helpFilePath_;
    std::unique_ptr<ReportSurroundings> reportSurroundings_;
    PrinterDriver* pendingPrinters_ = nullptr;
    // The help hook, from creation to destruction of the window.
    std::unique_ptr<THookHelpSystem> helpHook_;
};

// "Quillon Ver. " and the version, and the maker's notice.
QString MainWindowCaption();

// Text as it is typed into the data (TypedDataText): composed, a to z as capitals and, with
// folding, an accented lowercase y as its uppercase form, so that it is asked about as y is.
QString AsTypedIntoData(const QString& text, bool foldAccents);

}  // namespace quillon
