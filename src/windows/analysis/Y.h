#pragma once
// The Y dialog: asks whether a Y of the data is to be read as a vowel. Opened by the analysis
// window in typed mode (one Y, the one just typed) or in paste mode (every uppercase Y, with folding
// every uppercase accented Y too, from left to right, the data written back once at the end).
// Vowel and Consonant are the only ways out.
//
// The question is answered only on purpose: a click on a button, Alt+V, Alt+C, Escape, or Space or
// Enter on a button that the person moved the focus to with Tab or an arrow key. Every other key
// typed while the question is open is kept, in order, and the analysis window types it into the
// data after the answer, as if it had been typed then. A person typing "mary carter" at an
// ordinary pace thus gets "MARY CARTER", whatever arrives while the question is up. Keyboard
// answers other than Escape count only once the question has been up for half a second, so that
// a key already on its way when the dialog appeared does not answer it.

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

class QEventLoop;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillon {

class TCalcFrm;

// A key typed while the question was open, to be typed into the data after the answer. An input
// method's committed text is kept with key 0.
struct TypedAheadKey {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool autoRepeat = false;
    // Whether the key's release is one that the keyboard repeats (the next kept key repeats it).
    bool releaseRepeats = false;
};

class TYFrm : public QDialog {
    Q_OBJECT

public:
    // How long the question must have been up before a keyboard answer other than Escape counts.
    static constexpr qint64 kAnswerDelayMs = 500;

    explicit TYFrm(TCalcFrm& calcFrm);

    QLabel* DataLb = nullptr;
    QLineEdit* DataBx = nullptr;
    QLabel* Question = nullptr;
    QPushButton* YesBtn = nullptr;
    QPushButton* NoBtn = nullptr;
    QPushButton* YPasteBtn = nullptr;

    // Milliseconds on a steady clock; tests set their own.
    std::function<qint64()> Clock;

    // The dialog's state between its steps, for tests and the screenshot.
    const QString& WorkText() const { return work_; }
    int Position() const { return position_; }

    // Shows the question and returns once it is answered. The analysis window stays out of reach
    // meanwhile: its keys come to TypedKey, its mouse clicks are refused.
    void Ask();
    bool IsAsking() const { return loop_ != nullptr; }

    // A key pressed while the question is open, in the dialog or in the analysis window.
    void TypedKey(const QKeyEvent& key);
    // Text an input method committed while the question is open.
    void TypedText(const QString& text);
    // The keys typed ahead, oldest first, each taken once.
    std::optional<TypedAheadKey> TakeTypedAhead();
    // The printable text of the keys typed ahead, as the data field will receive it.
    QString TypedAheadText() const;

    void FormActivate();
    void YPasteBtnClick();
    void YesBtnClick();
    void NoBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;
    // There is no cancel: Escape answers Consonant, the close box does nothing.
    void reject() override;

private:
    void Decide(bool vowel);
    void WriteBackAndClose();
    // Clicks the button if the question has been up long enough, else beeps.
    void AnswerByKey(QPushButton* button);
    // Tab, Backtab and the arrow keys move the focus between the two buttons.
    bool MoveFocus(int key);
    QPushButton* ChosenButton() const;
    void ShowDataLabel();

    TCalcFrm& calcFrm_;
    QString work_;
    int position_ = 0;
    int length_ = 0;
    QString prefix_;
    QString rest_;
    qint64 askedAt_ = 0;
    std::deque<TypedAheadKey> typedAhead_;
    QEventLoop* loop_ = nullptr;
};

}  // namespace quillon
