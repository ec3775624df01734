// The print dialog off-screen: its controls, the copies field, the collate picture and label, the
// printer chosen and given back on cancel, and what OK hands to the printing.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "support/FakePrinterDriver.h"
#include "support/PreparedReport.h"
#include "support/RecordingMessages.h"
#include "windows/analysis/Windows.h"
#include "windows/report/TfrPrintForm.h"

namespace quillon {
namespace {

using test::FakePrinterDriver;

struct Dialog {
    Dialog() : printer(driver), form(printer, PrintRequest{}) {}
    FakePrinterDriver driver{{{"Office"}, {"Laser"}}, "Office"};
    TfrPrinter printer;
    TfrPrintForm form;
};

TEST(PrintDialog, ControlsStandAtTheirPlacesWithTheirCaptionsAndFont) {
    Dialog d;
    TfrPrintForm& f = d.form;
    EXPECT_EQ(f.windowTitle(), "Print");
    EXPECT_EQ(f.size(), QSize(485, 225));
    const auto labelOf = [&f](QWidget* buddy) -> QWidget* {
        for (QLabel* label : f.findChildren<QLabel*>()) {
            if (label->buddy() == buddy) return label;
        }
        return nullptr;
    };
    struct Place {
        QWidget* widget;
        // In the group or on the dialog. A control given no size takes its text's, which depends on the font
        // that stands in for MS Sans Serif: only its place is pinned, and that it fits in its group.
        QRect geometry;
        QString caption;
    };
    const Place places[] = {
        {f.PrinterGroup, {4, 8, 477, 49}, "Printer"},
        {labelOf(f.PrinterList), {8, 20, 0, 0}, "&Name:"},
        {f.PrinterList, {72, 17, 305, 21}, "Office"},
        {f.PropertiesButton, {392, 17, 75, 22}, "Properties"},
        {f.RangeGroup, {4, 68, 265, 117}, "Page range"},
        {f.AllButton, {8, 20, 0, 0}, "&All"},
        {f.CurrentPageButton, {8, 40, 0, 0}, "Current pa&ge"},
        {f.PagesButton, {8, 60, 0, 0}, "&Pages:"},
        {f.PagesEdit, {88, 58, 165, 21}, {}},
        {f.RangeHint,
         {8, 82, 249, 29},
         "Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12"},
        {f.CopiesGroup, {280, 68, 201, 117}, "Copies"},
        {labelOf(f.CopiesEdit), {8, 24, 0, 0}, "Number of &copies:"},
        {f.CopiesEdit, {128, 20, 49, 21}, "1"},
        {f.UpButton, {158, 22, 17, 8}, {}},
        {f.DownButton, {158, 31, 17, 8}, {}},
        {f.Picture, {8, 52, 92, 53}, {}},
        {f.CollateBox, {112, 62, 0, 0}, {}},
        {f.CollateLabel, {132, 64, 61, 41}, "Co&llate"},
        {f.PrintLabel, {4, 200, 0, 0}, "P&rint"},
        {f.ParityList, {f.PrintLabel->geometry().right() + 1 + 11, 196, 155, 21}, "All pages"},
        {f.OkButton, {326, 194, 75, 25}, "OK"},
        {f.CancelButton, {406, 194, 75, 25}, "Cancel"},
    };
    QSet<QWidget*> placed;
    for (const Place& p : places) {
        ASSERT_NE(p.widget, nullptr) << p.caption.toStdString();
        placed.insert(p.widget);
        const std::string name = p.widget->metaObject()->className() + (" " + p.caption.toStdString());
        if (p.geometry.isEmpty()) {
            EXPECT_EQ(p.widget->pos(), p.geometry.topLeft()) << name;
            EXPECT_TRUE(p.widget->parentWidget()->rect().contains(p.widget->geometry())) << name;
        } else {
            EXPECT_EQ(p.widget->geometry(), p.geometry) << name;
        }
        EXPECT_EQ(p.widget->font().family(), "MS Sans Serif") << name;
        EXPECT_EQ(p.widget->font().pixelSize(), 11) << name;
        QString caption;
        if (auto* group = qobject_cast<QGroupBox*>(p.widget)) caption = group->title();
        if (auto* button = qobject_cast<QAbstractButton*>(p.widget)) caption = button->text();
        if (auto* label = qobject_cast<QLabel*>(p.widget)) caption = label->text();
        if (auto* edit = qobject_cast<QLineEdit*>(p.widget)) caption = edit->text();
        if (auto* list = qobject_cast<QComboBox*>(p.widget)) caption = list->currentText();
        EXPECT_EQ(caption, p.caption) << name;
    }
    for (QWidget* widget : f.findChildren<QWidget*>()) {
        if (widget->parentWidget() == &f || qobject_cast<QGroupBox*>(widget->parentWidget())) {
            EXPECT_TRUE(placed.contains(widget)) << "a control left out: " << widget->metaObject()->className();
        }
    }
    EXPECT_TRUE(f.AllButton->isChecked());
    EXPECT_FALSE(f.CurrentPageButton->isEnabled());
    ASSERT_EQ(f.ParityList->count(), 3);
    EXPECT_EQ(f.ParityList->itemText(2), "Even pages");
    EXPECT_TRUE(f.OkButton->isDefault());
    EXPECT_TRUE(f.CollateBox->isChecked());
    // The installed printers, not the virtual one, then the PDF file; the current one chosen.
    ASSERT_EQ(f.PrinterList->count(), 3);
    EXPECT_EQ(f.PrinterList->itemText(0), "Office");
    EXPECT_EQ(f.PrinterList->itemText(2), "PDF file");
    EXPECT_EQ(f.PrinterList->currentIndex(), 0);
    EXPECT_FALSE(f.PrinterList->itemIcon(0).isNull()) << "each printer with its picture";
}

TEST(PrintDialog, TheCopiesTakeDigitsAndStepUpAndDown) {
    Dialog d;
    TfrPrintForm& f = d.form;
    f.CopiesEdit->clear();
    QTest::keyClicks(f.CopiesEdit, "a3-b.4");
    EXPECT_EQ(f.CopiesEdit->text(), "34") << "only digits are typed";
    QTest::keyClick(f.CopiesEdit, Qt::Key_Backspace);
    EXPECT_EQ(f.CopiesEdit->text(), "34") << "Backspace is no digit either";
    QTest::keyClick(f.CopiesEdit, Qt::Key_Delete);
    EXPECT_EQ(f.CopiesEdit->text(), "34") << "the caret stands at the end";
    f.CopiesEdit->setCursorPosition(0);
    QTest::keyClick(f.CopiesEdit, Qt::Key_Delete);
    EXPECT_EQ(f.CopiesEdit->text(), "4") << "Delete works";
    bool accepted = false;
    QObject::connect(&f, &QDialog::accepted, [&accepted] { accepted = true; });
    f.show();
    QTest::keyClick(f.CopiesEdit, Qt::Key_Return);
    EXPECT_TRUE(accepted) << "Enter in the copies field is OK";
    f.CopiesEdit->setText("2");
    f.DownButton->click();
    EXPECT_EQ(f.CopiesEdit->text(), "1");
    f.DownButton->click();
    EXPECT_EQ(f.CopiesEdit->text(), "1") << "not below 1";
    f.UpButton->click();
    f.UpButton->click();
    EXPECT_EQ(f.CopiesEdit->text(), "3");
    EXPECT_EQ(f.Request().copies, "3");
    // No more than 9999 copies: a fifth digit is refused, and Up stops there.
    f.CopiesEdit->clear();
    QTest::keyClicks(f.CopiesEdit, "99999");
    EXPECT_EQ(f.CopiesEdit->text(), "9999");
    f.UpButton->click();
    EXPECT_EQ(f.CopiesEdit->text(), "9999");
}

TEST(PrintDialog, TheCollateLabelTogglesTheBoxAndThePicture) {
    Dialog d;
    TfrPrintForm& f = d.form;
    f.show();
    const QImage collated = f.Picture->grab().toImage();
    QTest::mouseClick(f.CollateLabel, Qt::LeftButton);
    EXPECT_FALSE(f.CollateBox->isChecked());
    EXPECT_FALSE(f.Request().collate);
    EXPECT_FALSE(f.Picture->Collated());
    EXPECT_NE(f.Picture->grab().toImage(), collated) << "the picture follows the box";
    // A double click as the window system delivers it: a press and a release, then the double
    // click in place of the second press, and its release.
    const QPointF inside(5, 5);
    QTest::mousePress(f.CollateLabel, Qt::LeftButton, {}, inside.toPoint());
    QTest::mouseRelease(f.CollateLabel, Qt::LeftButton, {}, inside.toPoint());
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, inside, f.CollateLabel->mapToGlobal(inside), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.CollateLabel, &doubleClick);
    QTest::mouseRelease(f.CollateLabel, Qt::LeftButton, {}, inside.toPoint());
    EXPECT_TRUE(f.CollateBox->isChecked()) << "a double click toggles once";
    EXPECT_EQ(CollatePicture::CollatedImage().size(), QSize(74, 53));
    EXPECT_EQ(CollatePicture::UncollatedImage().size(), QSize(92, 40));
}

TEST(PrintDialog, ThePagesFieldChoosesPagesAndOddOrEven) {
    Dialog d;
    TfrPrintForm& f = d.form;
    f.show();
    EXPECT_EQ(f.Request().pages, "") << "All: every page";
    f.PagesEdit->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(f.PagesButton->isChecked()) << "entering the pages field chooses Pages:";
    QTest::keyClicks(f.PagesEdit, "1,3");
    f.ParityList->setCurrentIndex(2);
    EXPECT_EQ(f.Request().pages, "1,3");
    EXPECT_EQ(f.Request().parity, PrintParity::Even);
    f.CopiesEdit->setFocus();
    f.PagesButton->click();
    EXPECT_EQ(QApplication::focusWidget(), f.PagesEdit) << "choosing Pages: goes to the field";
    // Alt+P goes there at once, so that the digits typed right after it are pages, not copies
    // (they replace the field's text, which the keyboard selects).
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    f.CopiesEdit->setFocus();
    QTest::keyClick(f.CopiesEdit, Qt::Key_P, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), "5");
    EXPECT_EQ(f.Request().pages, "5");
    EXPECT_EQ(f.Request().copies, "1");
}

