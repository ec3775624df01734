#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "support/QtPrint.h"
#include "windows/report/TfrProgressForm.h"

namespace quillon {

TEST(ProgressForm, RunsItsJobOnceShownAndCloses) {
    QtReportProgress progress;
    bool cancel = false;
    bool ran = false;
    QString label;
    const bool ok = progress.Run(
        "Preparing report", "Processing page:  1",
        [&] {
            ran = true;
            TfrProgressForm* form = progress.Form();
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(form->isVisible());
            EXPECT_EQ(form->windowTitle(), "Preparing report");
            EXPECT_EQ(form->Button1->text(), "Cancel");
            EXPECT_EQ(form->size(), QSize(278, 106));
            EXPECT_EQ(form->Button1->geometry(), QRect(100, 68, 75, 25));
            EXPECT_EQ(form->Label2->text(), QString());
            progress.SetLabel("Processing page:  2");
            label = form->Label1->text();
        },
        cancel);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(cancel);
    EXPECT_EQ(label, "Processing page:  2");
}

TEST(ProgressForm, CancelSetsTheFlagAndTheJobStopsAtItsNextCheck) {
    QtReportProgress progress;
    bool cancel = false;
    int pages = 0;
    const bool ok = progress.Run(
        "Preparing report", "Processing page:  1",
        [&] {
            for (; pages < 1000 && !cancel; ++pages) {
                if (pages == 3) progress.Form()->Button1->click();
                progress.ProcessEvents();
            }
        },
        cancel);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(pages, 4);
}

}  // namespace quillon
