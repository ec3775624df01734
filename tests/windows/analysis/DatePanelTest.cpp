#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "platform/Regional.h"
#include "platform/ScreenPlace.h"
#include "support/QtPrint.h"
#include "support/RecordingMessages.h"
#include "windows/analysis/DateCalendar.h"
#include "windows/analysis/DateEdit.h"
#include "windows/analysis/Windows.h"

namespace quillon {
namespace {

constexpr CivilDate kToday{2026, 12, 7};

// The panel's tests run under a pinned locale and a pinned today.
class DatePanel : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale("en_US"));
        PinToday(kToday);
        windows = std::make_unique<Windows>();
        calc().show();
        calc().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&calc()));
    }

    void TearDown() override {
        windows.reset();
        PinToday(std::nullopt);
        QLocale::setDefault(QLocale::c());
    }

    TCalcFrm& calc() { return windows->CalcFrm; }

    void OpenPanel() {
        if (calc().Panel3->isHidden()) calc().CalendarBtn->click();
    }

    void Calculate(const QString& text) {
        calc().DateEdit->setText(text);
        calc().DtCalcBtn->click();
    }

    void ExpectResults(const char* day, const char* monthDay, const char* total, const char* nameDate) {
        EXPECT_EQ(calc().DyTot->text(), QString::fromLatin1(day));
        EXPECT_EQ(calc().MnTot->text(), QString::fromLatin1(monthDay));
        EXPECT_EQ(calc().DtTot->text(), QString::fromLatin1(total));
        EXPECT_EQ(calc().NmDt->text(), QString::fromLatin1(nameDate));
    }

    RecordingMessages messages;
    std::unique_ptr<Windows> windows;
};

TEST_F(DatePanel, StartsHiddenWithTodayInTheField) {
    EXPECT_TRUE(calc().Panel3->isHidden());
    EXPECT_EQ(calc().DateEdit->text(), "12/ 7/2026");
    ExpectResults("", "", "", "");
    EXPECT_EQ(calc().State().DateDigitSum, 0);
}

TEST_F(DatePanel, ControlsStandAtTheirPlaces) {
    const std::pair<QWidget*, QRect> places[] = {
        {calc().DateEdit, {12, 20, 106, 21}},      {calc().DtTot, {10, 67, 106, 21}},
        {calc().MnTot, {10, 37, 106, 21}},         {calc().DyTot, {10, 34, 106, 21}},
        {calc().NmDt, {10, 43, 106, 21}},          {calc().DtClearBtn, {10, 75, 28, 25}},
        {calc().DtHelpBtn, {44, 75, 28, 25}},      {calc().DtCalcBtn, {78, 75, 40, 25}},
        {calc().frSpeedButton1, {114, 7, 10, 10}},
    };
    for (const auto& [widget, place] : places)
        EXPECT_EQ(widget->geometry(), place) << widget->objectName().toStdString();
    // Frames at 8, 9 / 8, 92 / 8, 154 / 8, 205 of the panel.
    EXPECT_EQ(calc().DateEdit->parentWidget()->geometry(), QRect(8, 9, 126, 98));
    EXPECT_EQ(calc().MnTot->parentWidget()->geometry(), QRect(8, 92, 126, 74));
    EXPECT_EQ(calc().DyTot->parentWidget()->geometry(), QRect(8, 154, 126, 70));
    EXPECT_EQ(calc().NmDt->parentWidget()->geometry(), QRect(8, 205, 126, 107));
    EXPECT_EQ(calc().DateEdit->toolTip(), "Use your Short Date Format.");
    EXPECT_EQ(calc().DtCalcBtn->text(), "Calc");
    EXPECT_EQ(calc().DtCalcBtn->toolTip(), "Calculate Date");
    EXPECT_EQ(calc().DtClearBtn->toolTip(), "Clear Date");
    EXPECT_EQ(calc().frSpeedButton1->toolTip(), "Close Date Calculator");
    for (QLineEdit* field : {calc().DtTot, calc().MnTot, calc().DyTot, calc().NmDt}) {
        EXPECT_TRUE(field->isReadOnly());
        EXPECT_FALSE(field->focusPolicy() & Qt::TabFocus);
    }
}