TEST(PrintDialog, CancelGivesBackTheEarlierPrinter) {
    Dialog d;
    d.form.PrinterList->setCurrentIndex(1);
    EXPECT_EQ(d.printer.CurrentName(), "Laser") << "chosen at once";
    d.form.PrinterList->setCurrentIndex(2);
    EXPECT_EQ(d.printer.CurrentName(), "Laser") << "the PDF file is no printer";
    EXPECT_TRUE(d.form.PdfChosen());
    EXPECT_FALSE(d.form.PropertiesButton->isEnabled());
    d.form.reject();
    EXPECT_EQ(d.printer.CurrentName(), "Office");

    Dialog kept;
    kept.form.PrinterList->setCurrentIndex(1);
    kept.form.accept();
    EXPECT_EQ(kept.printer.CurrentName(), "Laser") << "OK keeps it";
}

TEST(PrintDialog, WithoutAPrinterOnlyThePdfFile) {
    FakePrinterDriver none;
    TfrPrinter printer(none);
    TfrPrintForm form(printer, PrintRequest{});
    ASSERT_EQ(form.PrinterList->count(), 1);
    EXPECT_EQ(form.PrinterList->itemText(0), "PDF file");
    EXPECT_TRUE(form.PdfChosen());
}

TEST(PrintDialog, CopiesOrPagesThatAreNoNumbersAreReportedInTheDialog) {
    // OK with such a field says what is wrong and leaves the dialog open with everything as it
    // was typed, before any file name is asked for or anything printed.
    struct Case {
        const char* copies;
        const char* pages;
        const char* message;
    };
    const Case cases[] = {
        {"", "", "'' is not a valid integer value"},
        {"2", "1,,x", "'' is not a valid integer value"},
        {"2", "1-x", "'x' is not a valid integer value"},
        {"1", "", kNothingToPrint},  // even pages of a one-page report
    };
    for (const Case& c : cases) {
        FakePrinterDriver driver({{"Office"}}, "Office");
        test::PreparedReport prepared(test::OnePage());
        prepared.printer.Bind(driver);
        ASSERT_TRUE(prepared.report.Prepare().IsDone());
        RecordingMessages messages;
        bool stayedOpen = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TfrPrintForm*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            form->CopiesEdit->setText(QString::fromLatin1(c.copies));
            form->PagesEdit->setText(QString::fromLatin1(c.pages));
            form->PagesButton->setChecked(true);
            form->ParityList->setCurrentIndex(2);
            form->OkButton->click();
            stayedOpen = form->isVisible() && form->CopiesEdit->text() == QLatin1String(c.copies) &&
                         form->PagesEdit->text() == QLatin1String(c.pages) && form->ParityList->currentIndex() == 2;
            // Mended, OK prints.
            form->CopiesEdit->setText("2");
            form->PagesEdit->setText("1");
            form->ParityList->setCurrentIndex(0);
            form->OkButton->click();
        });
        QtPrintDialog dialog(nullptr);
        ASSERT_TRUE(PrintWithDialog(prepared.report, dialog).IsDone()) << c.pages;
        EXPECT_TRUE(stayedOpen) << c.copies << " " << c.pages;
        ASSERT_EQ(messages.shown.size(), 1u) << c.pages;
        EXPECT_EQ(messages.shown[0].text, c.message);
        EXPECT_EQ(messages.shown[0].caption, "Quillon");
        ASSERT_EQ(driver.jobs.size(), 1u);
        EXPECT_EQ(driver.jobs[0]->sheets.size(), 2u) << "two copies, collated";
    }
}

