#include "windows/calculator/Calc.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/QtPrint.h"
#include "support/RecordingMessages.h"
#include "windows/analysis/Windows.h"
#include "windows/calculator/OvcCalculator.h"

namespace quillon {
namespace {

QString Display(const TOvcCalculator& calculator) {
    return QString::fromStdU16String(calculator.Engine().DisplayText());
}

void Click(TOvcCalculator& calculator, CalcButton button) {
    QTest::mouseClick(&calculator, Qt::LeftButton, Qt::NoModifier, calculator.ButtonRect(button).center());
}

TEST(CalculatorControl, LayoutOfTheWindowsControl) {
    TOvcCalculator calculator;
    calculator.resize(218, 167);
    EXPECT_EQ(calculator.DisplayRect(), QRect(6, 6, 206, 25));
    const std::pair<CalcButton, QRect> places[] = {
        {CalcButton::MemoryClear, {6, 35, 30, 22}},     {CalcButton::Back, {80, 35, 41, 22}},
        {CalcButton::ClearEntry, {125, 35, 41, 22}},    {CalcButton::Clear, {170, 35, 42, 22}},
        {CalcButton::MemoryRecall, {6, 61, 30, 22}},    {CalcButton::Digit7, {46, 61, 30, 22}},
        {CalcButton::Divide, {148, 61, 30, 22}},        {CalcButton::Sqrt, {182, 61, 30, 22}},
        {CalcButton::Percent, {182, 87, 30, 22}},       {CalcButton::Reciprocal, {182, 113, 30, 22}},
        {CalcButton::MemorySubtract, {6, 139, 30, 22}}, {CalcButton::Digit0, {46, 139, 30, 22}},
        {CalcButton::Sign, {80, 139, 30, 22}},          {CalcButton::Decimal, {114, 139, 30, 22}},
        {CalcButton::Equals, {182, 139, 30, 22}},
    };
    for (const auto& [button, rect] : places)
        EXPECT_EQ(calculator.ButtonRect(button), rect) << calculator.Caption(button).toStdString();

    // Every button lies inside the borders and apart from the display and every other button, and
    // the point at its centre finds it.
    const QRect inside = calculator.rect().adjusted(6, 6, -6, -6);
    for (int i = 0; i <= static_cast<int>(CalcButton::MemorySubtract); ++i) {
        const auto button = static_cast<CalcButton>(i);
        const QRect rect = calculator.ButtonRect(button);
        EXPECT_TRUE(inside.contains(rect)) << calculator.Caption(button).toStdString();
        EXPECT_FALSE(rect.intersects(calculator.DisplayRect()));
        EXPECT_EQ(calculator.ButtonAt(rect.center()), button);
        for (int j = i + 1; j <= static_cast<int>(CalcButton::MemorySubtract); ++j) {
            EXPECT_FALSE(rect.intersects(calculator.ButtonRect(static_cast<CalcButton>(j))));
        }
    }
    EXPECT_FALSE(calculator.ButtonAt({50, 40}).has_value()) << "the first column of the first row is empty";

    // A narrow control has thinner borders and gaps.
    const CalculatorLayout narrow = LayOutCalculator({180, 150});
    EXPECT_EQ(narrow.border, 4);
    EXPECT_EQ(narrow.gap, 2);
    EXPECT_EQ(narrow.Button(CalcButton::Equals).right(), 180 - 4 - 1);
    EXPECT_EQ(narrow.Button(CalcButton::Equals).bottom(), 150 - 4 - 1);
}

TEST(CalculatorControl, CaptionColoursByGroup) {
    TOvcCalculator calculator;
    const QColor maroon(128, 0, 0), navy(0, 0, 128), red(255, 0, 0), blue(0, 0, 255), gray(128, 128, 128);
    const std::pair<CalcButton, QColor> colours[] = {
        {CalcButton::Back, maroon},        {CalcButton::ClearEntry, maroon}, {CalcButton::Clear, maroon},
        {CalcButton::Reciprocal, navy},    {CalcButton::Sign, navy},         {CalcButton::Percent, navy},
        {CalcButton::Sqrt, navy},          {CalcButton::MemoryStore, red},   {CalcButton::MemoryAdd, red},
        {CalcButton::MemorySubtract, red}, {CalcButton::Digit0, blue},       {CalcButton::Digit9, blue},
        {CalcButton::Decimal, blue},       {CalcButton::Add, red},           {CalcButton::Equals, red},
        {CalcButton::MemoryClear, gray},   {CalcButton::MemoryRecall, gray},
    };
    for (const auto& [button, colour] : colours)
        EXPECT_EQ(calculator.CaptionColor(button), colour) << calculator.Caption(button).toStdString();
    EXPECT_EQ(calculator.Colors.Display, calculator.palette().color(QPalette::Base));
    EXPECT_EQ(calculator.Colors.DisplayTextColor, calculator.palette().color(QPalette::Text));

    calculator.Engine().Press(CalcButton::Digit5);
    calculator.Engine().Press(CalcButton::MemoryStore);
    EXPECT_EQ(calculator.CaptionColor(CalcButton::MemoryClear), red);
    EXPECT_EQ(calculator.CaptionColor(CalcButton::MemoryRecall), red);
}

TEST(CalculatorControl, MouseClicksActOnReleaseOverTheSameButton) {
    TOvcCalculator calculator;
    calculator.resize(218, 167);
    Click(calculator, CalcButton::Digit7);
    EXPECT_EQ(Display(calculator), "7");

    // Released over another button, or beside every button: nothing.
    QTest::mousePress(&calculator, Qt::LeftButton, {}, calculator.ButtonRect(CalcButton::Digit8).center());
    QTest::mouseRelease(&calculator, Qt::LeftButton, {}, calculator.ButtonRect(CalcButton::Digit9).center());
    QTest::mousePress(&calculator, Qt::LeftButton, {}, calculator.ButtonRect(CalcButton::Digit8).center());
    QTest::mouseRelease(&calculator, Qt::LeftButton, {}, QPoint(50, 40));
    EXPECT_EQ(Display(calculator), "7");

    // MC and MR take no click while the memory is zero; MS does, and then they do.
    Click(calculator, CalcButton::MemoryRecall);
    Click(calculator, CalcButton::MemoryClear);
    EXPECT_EQ(Display(calculator), "7");
    EXPECT_EQ(calculator.Engine().LastButton(), CalcButton::Digit7);
    Click(calculator, CalcButton::MemoryStore);
    Click(calculator, CalcButton::Clear);
    Click(calculator, CalcButton::MemoryRecall);
    EXPECT_EQ(Display(calculator), "7.00");
    Click(calculator, CalcButton::MemoryClear);
    EXPECT_EQ(calculator.Engine().Memory(), 0);
    // The keys still act on a zero memory.
    QTest::keyClick(&calculator, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(Display(calculator), "0.00");
}

TEST(CalculatorControl, KeyTable) {
    TOvcCalculator calculator;
    const struct {
        const char* name;
        QList<std::pair<int, QString>> keys;  // key code and text; a Ctrl key has no text
        const char* display;
    } rows[] = {
        {"digits and operators",
         {{Qt::Key_1, "1"},
          {Qt::Key_Plus, "+"},
          {Qt::Key_2, "2"},
          {Qt::Key_Asterisk, "*"},
          {Qt::Key_3, "3"},
          {Qt::Key_Minus, "-"},
          {Qt::Key_1, "1"},
          {Qt::Key_Slash, "/"},
          {Qt::Key_4, "4"},
          {Qt::Key_Equal, "="}},
         "2.00"},
        {"enter is equals", {{Qt::Key_6, "6"}, {Qt::Key_Plus, "+"}, {Qt::Key_1, "1"}, {Qt::Key_Return, "\r"}}, "7.00"},
        {"keypad enter", {{Qt::Key_6, "6"}, {Qt::Key_Plus, "+"}, {Qt::Key_2, "2"}, {Qt::Key_Enter, "\r"}}, "8.00"},
        {"point", {{Qt::Key_Period, "."}, {Qt::Key_5, "5"}}, "0.5"},
        {"percent",
         {{Qt::Key_5, "5"},
          {Qt::Key_0, "0"},
          {Qt::Key_Plus, "+"},
          {Qt::Key_1, "1"},
          {Qt::Key_0, "0"},
          {Qt::Key_Percent, "%"}},
         "55.00"},
        {"at sign is Sqrt", {{Qt::Key_9, "9"}, {Qt::Key_At, "@"}}, "3.00"},
        {"r is 1/x", {{Qt::Key_4, "4"}, {Qt::Key_R, "r"}}, "0.25"},
        {"capital R is nothing", {{Qt::Key_4, "4"}, {Qt::Key_R, "R"}}, "4"},
        {"F9 is +/-", {{Qt::Key_4, "4"}, {Qt::Key_F9, ""}}, "-4"},
        {"backspace is Back", {{Qt::Key_4, "4"}, {Qt::Key_2, "2"}, {Qt::Key_Backspace, "\b"}}, "4"},
        {"delete is CE", {{Qt::Key_4, "4"}, {Qt::Key_Delete, ""}}, "0.00"},
        {"escape is C on the bare control", {{Qt::Key_4, "4"}, {Qt::Key_Plus, "+"}, {Qt::Key_Escape, ""}}, "0"},
    };
    for (const auto& row : rows) {
        calculator.Engine().Press(CalcButton::Clear);
        for (const auto& [key, text] : row.keys) {
            QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
            QApplication::sendEvent(&calculator, &event);
        }
        EXPECT_EQ(Display(calculator), QString::fromLatin1(row.display)) << row.name;
    }

    // The memory keys, and the clipboard keys with the real clipboard.
    calculator.Engine().Press(CalcButton::Clear);
    QTest::keyClicks(&calculator, "5");
    QTest::keyClick(&calculator, Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(&calculator, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(calculator.Engine().Memory(), 10);
    QTest::keyClick(&calculator, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&calculator, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(calculator.Engine().Memory(), 0);
    QTest::keyClick(&calculator, Qt::Key_M, Qt::ControlModifier);
    QTest::keyClick(&calculator, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(calculator.Engine().Memory(), 0);
    QTest::keyClicks(&calculator, "+2=");
    QTest::keyClick(&calculator, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "7.00  ");
    QGuiApplication::clipboard()->setText("6*7=");
    QTest::keyClick(&calculator, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Display(calculator), "42.00");
}

TEST(CalculatorControl, TheLocalesDecimalSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TOvcCalculator calculator;
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(calculator.Caption(CalcButton::Decimal), ",");
    EXPECT_EQ(calculator.ButtonForCaption("."), CalcButton::Decimal);
    EXPECT_EQ(calculator.ButtonForCaption(","), CalcButton::Decimal);
    QTest::keyClicks(&calculator, "1,5+1.5=");
    EXPECT_EQ(Display(calculator), "3,00");
}

class CalculatorWindow : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::clipboard()->setText("before"); }

    TCalculatorFrm& Window() { return windows.CalculatorFrm; }
    TOvcCalculator& Calculator() { return *windows.CalculatorFrm.OvcCalculator1; }
    const TOvcBasicCalculatorEngine& Engine() { return Calculator().Engine(); }
    QString Entry() { return QString::fromStdU16String(Engine().EntryText()); }
    QString Clipboard() const { return QGuiApplication::clipboard()->text(); }

    void Open() {
        windows.CalcFrm.CalculatorBtnClick();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    }
    void Type(const QString& keys) { QTest::keyClicks(&Calculator(), keys); }
    void Clear() { Click(Calculator(), CalcButton::Clear); }

    Windows windows;
};

TEST_F(CalculatorWindow, FormAndControls) {
    TCalculatorFrm& window = Window();
    EXPECT_TRUE(window.isHidden()) << "created hidden at start-up";
    EXPECT_EQ(window.windowTitle(), "Math Calculator");
    EXPECT_EQ(window.size(), QSize(226, 203));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0, 0, 128));
    for (const Qt::WindowType button : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                                        Qt::WindowMaximizeButtonHint, Qt::WindowSystemMenuHint}) {
        EXPECT_FALSE(window.windowFlags().testFlag(button));
    }
    EXPECT_EQ(window.font().pixelSize(), 13);
    EXPECT_TRUE(window.font().bold());

    EXPECT_EQ(window.OvcCalculator1->geometry(), QRect(4, 4, 218, 167));
    const struct {
        QPushButton* button;
        QRect geometry;
        const char* caption;
        const char* hint;
    } buttons[] = {
        {window.ReduceBtn, {4, 176, 60, 25}, "Reduce", "Numerology reduce number to single digit."},
        {window.SumBtn, {67, 176, 60, 25}, "Sum", "Numerology - sum all intergers."},
        {window.HelpBtn, {130, 176, 30, 25}, "", "Open Help"},
        {window.CloseBtn, {163, 176, 60, 25}, "Close", ""},
    };
    for (const auto& row : buttons) {
        EXPECT_EQ(row.button->geometry(), row.geometry) << row.caption;
        EXPECT_EQ(row.button->text(), QString::fromLatin1(row.caption));
        EXPECT_EQ(row.button->toolTip(), QString::fromLatin1(row.hint));
        EXPECT_EQ(row.button->font().pixelSize(), 11);
        EXPECT_TRUE(row.button->font().bold());
    }
    EXPECT_FALSE(window.HelpBtn->icon().isNull());
    EXPECT_EQ(window.HelpBtn->iconSize(), QSize(16, 16));
    EXPECT_EQ(window.Edit1->geometry(), QRect(112, 96, 49, 24));
    EXPECT_TRUE(window.Edit1->isHidden());
    EXPECT_EQ(window.CloseBtn->nextInFocusChain(), window.OvcCalculator1);
    EXPECT_EQ(window.OvcCalculator1->TapeFont.pixelSize(), 13);
    EXPECT_EQ(window.OvcCalculator1->font().pixelSize(), 11);
}

TEST_F(CalculatorWindow, CalculatorButtonShowsItWithoutBlockingAndEscHidesIt) {
    windows.CalcFrm.show();
    Open();
    EXPECT_TRUE(Window().isVisible());
    EXPECT_FALSE(Window().isModal());
    EXPECT_TRUE(windows.CalcFrm.isEnabled());
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    EXPECT_TRUE(Calculator().hasFocus()) << "the calculator takes the focus when the window is activated";

    Type("12");
    QTest::keyClick(&Calculator(), Qt::Key_M, Qt::ControlModifier);
    Type("+3");
    QTest::keyClick(&Calculator(), Qt::Key_Escape);
    EXPECT_TRUE(Window().isHidden()) << "Esc closes the window instead of clearing";

    // Shown again, the window still holds the display, the pending operation and the memory.
    Open();
    EXPECT_EQ(Display(Calculator()), "3");
    EXPECT_EQ(Engine().Pending(), PendingOperation::Add);
    EXPECT_EQ(Engine().Memory(), 12);
    Type("=");
    EXPECT_EQ(Display(Calculator()), "15.00");

    Window().CloseBtn->click();
    EXPECT_TRUE(Window().isHidden());
    Open();
    EXPECT_EQ(Display(Calculator()), "15.00");
}

TEST_F(CalculatorWindow, KeysReachTheCalculatorAfterAClickOnItsButtons) {
    windows.CalcFrm.show();
    Open();
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    Window().ShowHelpTopic = [](const QString&) {};
    const struct {
        const char* entry;
        QPushButton* TCalculatorFrm::*button;
        const char* afterTyping;
    } rows[] = {
        {"1234", &TCalculatorFrm::SumBtn, "101"},
        {"2.5", &TCalculatorFrm::ReduceBtn, "2.51"},  // Reduce changes nothing here
        {"7", &TCalculatorFrm::HelpBtn, "71"},
    };
    for (const auto& row : rows) {
        Clear();
        Type(QString::fromLatin1(row.entry));
        QTest::mouseClick(Window().*row.button, Qt::LeftButton);
        // Typed as a person types: into whatever has the keyboard.
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClicks(QApplication::focusWidget(), "1");
        EXPECT_EQ(Entry(), QString::fromLatin1(row.afterTyping)) << row.entry;
        EXPECT_EQ(QApplication::focusWidget(), Window().OvcCalculator1) << row.entry;
    }
}

TEST_F(CalculatorWindow, TheCalculatorButtonBringsBackAMinimisedWindow) {
    windows.CalcFrm.show();
    Open();
    Window().showMinimized();
    ASSERT_TRUE(Window().isMinimized());
    windows.CalcFrm.CalculatorBtn->click();
    EXPECT_FALSE(Window().isMinimized());
    EXPECT_TRUE(Window().isVisible());
}

TEST_F(CalculatorWindow, ReduceAndSumGoThroughTheClipboard) {
    Open();
    Type("1234.00");
    for (const char* expected : {"127.00", "19.00", "10.00", "1.00"}) {
        Window().ReduceBtn->click();
        EXPECT_EQ(Entry(), QString::fromLatin1(expected));
        EXPECT_EQ(Display(Calculator()), QString::fromLatin1(expected));
        EXPECT_EQ(Clipboard(), QString::fromLatin1(expected));
        EXPECT_EQ(Window().Edit1->text(), QString::fromLatin1(expected));
    }
    Window().ReduceBtn->click();  // a single digit: nothing happens
    EXPECT_EQ(Entry(), "1.00");

    // The result is a freshly typed entry: the pending operation is gone, the memory stays.
    Clear();
    Type("7");
    QTest::keyClick(&Calculator(), Qt::Key_M, Qt::ControlModifier);
    Type("+1234.56");
    Window().SumBtn->click();
    EXPECT_EQ(Entry(), "10.56");
    EXPECT_EQ(Clipboard(), "10.56");
    EXPECT_EQ(Engine().Pending(), PendingOperation::None);
    EXPECT_EQ(Engine().Memory(), 7);

    Clear();
    Type("999999");
    Window().SumBtn->click();
    EXPECT_EQ(Entry(), "54");

    // -127 reduces to -5; typed back, the "-" is the subtract key.
    Clear();
    Type("127");
    QTest::keyClick(&Calculator(), Qt::Key_F9);
    Window().ReduceBtn->click();
    EXPECT_EQ(Clipboard(), "-5");
    EXPECT_EQ(Display(Calculator()), "5");
    EXPECT_EQ(Engine().Pending(), PendingOperation::Subtract);
    Type("=");
    EXPECT_EQ(Display(Calculator()), "-5.00");
}

TEST_F(CalculatorWindow, ErrorsLeaveCalculatorAndClipboardAlone) {
    Open();
    const struct {
        const char* keys;
        QPushButton* TCalculatorFrm::*button;
        const char* message;
    } rows[] = {
        {"123456789012345678901", &TCalculatorFrm::ReduceBtn, "Number must be twenty (20) integers or less."},
        {"99999999999999999999", &TCalculatorFrm::ReduceBtn, "'9999999999999999999' is not a valid integer value"},
        {"5.00\x1b", &TCalculatorFrm::ReduceBtn, "'-' is not a valid integer value"},
        {"127\x1b", &TCalculatorFrm::SumBtn, "'-' is not a valid integer value"},
    };
    for (const auto& row : rows) {
        RecordingMessages messages;
        Clear();
        QGuiApplication::clipboard()->setText("kept");
        for (const QChar key : QString::fromLatin1(row.keys)) {
            if (key == QChar(0x1b)) {
                QTest::keyClick(&Calculator(), Qt::Key_F9);  // the entry's sign
            } else {
                QTest::keyClicks(&Calculator(), QString(key));
            }
        }
        const QString entry = Entry();
        (Window().*row.button)->click();
        ASSERT_EQ(messages.shown.size(), 1u) << row.keys;
        EXPECT_EQ(messages.shown[0].text, row.message);
        EXPECT_EQ(messages.shown[0].caption, "Quillon");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(Entry(), entry);
        EXPECT_EQ(Clipboard(), "kept");
    }
}

TEST_F(CalculatorWindow, HelpButtonAndF1ReachTheHelpHooks) {
    Open();
    // Unset hooks do nothing.
    Window().HelpBtn->click();
    QTest::keyClick(&Calculator(), Qt::Key_F1);

    QStringList topics, jumps;
    Window().ShowHelpTopic = [&topics](const QString& address) { topics << address; };
    Window().HelpJump = [&jumps](const QString& jumpId) { jumps << jumpId; };
    Window().HelpBtn->click();
    QTest::keyClick(&Calculator(), Qt::Key_F1);
    QTest::keyClick(Window().SumBtn, Qt::Key_F1);
    EXPECT_EQ(topics, QStringList{windows.CalcFrm.HelpFilePath() + "::/html/quil5n02.htm"});
    EXPECT_EQ(jumps, (QStringList{"IDH_CALCULATOR", "IDH_CALCULATOR"}));
    EXPECT_EQ(Display(Calculator()), "0") << "F1 is not a calculator key";
}

}  // namespace
}  // namespace quillon