TEST_F(DatePanel, OpeningWidensAndShiftsTheWindowAndClosingRestores) {
    const QPoint start = calc().pos();
    calc().CalendarBtn->click();
    EXPECT_FALSE(calc().Panel3->isHidden());
    EXPECT_EQ(calc().width(), TCalcFrm::kWideClientWidth);
    EXPECT_EQ(calc().pos(), start - QPoint(71, 0));
    EXPECT_EQ(QApplication::focusWidget(), calc().DateEdit);

    calc().frSpeedButton1->click();
    EXPECT_TRUE(calc().Panel3->isHidden());
    EXPECT_EQ(calc().width(), TCalcFrm::kNarrowClientWidth);
    EXPECT_EQ(calc().pos(), start);
    EXPECT_EQ(QApplication::focusWidget(), calc().Data);

    calc().CalendarBtn->click();
    calc().CalendarBtn->click();
    EXPECT_EQ(calc().pos(), start);
}

TEST(DatePanelPlace, OpeningKeepsTheWindowOnItsScreenAndClosingUndoesOnlyThat) {
    // Window frames of the narrow window (482 wide) at places on screens of several geometries:
    // opening widens the frame by 140 and moves it 71 to the left, then back inside the screen's
    // free area; closing moves it back by what opening moved it.
    const QRect screen(0, 0, 1280, 1024);
    const QRect panelAtLeft(60, 0, 1220, 1024);     // a panel takes the left 60 pixels
    const QRect secondScreen(1280, 24, 1024, 744);  // a second screen right of the first, its top bar 24
    struct Case {
        const char* name;
        QPoint frame;
        QRect available;
        QPoint opened;
    };
    const Case cases[] = {
        {"in the middle", {400, 300}, screen, {329, 300}},
        {"at the left edge", {0, 300}, screen, {0, 300}},
        {"close to the left edge", {30, 300}, screen, {0, 300}},
        {"at the right edge", {1280 - 482, 300}, screen, {1280 - 622, 300}},
        {"beside a panel", {60, 300}, panelAtLeft, {60, 300}},
        {"at the right edge of a second screen", {2304 - 482, 100}, secondScreen, {2304 - 622, 100}},
        {"at the left edge of a second screen", {1280, 100}, secondScreen, {1280, 100}},
        {"above the top bar", {1400, 0}, secondScreen, {1329, 24}},
    };
    for (const Case& c : cases) {
        const QRect narrow(c.frame, QSize(482, 340));
        const QRect wide = QRect(narrow.topLeft(), QSize(622, 340)).translated(-71, 0);
        const QPoint opened = KeepInside(wide, c.available);
        EXPECT_EQ(opened, c.opened) << c.name;
        EXPECT_TRUE(c.available.contains(QRect(opened, wide.size()))) << c.name;
    }
}

TEST_F(DatePanel, AtTheScreensEdgesTheOpenPanelStaysOnTheScreen) {
    const QRect available = calc().screen()->availableGeometry();
    const QPoint places[] = {available.topLeft() + QPoint(0, 100),
                             QPoint(available.right() + 1 - calc().frameGeometry().width(), available.top() + 100)};
    for (const QPoint& place : places) {
        calc().move(place);
        const QPoint start = calc().pos();
        calc().CalendarBtn->click();
        EXPECT_TRUE(available.contains(calc().frameGeometry())) << place.x();
        calc().CalendarBtn->click();
        EXPECT_EQ(calc().pos(), start) << place.x();
    }
}

TEST_F(DatePanel, CalculatesTheWorkedExamples) {
    OpenPanel();
    calc().Data->setText("MARY 12");
    Calculate("12/29/1985");
    ExpectResults("29 / 11 / 2", "14 / 5", "37 / 10 / 1", "61 / 7");
    EXPECT_EQ(calc().State().DateDigitSum, 37);
    Calculate("10/5/2000");
    EXPECT_EQ(calc().DateEdit->text(), "10/ 5/2000") << "rewritten in display form";
    ExpectResults("5", "6", "8", "32 / 5");
    Calculate("11/7/2000");
    ExpectResults("7", "9", "11 / 2", "35 / 8");
    Calculate("12/7/85");
    EXPECT_EQ(calc().DateEdit->text(), "12/ 7/1985");
    ExpectResults("7", "10 / 1", "33 / 6", "57 / 12 / 3");
    Calculate("1/1/05");
    EXPECT_EQ(calc().DateEdit->text(), " 1/ 1/1905");
}

TEST_F(DatePanel, EmptyOrSlashMeansToday) {
    OpenPanel();
    Calculate(QString());
    EXPECT_EQ(calc().DateEdit->text(), "12/ 7/2026");
    ExpectResults("7", "10 / 1", "20 / 2", "");

    calc().DateEdit->clear();
    QTest::keyClicks(calc().DateEdit, "/");
    QTest::keyClick(calc().DateEdit, Qt::Key_Return);
    EXPECT_EQ(calc().DateEdit->text(), "12/ 7/2026");
    EXPECT_EQ(calc().DtTot->text(), "20 / 2");
    EXPECT_EQ(QApplication::focusWidget(), calc().DtCalcBtn);
}

