#include "report/content/Templates.h"

#include <memory>
#include <string>

namespace quillon {
namespace {

enum class Align { Left = 0, Right = 1, Middle = 8 };
constexpr std::uint16_t kBold = 2;
constexpr Colour kGrey = 0x808080;

struct Font {
    const char* name;
    int size;
    std::uint16_t style;
};
constexpr Font kArial8{"Arial", 8, 0};
constexpr Font kArial11{"Arial", 11, 0};
constexpr Font kArial11Bold{"Arial", 11, kBold};
constexpr Font kArial12Bold{"Arial", 12, kBold};
constexpr Font kArial18{"Arial", 18, 0};
constexpr Font kCourier12Bold{"Courier New", 12, kBold};

struct Box {
    int left, top, width, height;
};

class Builder {
public:
    explicit Builder(TfrPage& page) : page_(page) {}

    void Memo(const std::string& name, Box box, Font font, Align align, std::vector<std::string> lines) {
        auto memo = std::make_unique<TfrMemoView>();
        Place(*memo, name, box);
        memo->Font.Name = font.name;
        memo->Font.Size = font.size;
        memo->Font.Style = font.style;
        memo->Alignment = static_cast<std::int32_t>(align);
        memo->Memo = std::move(lines);
        page_.Objects.push_back(std::move(memo));
    }

    void Line(const std::string& name, Box box, Colour colour) {
        auto line = std::make_unique<TfrLineView>();
        Place(*line, name, box);
        line->FrameTyp = kFrameTop;
        line->FrameWidth = 2;
        line->FrameColor = colour;
        line->FillColor = 0xFFFFFF;
        line->Flags = 1;
        page_.Objects.push_back(std::move(line));
    }

    void PageFooter(const std::string& name, Box box) {
        auto band = std::make_unique<TfrBandView>();
        Place(*band, name, box);
        band->FrameTyp = static_cast<std::uint16_t>(BandType::PageFooter);
        page_.Objects.push_back(std::move(band));
    }

    // The digit chart: a header memo per digit and a three-line count memo per digit.
    void ChartHeader(int firstLeft, int top) {
        for (int digit = 1; digit <= 9; ++digit) {
            Memo("Memo" + std::to_string(20 + digit), {firstLeft + 28 * (digit - 1), top, 22, 20}, kArial11Bold,
                 Align::Right, {std::to_string(digit)});
        }
    }
    void ChartCounts(int firstLeft, int top, Align align) {
        for (int digit = 1; digit <= 9; ++digit) {
            const std::string d = std::to_string(digit);
            Memo("Memo" + std::to_string(31 + digit), {firstLeft + 28 * (digit - 1), top, 22, 52}, kArial11, align,
                 {"[V" + d + "]", "[C" + d + "]", "[T" + d + "]"});
        }
    }

private:
    static void Place(TfrView& view, const std::string& name, Box box) {
        view.Name = name;
        view.Left = box.left;
        view.Top = box.top;
        view.Width = box.width;
        view.Height = box.height;
    }

