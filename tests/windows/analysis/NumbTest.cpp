#include "windows/analysis/Numb.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/QtPrint.h"
#include "windows/analysis/ChartPanel.h"
#include "windows/analysis/Windows.h"
#include "windows/report/TfrProgressForm.h"

namespace quillon {
namespace {

class AnalysisWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.Data->setFocus();
    }

    void Type(const QString& keys) { QTest::keyClicks(window.Data, keys); }

    void Paste(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        window.PasteBtnClick();
    }

    std::array<QString, kChartCellCount> ChartTexts() const {
        std::array<QString, kChartCellCount> texts;
        for (int i = 0; i < kChartCellCount; ++i) texts[static_cast<std::size_t>(i)] = window.Chart->CellText(i);
        return texts;
    }

    void ExpectTotals(const char* vowels, const char* consonants, const char* total) const {
        EXPECT_EQ(window.VTotal->text(), QString::fromLatin1(vowels));
        EXPECT_EQ(window.CTotal->text(), QString::fromLatin1(consonants));
        EXPECT_EQ(window.Total->text(), QString::fromLatin1(total));
    }

    void ExpectEmptyAnalysis() const {
        EXPECT_EQ(window.Vowels->text(), QString());
        EXPECT_EQ(window.Constants->text(), QString());
        ExpectTotals("0", "0", "0");
        for (const QString& text : ChartTexts()) EXPECT_EQ(text, QStringLiteral("0"));
        EXPECT_EQ(window.NmDt->text(), QString());
    }

    TCalcFrm window;
};

TEST_F(AnalysisWindow, StartsEmptyAndNarrow) {
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("Quillon Ver. 3.41 ")));
    EXPECT_EQ(window.MthBtn->text(), QStringLiteral("Pythagorean"));
    EXPECT_EQ(window.State().letterSystem, LetterSystem::Pythagorean);
    EXPECT_EQ(window.Data->text(), QString());
    ExpectEmptyAnalysis();
    EXPECT_TRUE(window.Panel3->isHidden());
    EXPECT_EQ(window.size(), QSize(TCalcFrm::kNarrowClientWidth, TCalcFrm::kClientHeight));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "the window has a fixed size";
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window.CalcBtn->isHidden());
    EXPECT_TRUE(window.HelpFilePath().endsWith(QStringLiteral("/quill.chm")));
    // Both report templates are loaded from the forms the window carries.
    ASSERT_EQ(window.frReport1.Template.Pages.size(), 1u);
    EXPECT_EQ(window.frReport1.Template.Pages[0].Objects.size(), 54u);
    ASSERT_EQ(window.frReport2.Template.Pages.size(), 1u);
    EXPECT_EQ(window.frReport2.Template.Pages[0].Objects.size(), 36u);
    EXPECT_EQ(window.frReport1.Name, "frReport1");
}

