#include <gtest/gtest.h>

#include "batch/BatchRow.h"
#include "numerology/ValueNames.h"

namespace quillon::batch {
namespace {

// The keys of a JSON line's outer object, in their order.
std::vector<std::string> OuterKeys(std::string_view line) {
    std::vector<std::string> keys;
    int depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '{') ++depth;
        if (line[i] == '}') --depth;
        if (line[i] != '"') continue;
        const std::size_t end = line.find('"', i + 1);
        if (depth == 1 && line[end + 1] == ':') keys.emplace_back(line.substr(i + 1, end - i - 1));
        i = end;
    }
    return keys;
}

std::vector<std::string> Split(std::string_view line, char separator) {
    std::vector<std::string> fields;
    for (std::size_t at = 0; at <= line.size();) {
        const std::size_t end = std::min(line.find(separator, at), line.size());
        fields.emplace_back(line.substr(at, end - at));
        at = end + 1;
    }
    return fields;
}

// The columns are the batch values of the list of values, in its order: the keys of a JSON line,
// and the CSV and TSV headers up to the core numbers' own columns.
TEST(RowWriter, ColumnsAreTheBatchValuesOfTheList) {
    for (const bool withDate : {false, true}) {
        for (const bool withCore : {false, true}) {
            SCOPED_TRACE(std::string(withDate ? "with" : "without") + " a date, " + (withCore ? "with" : "without") +
                         " core");
            std::vector<std::string> expected;
            for (const ValueName& name : kValueNames) {
                if (!name.InBatch() || (name.group == ValueGroup::OfTheDate && !withDate)) continue;
                if (name.id == ValueId::Core && !withCore) continue;
                expected.emplace_back(name.key);
            }
            BatchOptions options;
            options.core = withCore;
            if (withDate) options.date = CivilDate{1985, 12, 29};
            RowAnalyser analyser(options);
            BatchRow row;
            ASSERT_EQ(analyser.Analyse("MARY 12", std::nullopt, row), std::nullopt);
            ByteBuffer json;
            RowWriter(OutputFormat::JsonLines, withDate, withCore).AppendRow(row, json);
            EXPECT_EQ(OuterKeys(json.View()), expected) << json.View();

            if (withCore) expected.pop_back();  // the core numbers are columns of their own
            for (const auto& [format, separator] :
                 {std::pair{OutputFormat::Csv, ','}, std::pair{OutputFormat::Tsv, '\t'}}) {
                ByteBuffer header;
                RowWriter(format, withDate, withCore).AppendHeader(header);
                std::vector<std::string> columns = Split(header.View().substr(0, header.View().size() - 1), separator);
                columns.resize(std::min(columns.size(), expected.size()));
                EXPECT_EQ(columns, expected) << header.View();
            }
        }
    }
}

}  // namespace
}  // namespace quillon::batch