// The window binds the system's printers only once it is up; its templates must then be set up
// exactly as when the printers were bound before it was created: papers, page metrics, the printer
// a saved template names.
TEST(WindowPrinters, BoundOnceTheWindowIsUpAsIfBoundBefore) {
    FakePrinterDriver driver{{{"Office", true, false, 300, 40, {9}}, {"Laser"}}, "Office"};
    auto setUp = [](TCalcFrm& window) {
        std::vector<std::uint8_t> state;
        for (TfrReport* report : {&window.frReport1, &window.frReport2}) {
            const std::vector<std::uint8_t> saved = report->SaveTemplate(0);
            state.insert(state.end(), saved.begin(), saved.end());
            for (const TfrPage& page : report->Template.Pages) {
                const auto* metrics = reinterpret_cast<const std::uint8_t*>(&page.Metrics);
                state.insert(state.end(), metrics, metrics + sizeof(PageMetrics));
            }
        }
        return state;
    };
    EnginePrinter().Bind(driver);
    std::vector<std::uint8_t> boundFirst;
    {
        Windows windows;
        boundFirst = setUp(windows.CalcFrm);
    }
    EnginePrinter().Unbind();

    Windows windows;
    windows.CalcFrm.BindPrintersLater(driver);
    EXPECT_EQ(EnginePrinter().Driver(), nullptr) << "nothing is read before the window is up";
    EXPECT_NE(setUp(windows.CalcFrm), boundFirst) << "the virtual printer's paper differs from Office's";
    QCoreApplication::processEvents();
    EXPECT_EQ(EnginePrinter().Driver(), &driver);
    EXPECT_EQ(EnginePrinter().CurrentName(), "Office");
    EXPECT_EQ(setUp(windows.CalcFrm), boundFirst);
    windows.CalcFrm.BindPendingPrinters();  // once only: a second call changes nothing
    EXPECT_EQ(setUp(windows.CalcFrm), boundFirst);
    EnginePrinter().Unbind();
}

}  // namespace
}  // namespace quillon
