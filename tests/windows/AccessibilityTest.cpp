// The windows as a screen reader and a keyboard user meet them: every window's accessibility tree
// names each control a person can work and describes it by its hint; the drawn controls (the
// chart, the collate picture) answer as controls; Tab reaches every control, and Enter and Escape
// do what each window's default and cancel buttons say. The keypad's and the links' own
// interfaces are tested beside their windows (OvcCalculatorAccessibleTest, OvcURLTest).

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

#include "platform/QtMessages.h"
#include "support/AccessibilityFixture.h"
#include "support/FakePrinterDriver.h"
#include "windows/analysis/ChartPanel.h"
#include "windows/analysis/DateCalendar.h"
#include "windows/analysis/DateEdit.h"
#include "windows/analysis/Windows.h"
#include "windows/calculator/OvcCalculator.h"
#include "windows/help/HelpViewer.h"
#include "windows/report/TfrPrintForm.h"
#include "windows/report/TfrProgressForm.h"

namespace quillon {
namespace {

using test::Accessibility;
using test::Contains;
using test::ShowAndActivate;
using test::TabRound;

// The roles of what a person works: buttons, fields, lists, boxes, links.
bool IsInteractive(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Button:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::SpinBox:
        case QAccessible::List:
        case QAccessible::ListItem:
        case QAccessible::Tree:
        case QAccessible::TreeItem:
        case QAccessible::PageTab:
        case QAccessible::Link:
        case QAccessible::Slider: return true;
        default: return false;
    }
}

QString NodeLabel(QAccessibleInterface* node) {
    const QObject* object = node->object();
    if (object && !object->objectName().isEmpty()) return object->objectName();
    const QString name = node->text(QAccessible::Name);
    if (!name.isEmpty()) return QLatin1Char('"') + name + QLatin1Char('"');
    return object ? QString::fromLatin1(object->metaObject()->className()) : "(drawn part)";
}

struct TreeReport {
    QStringList unnamed;      // interactive and visible, but with no name
    QStringList undescribed;  // a widget whose hint is not its description
    int interactive = 0;
    std::vector<QAccessibleInterface*> nodes;
};

void Walk(QAccessibleInterface* node, const QString& path, TreeReport& report, int depth = 0) {
    ASSERT_LT(depth, 30) << path.toStdString();
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || !child->isValid() || child->state().invisible) continue;
        EXPECT_EQ(child->parent(), node) << "the parent of " << path.toStdString();
        const QString here = path + QLatin1Char('/') + NodeLabel(child);
        report.nodes.push_back(child);
        if (IsInteractive(child->role())) {
            ++report.interactive;
            if (child->text(QAccessible::Name).trimmed().isEmpty()) report.unnamed << here;
        }
        const auto* widget = qobject_cast<const QWidget*>(child->object());
        if (widget && !widget->toolTip().isEmpty() && child->text(QAccessible::Description) != widget->toolTip()) {
            report.undescribed << here;
        }
        Walk(child, here, report, depth + 1);
    }
}

// Walks the tree of a shown window and fails naming every control that has no name.
TreeReport ExpectEveryControlNamed(QWidget* window, int leastInteractive) {
    TreeReport report;
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (!root) {
        ADD_FAILURE() << "no accessible interface for " << window->objectName().toStdString();
        return report;
    }
    EXPECT_FALSE(root->text(QAccessible::Name).isEmpty()) << "the window is named by its caption";
    Walk(root, window->objectName(), report);
    EXPECT_GE(report.interactive, leastInteractive) << window->objectName().toStdString();
    EXPECT_TRUE(report.unnamed.isEmpty())
        << window->objectName().toStdString() << " has unnamed controls: " << report.unnamed.join(", ").toStdString();
    EXPECT_TRUE(report.undescribed.isEmpty())
        << window->objectName().toStdString()
        << ": hints not given as descriptions: " << report.undescribed.join(", ").toStdString();
    return report;
}

// The node of the report with that name (and that role, when one is given).
QAccessibleInterface* Named(const TreeReport& report, const QString& name,
                            std::optional<QAccessible::Role> role = std::nullopt) {
    for (QAccessibleInterface* node : report.nodes) {
        if (node->text(QAccessible::Name) == name && (!role || node->role() == *role)) return node;
    }
    return nullptr;
}

