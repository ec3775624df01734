#include "report/engine/Printer.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(VirtualPrinter, LetterPageMetrics) {
    TfrPrinter printer;
    ASSERT_TRUE(printer.SetPaper(1, 0, 0, 0, -1, true));
    const PageMetrics metrics = printer.FillPageMetrics();
    EXPECT_EQ(metrics.PageWidth, 779);
    EXPECT_EQ(metrics.PageHeight, 1008);
    EXPECT_EQ(metrics.OffsetX, 18);
    EXPECT_EQ(metrics.OffsetY, 18);
    EXPECT_EQ(metrics.PrintableWidth, 743);
    EXPECT_EQ(metrics.PrintableHeight, 972);
    EXPECT_EQ(metrics.PhysicalWidth, 0) << "the virtual printer has no device";
    EXPECT_EQ(metrics.PrintableDeviceHeight, 0);
}

TEST(VirtualPrinter, PaperTable) {
    const auto& table = VirtualPaperTable();
    EXPECT_EQ(table.size(), 67u);
    auto find = [&](int code) -> const PaperSize* {
        for (const PaperSize& size : table) {
            if (size.Code == code) return &size;
        }
        return nullptr;
    };
    const std::array<std::array<int, 3>, 6> samples = {{{1, 2159, 2794}, {5, 2159, 3556}, {9, 2100, 2970},
                                                        {11, 1480, 2100}, {8, 2970, 4200}, {256, 0, 0}}};
    for (const auto& [code, width, height] : samples) {
        const PaperSize* size = find(code);
        ASSERT_NE(size, nullptr) << code;
        EXPECT_EQ(size->Width, width) << code;
        EXPECT_EQ(size->Height, height) << code;
    }
    EXPECT_EQ(find(48), nullptr);
    EXPECT_EQ(find(49), nullptr);
    EXPECT_EQ(table.back().Code, 256);
    for (int code = 1; code <= 68; ++code) {
        if (code != 48 && code != 49) {
            EXPECT_NE(find(code), nullptr) << code;
        }
    }
}

TEST(VirtualPrinter, SetPaper) {
    TfrPrinter printer;
    EXPECT_EQ(printer.Printers().back(), "Virtual printer");
    EXPECT_TRUE(printer.IsVirtual());

    ASSERT_TRUE(printer.SetPaper(9, 1, 1, 1, -1, false));
    EXPECT_EQ(printer.CurrentPaper().Width, 2970) << "landscape exchanges the table's sizes";
    EXPECT_EQ(printer.CurrentPaper().Height, 2100);
    EXPECT_EQ(printer.FillPageMetrics().PageWidth, TenthsMmToReportUnits(2970));

    ASSERT_TRUE(printer.SetPaper(256, 1000, 2000, 0, -1, false));
    EXPECT_EQ(printer.CurrentPaper().Width, 1000);
    EXPECT_EQ(printer.FillPageMetrics().PageHeight, 721);

    EXPECT_FALSE(printer.SetPaper(300, 1000, 2000, 0, -1, false)) << "an unknown code is refused";
    EXPECT_FALSE(printer.SetPaper(48, 1000, 2000, 0, -1, false));

    // A page with a code the printer does not know gets a custom size of its own dimensions.
    TfrPage page;
    page.Size = 300;
    page.PaperWidth = 1500;
    page.PaperHeight = 2500;
    page.Bin = 65535;
    printer.ApplyPaperTo(page);
    EXPECT_EQ(page.Size, 256);
    EXPECT_EQ(page.PaperWidth, 1500);
    EXPECT_EQ(page.Bin, -1);
    EXPECT_EQ(page.Metrics.PageWidth, TenthsMmToReportUnits(1500));
}

}  // namespace
}  // namespace quillon