TEST_F(DatePanel, KeyFilterLetsDigitsAndSeparatorsThroughOnly) {
    OpenPanel();
    calc().DateEdit->clear();
    QTest::keyClicks(calc().DateEdit, "1a2/B3-4.5,6+7 8");
    EXPECT_EQ(calc().DateEdit->text(), "12/3-4.5,6+7 8");
    QTest::keyClick(calc().DateEdit, Qt::Key_Backspace);
    EXPECT_EQ(calc().DateEdit->text(), "12/3-4.5,6+7 ");
}

TEST_F(DatePanel, CtrlVInTheDateFieldPastesIntoTheData) {
    OpenPanel();
    const QString before = calc().DateEdit->text();
    QGuiApplication::clipboard()->setText("john");
    QTest::keyClick(calc().DateEdit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(calc().Data->text(), "JOHN");
    EXPECT_EQ(calc().DateEdit->text(), before);
}

TEST_F(DatePanel, ResultsStayWhileHiddenAndLeaveWithAnyEdit) {
    OpenPanel();
    calc().Data->setText("MARY 12");
    Calculate("12/29/1985");
    ReportValue value;
    calc().frReport1GetValue("DayTot", value);
    EXPECT_EQ(value, ReportValue(std::string("29 / 11 / 2")));

    calc().CalendarBtn->click();
    ExpectResults("29 / 11 / 2", "14 / 5", "37 / 10 / 1", "61 / 7");
    calc().frReport1GetValue("DayTot", value);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value)) << "the report drops the date while the panel is closed";

    calc().CalendarBtn->click();
    calc().frReport1GetValue("Dates", value);
    EXPECT_EQ(value, ReportValue(std::string("12/29/1985")));

    calc().DateEdit->setCursorPosition(10);
    QTest::keyClicks(calc().DateEdit, "5");
    ExpectResults("", "", "", "");
    EXPECT_EQ(calc().State().DateDigitSum, 0);
    calc().frReport1GetValue("DatesLb", value);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
}

TEST_F(DatePanel, NameAfterTheDateFillsNameDate) {
    OpenPanel();
    Calculate("12/29/1985");
    ExpectResults("29 / 11 / 2", "14 / 5", "37 / 10 / 1", "");
    calc().Data->setText("MARY 12");
    EXPECT_EQ(calc().NmDt->text(), "61 / 7");
    calc().Clearbtn->click();
    EXPECT_EQ(calc().NmDt->text(), QString());
    EXPECT_EQ(calc().DtTot->text(), "37 / 10 / 1") << "Clear leaves the date results";
}

TEST_F(DatePanel, UnreadableTextsShowTheFieldsErrorAndLeaveNoResult) {
    OpenPanel();
    const std::pair<QString, std::string> cases[] = {
        {"1x/2/1985", "Invalid month \"1X\""},       {"12/2x/1985", "Invalid day \"2X\""},
        {"12/29/19x5", "Invalid year \"19X5\""},     {"foo 29 1985", "Invalid month name \"FOO\""},
        {"2/31/2000", "Invalid date \"2/31/2000\""}, {"1/1/1599", "Invalid date \"1/1/1599\""},
    };
    for (const auto& [text, message] : cases) {
        messages.shown.clear();
        Calculate("12/29/1985");
        Calculate(text);
        ASSERT_EQ(messages.shown.size(), 1u) << text.toStdString();
        EXPECT_EQ(messages.shown[0].text, message);
        EXPECT_EQ(messages.shown[0].caption, "Quillon");
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        ExpectResults("", "", "", "");
        EXPECT_EQ(calc().State().DateDigitSum, 0);
        EXPECT_EQ(calc().DateEdit->text(), text) << "an unreadable text stays for mending";
    }
}