TEST_F(Accessibility, EveryControlOfTheProgramsWindowsHasAName) {
    OpenAnalysis();
    const TreeReport analysis = ExpectEveryControlNamed(&windows.CalcFrm, 26);
    // Value fields and the chart are named for what they show, their texts being their values.
    struct Shown {
        const char* name;
        QAccessible::Role role;
        const char* value;
    };
    const Shown values[] = {{"Vowels", QAccessible::EditableText, " 1  "},
                            {"Consonant total", QAccessible::EditableText, "20 / 2"},
                            {"Grand total", QAccessible::EditableText, "21 / 3"},
                            {"Consonants worth 9", QAccessible::StaticText, "1"},
                            {"Letters in all", QAccessible::StaticText, "4"}};
    for (const Shown& shown : values) {
        QAccessibleInterface* node = Named(analysis, QString::fromLatin1(shown.name), shown.role);
        ASSERT_NE(node, nullptr) << shown.name;
        EXPECT_EQ(node->text(QAccessible::Value), QString::fromLatin1(shown.value)) << shown.name;
    }
    QAccessibleInterface* chart = Named(analysis, "Digit chart");
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->text(QAccessible::Description), "Analysis Only.");
    QAccessibleInterface* clear = Named(analysis, "Clear");
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->text(QAccessible::Description), "Clear Data");

    windows.CalcFrm.State().PendingYPosition = 4;
    windows.YFrm.show();
    QApplication::processEvents();
    ExpectEveryControlNamed(&windows.YFrm, 2);
    windows.YFrm.hide();

    ShowAndActivate(&windows.InternetFrm);
    ExpectEveryControlNamed(&windows.InternetFrm, 11);
    windows.InternetFrm.hide();

    windows.CalculatorFrm.ShowBesideOwner();
    ExpectEveryControlNamed(&windows.CalculatorFrm, 4 + 28);
    windows.CalculatorFrm.hide();

    windows.CalcFrm.DateEdit->OpenCalendar();
    ASSERT_TRUE(windows.CalcFrm.DateEdit->Calendar()->isVisible());
    ExpectEveryControlNamed(windows.CalcFrm.DateEdit->Calendar(), 4);
    windows.CalcFrm.DateEdit->Calendar()->hide();
}

TEST_F(Accessibility, EveryControlOfTheDialogsAndTheHelpViewerHasAName) {
    test::FakePrinterDriver driver{{{"Office"}, {"Laser"}}, "Office"};
    TfrPrinter printer(driver);
    TfrPrintForm print(printer, PrintRequest{});
    ShowAndActivate(&print);
    const TreeReport printTree = ExpectEveryControlNamed(&print, 13);
    for (const char* name : {"Name:", "Pages", "Number of copies:", "More copies", "Collate", "Print"}) {
        EXPECT_NE(Named(printTree, QString::fromLatin1(name)), nullptr) << name;
    }
    // The collate picture is a picture named for what it shows, as the box changes it.
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(print.Picture);
    EXPECT_EQ(picture->role(), QAccessible::Graphic);
    EXPECT_EQ(picture->text(QAccessible::Name), "Collated copies");
    print.CollateBox->click();
    EXPECT_EQ(picture->text(QAccessible::Name), "Uncollated copies");
    print.hide();

    QtReportProgress progress;
    bool cancel = false;
    progress.Run(
        "Preparing report", "Printing page:", [&] { ExpectEveryControlNamed(progress.Form(), 1); }, cancel);

    ChmLibrary library;
    ASSERT_TRUE(library.Loaded());
    auto file = ChmFile::Open(library, QUILLON_HELP_FILE);
    ASSERT_NE(file, nullptr);
    HelpViewerWindow viewer(std::move(file));
    viewer.ShowPage({});
    ShowAndActivate(&viewer);
    ExpectEveryControlNamed(&viewer, 8);

    // The program's message box, walked while it waits for its answer.
    QtMessages boxes;
    bool walked = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        ExpectEveryControlNamed(box, 1);
        walked = true;
        QTest::keyClick(box, Qt::Key_Escape);
    });
    boxes.Show("Error", "Invalid day \"32\"", MessageIcon::Error);
    EXPECT_TRUE(walked);
}
TEST_F(Accessibility, TabReachesEveryControlOrItHasAKeyOfItsOwn) {
    OpenAnalysis();
    TCalcFrm& w = windows.CalcFrm;
    w.Data->setFocus();
    const std::vector<QWidget*> round = TabRound(&w);
    for (QWidget* control : {static_cast<QWidget*>(w.Data), static_cast<QWidget*>(w.DateEdit)}) {
        EXPECT_TRUE(Contains(round, control)) << control->objectName().toStdString();
    }
    for (QPushButton* button : w.findChildren<QPushButton*>()) {
        // The panel's close button does what the date calculator button does.
        if (button->window() != &w || button->isHidden() || button == w.frSpeedButton1) continue;
        EXPECT_TRUE(Contains(round, button)) << button->objectName().toStdString();
    }
    // The drop-down calendar opens with F4 or Alt+Down; Escape closes it, Enter takes the day.
    w.DateEdit->setFocus();
    QTest::keyClick(w.DateEdit, Qt::Key_F4);
    DateCalendarPopup* calendar = w.DateEdit->Calendar();
    EXPECT_TRUE(calendar->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(calendar->isVisible());
    w.DateEdit->setFocus();
    QTest::keyClick(w.DateEdit, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(calendar->isVisible());
    const QDate chosen = calendar->Calendar()->selectedDate().addDays(1);
    calendar->Calendar()->setSelectedDate(chosen);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(calendar->isVisible());
    const DateReading reading = w.DateEdit->ReadText();
    ASSERT_TRUE(std::holds_alternative<CivilDate>(reading)) << w.DateEdit->text().toStdString();
    const CivilDate& taken = std::get<CivilDate>(reading);
    EXPECT_EQ(QDate(taken.year, taken.month, taken.day), chosen);
}

TEST_F(Accessibility, TabGoesRoundTheCalculatorWindow) {
    // Close, the keypad, Reduce, Sum and Help, in the window's order.
    windows.CalculatorFrm.ShowBesideOwner();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&windows.CalculatorFrm));
    windows.CalculatorFrm.CloseBtn->setFocus();
    const std::vector<QWidget*> round = TabRound(&windows.CalculatorFrm);
    const std::vector<QWidget*> expected = {windows.CalculatorFrm.CloseBtn, windows.CalculatorFrm.OvcCalculator1,
                                            windows.CalculatorFrm.ReduceBtn, windows.CalculatorFrm.SumBtn,
                                            windows.CalculatorFrm.HelpBtn};
    EXPECT_EQ(round, expected);
}

