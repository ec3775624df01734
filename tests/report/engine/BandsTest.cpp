// Placing objects on bands, and cutting bands that are taller than a page.

#include "report/engine/Bands.h"

#include <gtest/gtest.h>

#include "report/engine/SplitBand.h"
#include "support/PreparedReport.h"

namespace quillon {
namespace {

using test::AddBand;
using test::AddMemo;

std::vector<std::string> NamesOn(const TfrBand* band) {
    std::vector<std::string> names;
    if (band) {
        for (const TfrView* object : band->Objects) names.push_back(object->Name);
    }
    return names;
}

TEST(PlaceObjects, FirstBandMetTakesTheObjectAndTheRestIsLoose) {
    TfrPage page;
    AddBand(page, BandType::PageFooter, 800, 50, 0, "Footer");
    AddBand(page, BandType::ReportTitle, 0, 100, 0, "Title");
    AddBand(page, BandType::ReportTitle, 400, 100, 0, "Second title");
    AddBand(page, BandType::PageHeader, 50, 100, 0, "Header");
    AddMemo(page, "InTitleAndHeader", 10, 60, {});  // the title's type number is lower
    AddMemo(page, "OnTitleTop", 10, 0, {});
    AddMemo(page, "OnFooterBottom", 10, 850, {});
    AddMemo(page, "Loose", 10, 300, {});
    AddMemo(page, "InSecondTitle", 10, 450, {});
    const PageBands bands = PlaceObjects(page);

    EXPECT_EQ(NamesOn(bands.First(BandType::ReportTitle)),
              (std::vector<std::string>{"InTitleAndHeader", "OnTitleTop"}));
    EXPECT_TRUE(NamesOn(bands.First(BandType::PageHeader)).empty());
    EXPECT_EQ(NamesOn(bands.First(BandType::PageFooter)), std::vector<std::string>{"OnFooterBottom"});
    EXPECT_EQ(NamesOn(bands.First(BandType::None)), std::vector<std::string>{"Loose"});
    ASSERT_EQ(bands.Chain(BandType::ReportTitle).size(), 2u);
    EXPECT_EQ(NamesOn(bands.Chain(BandType::ReportTitle)[1].get()), std::vector<std::string>{"InSecondTitle"});
    // Objects on a band count from its top; loose objects keep their page position.
    EXPECT_EQ(page.Objects[4]->Top, 60);
    EXPECT_EQ(page.Objects[6]->Top, 50) << "the footer starts at 800";
    EXPECT_EQ(page.Objects[7]->Top, 300);
    EXPECT_EQ(page.Objects[8]->Top, 50) << "the second title starts at 400";
}

TEST(PlaceObjects, BandsOfOneTypeAreOrderedByTopAndChildrenFoundByName) {
    TfrPage page;
    AddBand(page, BandType::Child, 900, 10, 0, "Lower");
    AddBand(page, BandType::Child, 700, 10, 0, "Upper");
    AddBand(page, BandType::ReportTitle, 0, 10, 0, "Title")->ChildBand = "Lower";
    const PageBands bands = PlaceObjects(page);
    ASSERT_EQ(bands.Chain(BandType::Child).size(), 2u);
    EXPECT_EQ(bands.First(BandType::Child)->Name, "Upper");
    EXPECT_EQ(bands.First(BandType::ReportTitle)->Child->Name, "Lower");
    EXPECT_FALSE(bands.First(BandType::None)->Exists()) << "a None band without objects is not drawn";
}

TEST(BandSplitter, PartsEndBetweenLinesAndObjectsGoWhole) {
    // A memo of 10 lines of 20 at 0, a line object at 150 and a memo of 3 lines of 20 at 40, in a
    // band of 230; pages of 100, then 70, then 100.
    BandSplitter splitter({{0, 20, 10}, {150, 1, 0}, {40, 20, 3}}, 230);
    const SplitPart first = splitter.Next(100, true);
    EXPECT_EQ(first.to, 100);
    ASSERT_EQ(first.outputs.size(), 2u);
    EXPECT_EQ(first.outputs[0].lineCount, 5u) << "lines 0 to 4 end at 100";
    EXPECT_EQ(first.outputs[1].piece, 2u);
    EXPECT_EQ(first.outputs[1].lineCount, 3u);

    const SplitPart second = splitter.Next(70, false);
    EXPECT_EQ(second.from, 100);
    EXPECT_EQ(second.to, 160) << "line 8 would be cut at 170: the part ends where it starts";
    ASSERT_EQ(second.outputs.size(), 2u);
    EXPECT_EQ(second.outputs[0].firstLine, 5u);
    EXPECT_EQ(second.outputs[0].lineCount, 3u);
    EXPECT_EQ(second.outputs[0].partTop, 100) << "the part starts where its first line starts";
    EXPECT_EQ(second.outputs[1].piece, 1u) << "the object at 150 goes whole where its top lies";

    const SplitPart third = splitter.Next(100, true);
    EXPECT_EQ(third.to, 230) << "the last part ends with the band, not with the page";
    ASSERT_EQ(third.outputs.size(), 1u);
    EXPECT_EQ(third.outputs[0].lineCount, 2u);
    EXPECT_TRUE(splitter.Done());
}

TEST(BandSplitter, ALineTallerThanAPageGoesAloneAndEveryPartMovesOn) {
    BandSplitter splitter({{0, 500, 2}}, 1000);
    int parts = 0;
    std::size_t lines = 0;
    while (!splitter.Done() && parts < 10) {
        const SplitPart part = splitter.Next(300, true);
        EXPECT_GT(part.to, part.from);
        for (const SplitOutput& output : part.outputs) lines += output.lineCount;
        ++parts;
    }
    EXPECT_TRUE(splitter.Done());
    EXPECT_EQ(lines, 2u) << "both lines are drawn, clipped";
}

}  // namespace
}  // namespace quillon