TEST_F(DatePanel, LeavingTheFieldReadsItOnce) {
    OpenPanel();
    calc().DateEdit->setFocus();
    calc().DateEdit->setText("12/29/85");
    QTest::keyClick(calc().DateEdit, Qt::Key_Tab);
    EXPECT_EQ(calc().DateEdit->text(), "12/29/1985");

    calc().DateEdit->setFocus();
    calc().DateEdit->setText("12/29/x");
    QTest::keyClick(calc().DateEdit, Qt::Key_Return);  // leaves the field for Calc and calculates
    QApplication::processEvents();
    ASSERT_EQ(messages.shown.size(), 1u) << "one message, not one for leaving and one for Calc";
    EXPECT_EQ(messages.shown[0].text, "Invalid year \"X\"");

    messages.shown.clear();
    calc().DateEdit->setFocus();
    QTest::keyClick(calc().DateEdit, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_EQ(messages.shown.size(), 1u);
}

TEST(DateCalendarPlace, TheWholePopupStaysOnTheScreen) {
    const QRect screen(0, 0, 1280, 1024);
    const QSize size(270, 240);
    struct Case {
        const char* name;
        QRect field;
        QPoint topLeft;
        QRect available;
    };
    const Case cases[] = {
        {"room below", QRect(100, 100, 106, 21), QPoint(100, 121), screen},
        {"near the right edge", QRect(1200, 100, 106, 21), QPoint(1280 - 270, 121), screen},
        {"near the bottom: above the field", QRect(100, 900, 106, 21), QPoint(100, 900 - 240), screen},
        {"off the left edge", QRect(-50, 100, 106, 21), QPoint(0, 121), screen},
        {"a screen smaller than the popup", QRect(0, 10, 106, 21), QPoint(0, 0), QRect(0, 0, 200, 200)},
    };
    for (const Case& c : cases) {
        const QRect place = PopupPlace(c.field, size, c.available);
        EXPECT_EQ(place.topLeft(), c.topLeft) << c.name;
        EXPECT_EQ(place.size(), size) << c.name;
        if (c.available == screen) {
            EXPECT_TRUE(screen.contains(place)) << c.name;
        }
    }
}

TEST_F(DatePanel, DropDownCalendarPicksADay) {
    OpenPanel();
    calc().DateEdit->setText("12/29/1985");
    DateCalendarPopup* popup = calc().DateEdit->Calendar();
    calc().DateEdit->OpenCalendar();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->size(), QSize(270, 240));
    // Below the field, at its left edge as far as the screen allows; the off-screen platform adds a
    // window margin of 2 pixels.
    const QRect field(calc().DateEdit->mapToGlobal(QPoint(0, 0)), calc().DateEdit->size());
    const QRect available = calc().screen()->availableGeometry();
    const QRect expected = PopupPlace(field, popup->size(), available);
    EXPECT_EQ(expected.top(), field.bottom() + 1) << "there is room below the field";
    EXPECT_LE((popup->frameGeometry().topLeft() - expected.topLeft()).manhattanLength(), 4);
    EXPECT_TRUE(available.adjusted(-4, -4, 4, 4).contains(popup->geometry())) << "the whole calendar is on the screen";
    EXPECT_EQ(popup->Calendar()->selectedDate(), QDate(1985, 12, 29));
    EXPECT_EQ(popup->Calendar()->firstDayOfWeek(), Qt::Sunday);

    popup->TodayButton()->click();
    EXPECT_EQ(popup->Calendar()->selectedDate(), QDate(2026, 12, 7));
    popup->RevertButton()->click();
    EXPECT_EQ(popup->Calendar()->selectedDate(), QDate(1985, 12, 29));

    QTest::keyClick(popup->Calendar(), Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(calc().DateEdit->text(), "12/29/1985");

    calc().DateEdit->OpenCalendar();
    popup->Calendar()->setSelectedDate(QDate(2000, 10, 5));
    QTest::keyClick(popup->Calendar(), Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(calc().DateEdit->text(), "10/ 5/2000");
}

struct LocaleCase {
    const char* locale;
    const char* typed;
    const char* shown;
};

TEST(DateSettingsOfLocales, ReadAndShowTheRegionalWay) {
    const LocaleCase cases[] = {
        {"en_US", "12/29/1985", "12/29/1985"}, {"en_US", "10/5/2000", "10/ 5/2000"},
        {"en_GB", "29/12/1985", "29/12/1985"}, {"en_GB", "5/10/2000", "05/10/2000"},
        {"en_GB", "29 dec 85", "29/12/1985"},  {"sv_SE", "1985-12-29", "1985-12-29"},
        {"sv_SE", "2000-10-5", "2000-10-05"},  {"de_DE", "29. Dez 1985", "29.12.1985"},
        {"de_DE", "5.10.00", "05.10.1900"},
    };
    for (const LocaleCase& c : cases) {
        const DateSettings settings = DateSettingsFor(QLocale(QString::fromLatin1(c.locale)));
        const DateReading reading = ReadDate(QString::fromLatin1(c.typed).toUpper().toStdU16String(), settings, kToday);
        ASSERT_TRUE(std::holds_alternative<CivilDate>(reading)) << c.locale << " " << c.typed;
        EXPECT_EQ(QString::fromStdU16String(FormatDate(std::get<CivilDate>(reading), settings)),
                  QString::fromLatin1(c.shown))
            << c.locale << " " << c.typed;
    }
}

}  // namespace
}  // namespace quillon
