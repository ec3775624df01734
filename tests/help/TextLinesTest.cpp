#include "help/TextLines.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

struct FitCase {
    const char* name;
    std::vector<std::vector<CellExtent>> rows;
    std::size_t lineWidth;
    std::vector<std::size_t> widths;
};

void PrintTo(const FitCase& row, std::ostream* out) { *out << row.name; }

class ColumnFitting : public ::testing::TestWithParam<FitCase> {};
TEST_P(ColumnFitting, GivesEachColumnItsWidth) {
    EXPECT_EQ(FitColumnWidths(GetParam().rows, GetParam().lineWidth), GetParam().widths);
}

INSTANTIATE_TEST_SUITE_P(
    HelpText, ColumnFitting,
    ::testing::Values(FitCase{"NoRows", {}, 78, {}}, FitCase{"RowsWithoutCells", {{}, {}}, 78, {}},
                      FitCase{"WidestCellOfEachColumn", {{{3}, {7}}, {{5}, {2}}}, 78, {5, 7}},
                      FitCase{"ShortRowLeavesItsLastColumnsAlone", {{{3}}, {{4}, {6}, {1}}}, 78, {4, 6, 1}},
                      FitCase{"SpanningCellWidensItsLastColumn", {{{4}, {4}}, {{20, 2}}}, 78, {4, 14}},
                      FitCase{"SpanningCellTakesTheGapsBetweenItsColumns", {{{4}, {4}}, {{10, 2}}}, 78, {4, 4}},
                      FitCase{"SpanningCellCountsItsColumns", {{{5}, {9, 3}}}, 78, {5, 0, 0, 5}},
                      FitCase{"WidestColumnNarrowedFirst", {{{50}, {5}}}, 40, {33, 5}},
                      FitCase{"EqualColumnsNarrowedInTurn", {{{40}, {30}}}, 50, {24, 24}},
                      FitCase{"FitsExactlyAsItStands", {{{30}, {18}}}, 50, {30, 18}},
                      FitCase{"NoColumnNarrowedBelowTen", {{{30}, {30}, {30}}}, 20, {10, 10, 10}},
                      FitCase{"NarrowColumnsKeptWhenTheWideAreAtTen", {{{30}, {4}}}, 12, {10, 4}},
                      // Shorter than its gaps, the line holds ten columns for each column of the table.
                      FitCase{"LineShorterThanTheGaps", {{{12}, {12}, {12}, {2}}}, 5, {12, 12, 12, 2}},
                      FitCase{"LineShorterThanTheGapsStillNarrows", {{{25}, {12}, {12}, {2}}}, 0, {14, 12, 12, 2}}));

}  // namespace
}  // namespace quillon
