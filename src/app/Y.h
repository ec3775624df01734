#pragma once
// The Y dialog: asks whether a Y of the data is to be read as a vowel. Opened by the analysis
// window in typed mode (one Y, the one just typed) or in paste mode (every uppercase Y from left to
// right, the data written back once at the end). Vowel and Consonant are the only ways out.

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class TCalcFrm;

class TYFrm : public QDialog {
    Q_OBJECT

public:
    explicit TYFrm(TCalcFrm& calcFrm);

    QLabel* DataLb = nullptr;
    QLineEdit* DataBx = nullptr;
    QLabel* Question = nullptr;
    QPushButton* YesBtn = nullptr;
    QPushButton* NoBtn = nullptr;
    QPushButton* YPasteBtn = nullptr;

    // The dialog's state between its steps, for tests and the screenshot.
    const QString& WorkText() const { return work_; }
    int Position() const { return position_; }

    void FormActivate();
    void YPasteBtnClick();
    void YesBtnClick();
    void NoBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // There is no cancel: Escape answers Consonant, the close box does nothing.
    void reject() override;

private:
    void Decide(bool vowel);
    void WriteBackAndClose();

    TCalcFrm& calcFrm_;
    QString work_;
    int position_ = 0;
    int length_ = 0;
    QString prefix_;
    QString rest_;
};

}  // namespace quillon
