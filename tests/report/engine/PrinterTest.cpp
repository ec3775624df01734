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
    // Every paper code with its width and height in tenths of a millimetre, in the table's order.
    const std::array<PaperSize, 67> expected = {{
        {1, 2159, 2794},  {2, 2159, 2794},   {3, 2794, 4318},  {4, 4318, 2794},  {5, 2159, 3556},  {6, 1397, 2159},
        {7, 1842, 2667},  {8, 2970, 4200},   {9, 2100, 2970},  {10, 2100, 2970}, {11, 1480, 2100}, {12, 2500, 3540},
        {13, 1820, 2570}, {14, 2159, 3302},  {15, 2150, 2750}, {16, 2540, 3556}, {17, 2794, 4318}, {18, 2159, 2794},
        {19, 984, 2254},  {20, 1048, 2413},  {21, 1143, 2635}, {22, 1207, 2794}, {23, 1270, 2921}, {24, 4318, 5588},
        {25, 5588, 8636}, {26, 8636, 11176}, {27, 1100, 2200}, {28, 1620, 2290}, {29, 3240, 4580}, {30, 2290, 3240},
        {31, 1140, 1620}, {32, 1140, 2290},  {33, 2500, 3530}, {34, 1760, 2500}, {35, 1760, 1250}, {36, 1100, 2300},
        {37, 984, 1905},  {38, 921, 1651},   {39, 3778, 2794}, {40, 2159, 3048}, {41, 2159, 3302}, {42, 2500, 3530},
        {43, 1000, 1480}, {44, 2286, 2794},  {45, 2540, 2794}, {46, 3810, 2794}, {47, 2200, 2200}, {50, 2356, 3048},
        {51, 2356, 3810}, {52, 2969, 4572},  {53, 2355, 3223}, {54, 2159, 2794}, {55, 2100, 2970}, {56, 2356, 3048},
        {57, 2270, 3560}, {58, 3050, 4870},  {59, 2159, 3223}, {60, 2100, 3300}, {61, 1480, 2100}, {62, 1820, 2570},
        {63, 3220, 4450}, {64, 1740, 2350},  {65, 2010, 2760}, {66, 4200, 5940}, {67, 2970, 4200}, {68, 3220, 4450},
        {256, 0, 0},
    }};
    const auto& table = VirtualPaperTable();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table[i].Code, expected[i].Code) << i;
        EXPECT_EQ(table[i].Width, expected[i].Width) << expected[i].Code;
        EXPECT_EQ(table[i].Height, expected[i].Height) << expected[i].Code;
        EXPECT_EQ(FindPaperSize(expected[i].Code), &table[i]);
    }
    EXPECT_EQ(FindPaperSize(48), nullptr) << "48 and 49 are reserved";
    EXPECT_EQ(FindPaperSize(49), nullptr);
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