TEST_F(Accessibility, DefaultAndCancelButtonsAnswerEnterAndEscape) {
    // The print dialog: Enter in a field is OK, Escape is Cancel.
    test::FakePrinterDriver driver{{{"Office"}}, "Office"};
    TfrPrinter printer(driver);
    for (const auto& [key, result] :
         {std::pair{Qt::Key_Return, QDialog::Accepted}, std::pair{Qt::Key_Escape, QDialog::Rejected}}) {
        TfrPrintForm print(printer, PrintRequest{});
        ShowAndActivate(&print);
        QTest::keyClick(print.CopiesEdit, key);
        EXPECT_FALSE(print.isVisible()) << key;
        EXPECT_EQ(print.result(), result) << key;
    }
    // Up and Down in the copies field do what the arrows beside it do.
    {
        TfrPrintForm print(printer, PrintRequest{});
        QTest::keyClick(print.CopiesEdit, Qt::Key_Up);
        QTest::keyClick(print.CopiesEdit, Qt::Key_Up);
        EXPECT_EQ(print.CopiesEdit->text(), "3");
        for (int i = 0; i < 4; ++i) QTest::keyClick(print.CopiesEdit, Qt::Key_Down);
        EXPECT_EQ(print.CopiesEdit->text(), "1");
    }

    // The Y question: Enter answers nothing; Escape answers Consonant.
    OpenAnalysis();
    windows.CalcFrm.State().PendingYPosition = 4;
    windows.CalcFrm.State().YFromTyping = true;
    ShowAndActivate(&windows.YFrm);
    QTest::keyClick(windows.YFrm.YesBtn, Qt::Key_Return);
    EXPECT_TRUE(windows.YFrm.isVisible()) << "Enter does not answer the question";
    QTest::keyClick(windows.YFrm.YesBtn, Qt::Key_Escape);
    EXPECT_FALSE(windows.YFrm.isVisible());
    EXPECT_EQ(windows.CalcFrm.Data->text(), "MARY") << "the Y stays a consonant";

    // Enter presses the button that has the focus, as Space does: Close of the links window and
    // the analysis window's Calculator button; the Y dialog above is the exception.
    ShowAndActivate(&windows.InternetFrm);
    QTest::keyClick(windows.InternetFrm.Button1, Qt::Key_Return);
    EXPECT_FALSE(windows.InternetFrm.isVisible());
    QTest::keyClick(windows.CalcFrm.CalculatorBtn, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(windows.CalculatorFrm.isVisible());
    windows.CalculatorFrm.hide();

    // The links and the calculator window close with Escape.
    ShowAndActivate(&windows.InternetFrm);
    QTest::keyClick(windows.InternetFrm.OvcURL[0], Qt::Key_Escape);
    EXPECT_FALSE(windows.InternetFrm.isVisible());
    windows.CalculatorFrm.ShowBesideOwner();
    QTest::keyClick(windows.CalculatorFrm.OvcCalculator1, Qt::Key_Escape);
    EXPECT_FALSE(windows.CalculatorFrm.isVisible());

    // The progress window: Escape cancels the run as its Cancel button does.
    QtReportProgress progress;
    bool cancel = false;
    int pages = 0;
    const bool finished = progress.Run(
        "Preparing report", "Printing page:",
        [&] {
            for (; pages < 100 && !cancel; ++pages) {
                if (pages == 2) QTest::keyClick(progress.Form()->Button1, Qt::Key_Escape);
                progress.ProcessEvents();
            }
        },
        cancel);
    EXPECT_FALSE(finished);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(pages, 3);

    // A message box closes with Enter as with Escape.
    QtMessages boxes;
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        bool closed = false;
        QTimer::singleShot(0, [&closed, key] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, key);
            closed = !box->isVisible();
            // Never left waiting, whatever the key did.
            if (!closed) box->close();
        });
        boxes.Show("Quillon", "Number must be twenty (20) integers or less.", MessageIcon::Error);
        EXPECT_TRUE(closed) << key;
    }
}

}  // namespace
}  // namespace quillon