TEST_F(AnalysisWindow, ControlsStandAtTheirPlacesWithTheirHints) {
    struct Expected {
        QWidget* widget;
        QRect geometry;
        const char* hint;
    };
    const Expected controls[] = {
        {window.Vowels, {9, 25, 328, 24}, "Analysis Only."},
        {window.Data, {9, 75, 328, 24}, "Enter Data Here."},
        {window.Constants, {9, 125, 328, 24}, "Analysis Only."},
        {window.VTotal, {352, 25, 114, 24}, "Analysis Only."},
        {window.Total, {352, 75, 114, 24}, "Analysis Only."},
        {window.CTotal, {352, 125, 114, 24}, "Analysis Only."},
        {window.Chart, {10, 167, 329, 95}, "Analysis Only."},
        {window.Clearbtn, {355, 167, 28, 25}, "Clear Data"},
        {window.CalendarBtn, {393, 167, 32, 25}, "Open or Close Date Calculator"},
        {window.PasteBtn, {435, 167, 28, 25}, "Paste from Clipboard"},
        {window.MthBtn, {355, 203, 108, 25}, "Click to Change System"},
        {window.HelpBtn, {375, 238, 64, 25}, "Open Help"},
        {window.CalculatorBtn, {9, 279, 90, 25}, "Math Calculator"},
        {window.PrintBtn, {115, 279, 75, 25}, "Print Report"},
        {window.ExportBtn, {208, 279, 75, 25}, "Export Results to RTF file."},
        {window.InternetBtn, {299, 279, 76, 25}, "Internet Sites"},
        {window.ExitBtn, {391, 279, 75, 25}, "Exit Program"},
        {window.Panel3, {472, 0, 142, 316}, ""},
    };
    for (const Expected& control : controls) {
        SCOPED_TRACE(control.widget->objectName().toStdString());
        EXPECT_EQ(control.widget->geometry(), control.geometry);
        EXPECT_EQ(control.widget->toolTip(), QString::fromLatin1(control.hint));
    }

    for (QLineEdit* field : {window.Vowels, window.Constants, window.VTotal, window.Total, window.CTotal}) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_FALSE(field->focusPolicy() & Qt::TabFocus) << "result fields are not tab stops";
        EXPECT_EQ(field->palette().color(QPalette::Base), QColor(240, 251, 255));
    }
    EXPECT_EQ(window.Data->maxLength(), 40);
    // The rows line up with the data only if all three share their fixed-pitch font.
    for (QLineEdit* field : {window.Vowels, window.Data, window.Constants}) {
        EXPECT_EQ(field->font().family(), QStringLiteral("Courier New"));
        EXPECT_TRUE(field->font().bold());
        EXPECT_TRUE(QFontInfo(field->font()).fixedPitch()) << field->objectName().toStdString();
    }
    EXPECT_EQ(window.MthBtn->text(), QStringLiteral("Pythagorean"));
    for (QPushButton* button :
         {window.Clearbtn, window.CalendarBtn, window.PasteBtn, window.HelpBtn, window.CalculatorBtn, window.PrintBtn,
          window.ExportBtn, window.InternetBtn, window.ExitBtn}) {
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString() << " has its image";
    }
}

TEST_F(AnalysisWindow, ChartCellsStandInTheirColumnsAndRows) {
    const int valueLeft[] = {71, 93, 116, 138, 162, 184, 207, 231, 253};
    const int rowTop[] = {25, 43, 63};
    for (int index = 0; index < kChartCellCount; ++index) {
        QLabel* cell = window.Chart->Cell(index);
        SCOPED_TRACE(cell->objectName().toStdString());
        const int left = index >= 27 ? 283 : valueLeft[index / 3];
        const int top = rowTop[index >= 27 ? index - 27 : index % 3];
        EXPECT_EQ(cell->geometry(), QRect(left, top, 20, 16));
        EXPECT_TRUE(cell->alignment() & Qt::AlignRight);
        EXPECT_EQ(cell->text(), QStringLiteral("0"));
    }
    EXPECT_EQ(window.Chart->Panel()->palette().color(QPalette::Window), QColor(240, 251, 255));
}

