#pragma once
// The Y question as a person meets it, for the tests of the Y dialog and of the analysis window's
// data field: the steps a person takes while the question is up, the person who takes them and
// notes what the dialog showed, and the windows they work in.

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

#include "windows/analysis/Windows.h"

namespace quillon::test {

// What a person does while the question is up, one step per turn of the event loop: answer with
// a button or a key, type on (into the dialog, or into the analysis window before the dialog has
// the keyboard), click the analysis window, let time pass on the dialog's clock, or wait for the
// window manager.
struct Step {
    enum Kind { Vowel, Consonant, Key, Type, TypeIntoWindow, ClickWindow, Wait, Settle, ExpectLabel } kind;
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString text = {};
    qint64 ms = 0;
};
inline const Step kVowel{Step::Vowel};
inline const Step kConsonant{Step::Consonant};
inline const Step kEscape{Step::Key, Qt::Key_Escape};
inline const Step kAltV{Step::Key, Qt::Key_V, Qt::AltModifier};
inline const Step kAltC{Step::Key, Qt::Key_C, Qt::AltModifier};
inline Step Press(Qt::Key key) { return {Step::Key, key}; }
inline Step Type(const char* text) { return {Step::Type, {}, {}, QString::fromUtf8(text)}; }
inline Step TypeIntoWindow(const char* text) { return {Step::TypeIntoWindow, {}, {}, QString::fromUtf8(text)}; }
inline Step Wait(qint64 ms) { return {Step::Wait, {}, {}, {}, ms}; }
inline Step ExpectLabel(const char* text) { return {Step::ExpectLabel, {}, {}, QString::fromUtf8(text)}; }

// Runs the steps, each time the dialog is up, and notes what it showed at each answer. The
// dialog's clock is the test's: it stands still unless a step lets time pass.
class Person {
public:
    struct Seen {
        QString dataLb;
        QString dataBx;
        int position;
        QString data;  // the analysis window's data field meanwhile
        QRect place;   // where the dialog stood
    };

    Person(Windows& windows, std::vector<Step> steps) : windows_(windows), steps_(std::move(steps)) {
        windows_.YFrm.Clock = [this] { return now_; };
        waiting_.start();
        Schedule();
    }

    std::vector<Seen> seen;
    std::vector<QString> labels;  // the data label at each ExpectLabel step
    // Whether the question was still up after the last step (it is then answered Consonant, so
    // that the test ends).
    bool leftOpen = false;
    bool Done() const { return next_ == steps_.size(); }

private:
    void Schedule() {
        QTimer::singleShot(1, &context_, [this] { RunStep(); });
    }

    void RunStep() {
        TYFrm& dialog = windows_.YFrm;
        if (Done()) {
            leftOpen = leftOpen || dialog.isVisible();
            if (dialog.isVisible()) dialog.NoBtn->click();
            if (dialog.isVisible()) Schedule();
            return;
        }
        if (!dialog.isVisible()) {
            // Waits for the dialog for a while, then gives up so that a test without it ends.
            if (waiting_.elapsed() < 3000) Schedule();
            return;
        }
        const Step& step = steps_[next_++];
        // Keys go to the dialog's focused control: the dialog itself until a button is chosen.
        QWidget* focused = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
        switch (step.kind) {
            case Step::Vowel:
            case Step::Consonant:
                Note();
                (step.kind == Step::Vowel ? dialog.YesBtn : dialog.NoBtn)->click();
                break;
            case Step::Key:
                Note();
                QTest::keyClick(focused, step.key, step.modifiers);
                break;
            case Step::Type: QTest::keyClicks(focused, step.text); break;
            case Step::TypeIntoWindow: QTest::keyClicks(windows_.CalcFrm.Data, step.text); break;
            case Step::ClickWindow: QTest::mouseClick(windows_.CalcFrm.Clearbtn, Qt::LeftButton); break;
            case Step::Wait: now_ += step.ms; break;
            // Under a window manager the dialog lands a moment after it was shown.
            case Step::Settle: QTest::qWait(200); break;
            case Step::ExpectLabel: labels.push_back(dialog.DataLb->text()); break;
        }
        waiting_.restart();
        Schedule();
    }

    void Note() {
        const TYFrm& dialog = windows_.YFrm;
        seen.push_back({dialog.DataLb->text(), dialog.DataBx->text(), dialog.Position(), windows_.CalcFrm.Data->text(),
                        dialog.geometry()});
    }

    Windows& windows_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    qint64 now_ = 0;
    QElapsedTimer waiting_;
    QObject context_;  // ends the pending step with this object
};

// The analysis window shown, active and ready for typing, with the Y dialog beside it.
class YDialog : public ::testing::Test {
protected:
    void SetUp() override {
        calc.show();
        calc.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&calc));
        calc.Data->setFocus();
    }

    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        calc.PasteBtnClick();
    }

    Windows windows;
    TCalcFrm& calc = windows.CalcFrm;
    TYFrm& dialog = windows.YFrm;
};

}  // namespace quillon::test