    TfrPage& page_;
};

ReportTemplate CommonTemplate(const char* lastDateVariable) {
    ReportTemplate report;
    report.PrinterName = kTemplatePrinterName;
    report.Pages.emplace_back();
    TfrPage& page = report.Pages.back();
    page.Size = kLetterPaper;
    page.PaperWidth = 2159;
    page.PaperHeight = 2794;
    page.Bin = kDefaultBin;

    const char* names[] = {" Category1", "Data", "Method", "Vowels", "Consonants", "CTot", "VTot", "Total"};
    for (const char* name : names) report.Variables.Variables.push_back({name, ""});
    for (int digit = 1; digit <= 9; ++digit) {
        for (const char* row : {"V", "C", "T"}) report.Variables.Variables.push_back({row + std::to_string(digit), ""});
    }
    const char* rest[] = {"vvt",      "cct",    "ttt",      "nameftr", "master", " Category2", "Dates", "DateTotal",
                          "MonthDay", "DayTot", "NameDate", "DatesLb", "Cd1Lb",  "Cd2Lb",      "Cd3Lb"};
    for (const char* name : rest) report.Variables.Variables.push_back({name, ""});
    report.Variables.Variables.push_back({lastDateVariable, ""});

    report.Info.Created = ToDateTime(2004, 12, 22, 15, 47, 52);
    report.Info.LastChange = ToDateTime(2010, 2, 23, 13, 56, 36);
    return report;
}

}  // namespace

ReportTemplate PrintTemplate() {
    ReportTemplate report = CommonTemplate("Cd4lb");
    TfrPage& page = report.Pages.front();
    page.LeftMargin = 91;
    page.TopMargin = 91;
    page.RightMargin = 47;
    page.BottomMargin = 91;

    Builder b(page);
    b.PageFooter("PageFooter1", {0, 872, 779, 42});
    b.Memo("Memo1", {92, 96, 636, 30}, kArial18, Align::Left, {"[Data]"});
    b.Memo("Memo2", {192, 192, 416, 18}, kCourier12Bold, Align::Left, {"[Data]"});
    b.Line("Line1", {92, 126, 636, 0}, 0);
    b.Memo("Memo3", {612, 136, 116, 20}, kArial12Bold, Align::Left, {"Totals"});
    b.Memo("Memo6", {94, 164, 94, 20}, kArial11Bold, Align::Right, {"Vowels:"});
    b.Memo("Memo7", {94, 192, 94, 20}, kArial11Bold, Align::Right, {"Data:"});
    b.Memo("Memo8", {94, 220, 94, 20}, kArial11Bold, Align::Right, {"Consonants:"});
    b.Memo("Memo9", {192, 220, 416, 18}, kCourier12Bold, Align::Left, {"[Consonants]"});
    b.Memo("Memo10", {192, 164, 416, 18}, kCourier12Bold, Align::Left, {"[Vowels]"});
    b.Memo("Memo11", {612, 164, 116, 20}, kArial11, Align::Left, {"[VTot]"});
    b.Memo("Memo12", {612, 192, 116, 20}, kArial11, Align::Left, {"[Total]"});
    b.Memo("Memo13", {612, 220, 116, 20}, kArial11, Align::Left, {"[CTot]"});
    b.Memo("Memo20", {94, 284, 94, 52}, kArial11Bold, Align::Right, {"Vowels:", "Consonants:", "Totals:"});
    b.ChartHeader(192, 256);
    b.Memo("Memo30", {444, 256, 42, 20}, kArial11Bold, Align::Right, {"Total"});
    b.ChartCounts(192, 284, Align::Right);
    b.Memo("Memo41", {456, 284, 22, 52}, kArial11, Align::Right, {"[vvt]", "[cct]", "[ttt]"});
    b.Memo("Memo42", {96, 896, 164, 18}, kArial8, Align::Left, {"Printed:  [DATE] [TIME]"});
    b.Memo("Memo43", {284, 896, 440, 18}, kArial8, Align::Right, {"[nameftr]"});
    b.Memo("Memo44", {92, 392, 54, 20}, kArial11Bold, Align::Left, {"Notes:"});
    b.Line("Line2", {148, 408, 580, 0}, kGrey);
    const char* ruled[] = {"Line3", "Line4",  "Line5",  "Line6",  "Line7", "Line8",
                           "Line9", "Line10", "Line12", "Line13", "Line14"};
    for (int i = 0; i < 11; ++i) b.Line(ruled[i], {92, 448 + 40 * i, 636, 0}, kGrey);
    b.Memo("Memo4", {92, 136, 300, 20}, kArial12Bold, Align::Left, {"[Method] System"});
    b.Memo("Memo46", {612, 256, 116, 20}, kArial11, Align::Left, {"[Dates]"});
    b.Memo("Memo49", {500, 284, 106, 72}, kArial11Bold, Align::Right, {"[Cd1Lb]", "[Cd2Lb]", "[Cd3Lb]", "[Cd4Lb]"});
    b.Memo("Memo50", {612, 284, 116, 72}, kArial11, Align::Left,
           {"[DateTotal]", "[MonthDay]", "[DayTot]", "[NameDate]"});
    b.Memo("Memo51", {500, 256, 106, 20}, kArial11Bold, Align::Right, {"[DatesLb]"});
    return report;
}

ReportTemplate ExportTemplate() {
    ReportTemplate report = CommonTemplate("Cd4Lb");
    Builder b(report.Pages.front());
    b.Memo("Memo2", {124, 70, 416, 18}, kCourier12Bold, Align::Left, {"[Data]"});
    b.Memo("Memo3", {544, 24, 48, 20}, kArial12Bold, Align::Left, {"Total"});
    b.Memo("Memo6", {29, 52, 94, 20}, kArial11Bold, Align::Left, {"        Vowels:"});
    b.Memo("Memo7", {26, 70, 92, 20}, kArial11Bold, Align::Left, {"             Data:"});
    b.Memo("Memo8", {26, 89, 94, 20}, kArial11Bold, Align::Left, {"Consonants:"});
    b.Memo("Memo9", {124, 89, 416, 18}, kCourier12Bold, Align::Left, {"[Consonants]"});
    b.Memo("Memo10", {124, 52, 416, 18}, kCourier12Bold, Align::Left, {"[Vowels]"});
    b.Memo("Memo11", {544, 52, 116, 20}, kArial11, Align::Left, {"[VTot]"});
    b.Memo("Memo12", {544, 70, 116, 20}, kArial11, Align::Left, {"[Total]"});
    b.Memo("Memo13", {544, 89, 116, 20}, kArial11, Align::Left, {"[CTot]"});
    b.Memo("Memo20", {26, 160, 94, 52}, kArial11Bold, Align::Left,
           {"         Vowels:", "Consonants:", "          Totals:"});
    // The export template aligns everything to the left, its digit headers included.
    for (int digit = 1; digit <= 9; ++digit) {
        b.Memo("Memo" + std::to_string(20 + digit), {124 + 28 * (digit - 1), 148, 22, 20}, kArial11Bold, Align::Left,
               {std::to_string(digit)});
    }
    b.Memo("Memo30", {376, 148, 42, 20}, kArial11Bold, Align::Left, {"Total"});
    b.Memo("Memo31", {124, 24, 168, 20}, kArial12Bold, Align::Middle, {"[Method] System"});
    b.ChartCounts(124, 160, Align::Left);
    b.Memo("Memo41", {388, 160, 22, 52}, kArial11, Align::Left, {"[vvt]", "[cct]", "[ttt]"});
    b.Memo("Memo46", {140, 249, 116, 20}, kArial11, Align::Left, {"[Dates]"});
    b.Memo("Memo49", {24, 261, 106, 72}, kArial11Bold, Align::Left, {"[Cd1Lb]", "[Cd2Lb]", "[Cd3Lb]", "[Cd4Lb]"});
    b.Memo("Memo50", {140, 261, 116, 72}, kArial11, Align::Left,
           {"[DateTotal]", "[MonthDay]", "[DayTot]", "[NameDate]"});
    b.Memo("Memo51", {24, 249, 106, 20}, kArial11Bold, Align::Left, {"[DatesLb]"});
    return report;
}

}  // namespace quillon