TEST_F(AnalysisWindow, TabOrderFollowsTheCommands) {
    QWidget* const expected[] = {window.Clearbtn,    window.CalendarBtn,   window.PasteBtn, window.MthBtn,
                                 window.HelpBtn,     window.CalculatorBtn, window.PrintBtn, window.ExportBtn,
                                 window.InternetBtn, window.ExitBtn,       window.Data};
    ASSERT_EQ(QApplication::focusWidget(), window.Data);
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(AnalysisWindow, TypedLettersAreUpperCasedAndOtherKeysPass) {
    Type(QStringLiteral("mary 1"));
    EXPECT_EQ(window.Data->text(), QStringLiteral("MARY 1"));
    EXPECT_EQ(window.Vowels->text(), QStringLiteral(" 1    "));
    EXPECT_EQ(window.Constants->text(), QStringLiteral("4 97  "));
    ExpectTotals("1", "20 / 2", "22 / 4");
    // Alt with a letter, such as an answer to the Y question pressed once it has gone, is no letter.
    QTest::keyClick(window.Data, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(window.Data->text(), QStringLiteral("MARY 1"));
}

TEST_F(AnalysisWindow, TypingMaryStepByStep) {
    Type(QStringLiteral("MAR"));
    ExpectTotals("1", "13 / 4", "14 / 5");
    Type(QStringLiteral("Y"));
    ExpectTotals("1", "20 / 2", "21 / 3");
    EXPECT_EQ(window.State().PendingYPosition, 4);
    EXPECT_TRUE(window.State().YFromTyping);
    EXPECT_EQ(window.Data->cursorPosition(), 4);

    // A Y declared a vowel comes back as "y" in the data and re-runs the analysis.
    window.Data->setText(QStringLiteral("MARy"));
    ExpectTotals("8", "13 / 4", "21 / 3");
    EXPECT_EQ(window.Chart->CellText(18), QStringLiteral("1"));  // V7
    EXPECT_EQ(window.Chart->CellText(19), QStringLiteral("0"));  // C7
}

TEST_F(AnalysisWindow, LowerCaseYIsTheYKeyToo) {
    Type(QStringLiteral("y"));
    EXPECT_EQ(window.Data->text(), QStringLiteral("Y"));
    EXPECT_EQ(window.State().PendingYPosition, 1);
    // Any other key release forgets the pending Y.
    Type(QStringLiteral("a"));
    EXPECT_EQ(window.State().PendingYPosition, 0);
    EXPECT_FALSE(window.State().YFromTyping);
}

TEST_F(AnalysisWindow, RepeatedReleasesOfAHeldYAreIgnored) {
    Type(QStringLiteral("Y"));
    QTest::keyPress(window.Data, Qt::Key_Y);
    window.State().PendingYPosition = 0;
    QTest::keyRelease(window.Data, Qt::Key_Y);  // a real release records the Y its press typed
    EXPECT_EQ(window.State().PendingYPosition, 2);
    window.State().PendingYPosition = 0;
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"), true);
    QApplication::sendEvent(window.Data, &repeated);
    EXPECT_EQ(window.State().PendingYPosition, 0);
}

TEST_F(AnalysisWindow, AnAccentedYKeyIsKnownByItsScanCodeWhenItComesUp) {
    // A key mapped to ý for a moment, as typing tools do, may come up as no key at all.
    window.SetFoldAccents(true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Yacute, Qt::NoModifier, 8, 0, 0, QString::fromUtf8("ý"));
    QApplication::sendEvent(window.Data, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, 8, 0, 0, QString());
    QApplication::sendEvent(window.Data, &release);
    EXPECT_EQ(window.Data->text(), QString::fromUtf8("Ý"));
    EXPECT_EQ(window.State().PendingYPosition, 1);
    EXPECT_TRUE(window.State().YFromTyping);
}

TEST_F(AnalysisWindow, YKeyWithoutATypedYAsksNothing) {
    Type(QString(40, QLatin1Char('A')));
    Type(QStringLiteral("y"));
    EXPECT_EQ(window.Data->text(), QString(40, QLatin1Char('A')));
    EXPECT_EQ(window.State().PendingYPosition, 0);
}

TEST_F(AnalysisWindow, DeletingToEmptyZeroesEverything) {
    window.State().DateDigitSum = 37;
    Type(QStringLiteral("MARY 12"));
    EXPECT_EQ(window.NmDt->text(), QStringLiteral("61 / 7"));
    for (int i = 0; i < 7; ++i) QTest::keyClick(window.Data, Qt::Key_Backspace);
    EXPECT_EQ(window.Data->text(), QString());
    ExpectEmptyAnalysis();
}

TEST_F(AnalysisWindow, FortyCharactersAtMost) {
    Type(QString(45, QLatin1Char('b')));
    EXPECT_EQ(window.Data->text(), QString(40, QLatin1Char('B')));
    EXPECT_EQ(window.Constants->text(), QString(40, QLatin1Char('2')));
    EXPECT_EQ(window.Chart->CellText(4), QStringLiteral("40"));   // C2
    EXPECT_EQ(window.Chart->CellText(29), QStringLiteral("40"));  // ttt
}

TEST_F(AnalysisWindow, PunctuationAndDigitsOnly) {
    Type(QStringLiteral("1999"));
    EXPECT_EQ(window.Vowels->text(), QStringLiteral("    "));
    ExpectTotals("0", "0", "28 / 10 / 1");
    EXPECT_EQ(window.Chart->CellText(29), QStringLiteral("0"));
    window.Data->setText(QStringLiteral("?!-."));
    ExpectTotals("0", "0", "0");
}

TEST_F(AnalysisWindow, PasteTrimsUpperCasesAndAsksAboutTheFirstY) {
    Type(QStringLiteral("OLD"));
    Paste(QStringLiteral("  mary y  "));
    EXPECT_EQ(window.Data->text(), QStringLiteral("MARY Y")) << "the whole text is replaced";
    EXPECT_EQ(window.State().PendingYPosition, 4);
    EXPECT_FALSE(window.State().YFromTyping);
    ExpectTotals("1", "27 / 9", "28 / 10 / 1");
}

TEST_F(AnalysisWindow, PasteKeepsTheFirstFortyCharacters) {
    const QString fifty = QStringLiteral("ABCDEFGHIJ").repeated(5);
    Paste(fifty);
    EXPECT_EQ(window.Data->text(), fifty.left(40));
}

TEST_F(AnalysisWindow, PasteWithoutTextEmptiesTheData) {
    Type(QStringLiteral("MARY"));
    QGuiApplication::clipboard()->clear();
    window.PasteBtnClick();
    EXPECT_EQ(window.Data->text(), QString());
    EXPECT_EQ(window.State().PendingYPosition, 0);
    ExpectEmptyAnalysis();

    // An image on the clipboard is no text either.
    auto* mime = new QMimeData;
    mime->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(mime);
    window.PasteBtnClick();
    EXPECT_EQ(window.Data->text(), QString());
}

TEST_F(AnalysisWindow, PasteSurvivesAnyClipboardText) {
    const QString texts[] = {
        QString(200000, QLatin1Char('x')),
        QStringLiteral("\x01\x02\x1b[31mred\x07\x7f"),
        QString::fromUtf8("\xe4\xb8\xad\xe6\x96\x87 \xd0\x96\xd1\x83\xd0\xba \xf0\x9f\x98\x80 y\xcc\x81"),
        QString(QChar(0)) + QStringLiteral("nul"),
        QString(QChar(0xD800)),  // a lone surrogate
    };
    for (const QString& text : texts) {
        Paste(text);
        EXPECT_LE(window.Data->text().size(), 40);
        EXPECT_EQ(window.Vowels->text().size(), window.Data->text().size());
        EXPECT_EQ(window.Constants->text().size(), window.Data->text().size());
    }
}

TEST_F(AnalysisWindow, CtrlVPastesIntoDataFromAnyControl) {
    QGuiApplication::clipboard()->setText(QStringLiteral("john"));
    window.MthBtn->setFocus();
    QTest::keyClick(window.MthBtn, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.Data->text(), QStringLiteral("JOHN"));

    QGuiApplication::clipboard()->setText(QStringLiteral("ann"));
    QTest::keyClick(window.Data, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.Data->text(), QStringLiteral("ANN")) << "Ctrl+V replaces, it does not insert";
}

// A letter typed or pasted as its base letter and combining marks becomes the composed letter, so
// that the same visible name has the same values whichever way its letters were made.
TEST_F(AnalysisWindow, DecomposedLettersBecomeComposedOnesTypedOrPasted) {
    const std::pair<const char*, const char*> pairs[] = {
        {"JOSÉ", "JOSE\u0301"}, {"PEÑA", "PEN\u0303A"},           {"ÅSA", "A\u030aSA"},
        {"ŸVES", "Y\u0308VES"}, {"NGUYỆN", "NGUYE\u0302\u0323N"}, {"NGUYỆN", "NGUYE\u0323\u0302N"},
    };
    for (bool fold : {false, true}) {
        window.SetFoldAccents(fold);
        for (const auto& [composed, decomposed] : pairs) {
            Paste(QString::fromUtf8(composed));
            const QString expected[] = {window.Data->text(), window.Vowels->text(), window.Constants->text(),
                                        window.Total->text()};
            const std::array<QString, kChartCellCount> chart = ChartTexts();
            for (bool typed : {false, true}) {
                window.ClearBtnClick();
                if (typed) {
                    // Each letter and mark as a key of its own, with itself as its text.
                    for (const QChar c : QString::fromUtf8(decomposed)) {
                        QTest::sendKeyEvent(QTest::Click, window.Data, Qt::Key(c.unicode()), QString(c), {});
                    }
                } else {
                    Paste(QString::fromUtf8(decomposed));
                }
                const std::string name =
                    std::string(decomposed) + (typed ? " typed" : " pasted") + (fold ? ", folded" : "");
                EXPECT_EQ(window.Data->text(), expected[0]) << name;
                EXPECT_EQ(window.Vowels->text(), expected[1]) << name;
                EXPECT_EQ(window.Constants->text(), expected[2]) << name;
                EXPECT_EQ(window.Total->text(), expected[3]) << name;
                EXPECT_EQ(ChartTexts(), chart) << name;
                EXPECT_EQ(window.Data->cursorPosition(), window.Data->text().size()) << name;
            }
        }
    }
    window.SetFoldAccents(false);
}

TEST_F(AnalysisWindow, ChangeSystemTwiceReturnsToTheFirstResults) {
    Type(QStringLiteral("MARY 12"));
    ExpectTotals("1", "20 / 2", "24 / 6");
    window.MthBtn->click();
    EXPECT_EQ(window.MthBtn->text(), QStringLiteral("Chaldean"));
    EXPECT_EQ(window.State().letterSystem, LetterSystem::Chaldean);
    EXPECT_EQ(window.Constants->text(), QStringLiteral("4 21   "));
    ExpectTotals("1", "7", "11 / 2");
    EXPECT_EQ(window.Chart->CellText(2), QStringLiteral("2"));  // T1: A and Y
    window.MthBtn->click();
    EXPECT_EQ(window.MthBtn->text(), QStringLiteral("Pythagorean"));
    ExpectTotals("1", "20 / 2", "24 / 6");
}

TEST_F(AnalysisWindow, TheDataMenuValuesAccentedLettersAsTheirBaseLettersAndRemembersIt) {
    QAction* const item = window.FoldAccentsItem;
    // Whatever happens below, the next windows start with the choice off again.
    const std::unique_ptr<QAction, void (*)(QAction*)> switchOff(item, [](QAction* action) {
        if (action->isChecked()) action->trigger();
    });
    // Opens the data field's menu and chooses the entry, noting whether the menu had it.
    auto chooseFromMenu = [this, item] {
        bool listed = false;
        QTimer::singleShot(0, [&listed, item] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            listed = menu->actions().contains(item);
            menu->hide();
            if (listed) item->trigger();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), window.Data->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(window.Data, &event);
        return listed;
    };
    EXPECT_EQ(item->text(), QStringLiteral("Value accented letters as their base letters"));
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked()) << "off by default";
    Type(QStringLiteral("jos"));
    QTest::sendKeyEvent(QTest::Click, window.Data, Qt::Key_Eacute, QString::fromUtf8("é"), {});
    EXPECT_EQ(window.Data->text(), QString::fromUtf8("JOSé"));
    ExpectTotals("6", "2", "8");

    ASSERT_TRUE(chooseFromMenu());
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(window.Data->text(), QString::fromUtf8("JOSé")) << "the data keeps its letters";
    ExpectTotals("11 / 2", "2", "13 / 4");
    {
        TCalcFrm next;
        EXPECT_TRUE(next.State().foldAccents) << "a new window reads the choice";
        EXPECT_TRUE(next.FoldAccentsItem->isChecked());
        // As the command line switches it: the check mark follows, the stored choice stays.
        next.SetFoldAccents(false);
        EXPECT_FALSE(next.FoldAccentsItem->isChecked());
        next.SetFoldAccents(true);
        EXPECT_TRUE(next.FoldAccentsItem->isChecked());
        next.SetFoldAccents(false);
    }
    EXPECT_TRUE(TCalcFrm().FoldAccentsItem->isChecked());

    ASSERT_TRUE(chooseFromMenu());
    EXPECT_FALSE(item->isChecked());
    ExpectTotals("6", "2", "8");
    EXPECT_FALSE(TCalcFrm().State().foldAccents);
}

TEST_F(AnalysisWindow, ClearOnEmptyDataStillResetsTheTotals) {
    window.VTotal->setText(QStringLiteral("stale"));
    window.Chart->Cell(29)->setText(QStringLiteral("9"));
    window.MthBtn->setFocus();
    window.Clearbtn->click();
    ExpectTotals("0", "0", "0");
    EXPECT_EQ(window.Chart->CellText(29), QStringLiteral("0"));
    EXPECT_EQ(QApplication::focusWidget(), window.Data);
}

TEST_F(AnalysisWindow, ClearKeepsTheDateResult) {
    window.State().DateDigitSum = 37;
    Type(QStringLiteral("MARY"));
    window.Clearbtn->click();
    ExpectEmptyAnalysis();
    EXPECT_EQ(window.State().GrandTotal, 0);
    EXPECT_EQ(window.State().DateDigitSum, 37);
}

TEST_F(AnalysisWindow, ValueCallbackReadsTheFieldsAtEachCall) {
    Type(QStringLiteral("MARY 12"));
    window.Data->setText(QStringLiteral("MARy 12"));
    ReportValue value;
    window.frReport1GetValue("Data", value);
    EXPECT_EQ(value, ReportValue(std::string("MARY 12")));
    window.frReport1GetValue("VTot", value);
    EXPECT_EQ(value, ReportValue(std::string("8")));
    window.frReport1GetValue("C9", value);
    EXPECT_EQ(value, ReportValue(std::string("1")));
    window.frReport1GetValue("Method", value);
    EXPECT_EQ(value, ReportValue(std::string("Pythagorean")));
    window.frReport1GetValue("master", value);
    EXPECT_EQ(value, ReportValue(std::int32_t{33}));
    // No date result and a closed panel: the date group is not answered.
    window.State().DateDigitSum = 37;
    window.frReport1GetValue("DatesLb", value);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// What each window asks the window manager for: the analysis window a minimise box and the close
// box of its system menu, never a maximise box; the dialogs and the companion windows a title bar
// without buttons.
TEST(WindowDecorations, OnlyTheBoxesTheWindowsHave) {
    Windows windows;
    TfrProgressForm progress;
    const Qt::WindowFlags buttons =
        Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
    const std::pair<QWidget*, Qt::WindowFlags> expected[] = {
        {&windows.CalcFrm, Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint},
        {&windows.YFrm, {}},
        {&windows.InternetFrm, {}},
        {&windows.CalculatorFrm, {}},
        {&progress, {}},
    };
    for (const auto& [window, wanted] : expected) {
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint))
            << window->objectName().toStdString() << ": the buttons are chosen";
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint)) << window->objectName().toStdString();
        EXPECT_EQ(flags & buttons, wanted) << window->objectName().toStdString();
    }
}

}  // namespace
}  // namespace quillon
