#pragma once
// The math calculator window: the calculator control and the numerology commands Reduce and Sum,
// which hand their result to the calculator through the system clipboard. Created hidden at start-up
// and shown by the analysis window's Calculator button; Close and Esc only hide it, so the display,
// the pending operation and the memory stay until the program ends.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace quillon {

class TOvcCalculator;
struct NumerologyStep;

// What the calculator asks of the window that owns it: the window it stands beside and belongs
// to, and the help file whose page the Help button opens.
class CalculatorOwner {
public:
    virtual QWidget& OwnerWindow() = 0;
    virtual QString HelpFilePath() const = 0;

protected:
    ~CalculatorOwner() = default;
};

class TCalculatorFrm : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 226;
    static constexpr int kClientHeight = 203;
    // The help page of this window, appended to the help file's path.
    static constexpr const char* kHelpPage = "::/html/quil5n02.htm";
    // The help topic F1 asks for.
    static constexpr const char* kHelpJumpId = "IDH_CALCULATOR";

    // The analysis window is the owner, whose help file the Help button opens.
    explicit TCalculatorFrm(CalculatorOwner& owner);

    // Where the help service is reached: the Help button hands ShowHelpTopic the page's full address,
    // F1 hands HelpJump the topic. Unset, they do nothing.
    std::function<void(const QString& address)> ShowHelpTopic;
    std::function<void(const QString& jumpId)> HelpJump;

    TOvcCalculator* OvcCalculator1 = nullptr;
    QPushButton* ReduceBtn = nullptr;
    QPushButton* SumBtn = nullptr;
    QPushButton* HelpBtn = nullptr;
    QPushButton* CloseBtn = nullptr;
    QLineEdit* Edit1 = nullptr;

    // Shows the window without blocking the analysis window, beside it the first time, and brings
    // it to the front.
    void ShowBesideOwner();

    void FormActivate();
    void FormKeyDown(int key);
    void ReduceBtnClick();
    void SumBtnClick();
    void HelpBtnClick();
    void CloseBtnClick();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunNumerologyStep(const NumerologyStep& step);
    void HandToCalculator(const std::u16string& text);

    CalculatorOwner& owner_;
    bool placed_ = false;
};

}  // namespace quillon
