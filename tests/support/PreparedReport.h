#pragma once
// A report prepared with fixed metrics and locale and a pinned clock, whose value callback answers
// every name with "<name>" (or a value of the test's choosing) and remembers the questions; and
// helpers that build small templates.

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "report/content/TemplateData.h"
#include "report/engine/FixedCanvas.h"
#include "report/engine/Report.h"
#include "report/format/PrintingForm.h"
#include "report/format/TemplateStream.h"

namespace quillon::test {

inline const DateTime kPreparedAt = ToDateTime(2026, 12, 7, 9, 5, 3);

class PreparedReport {
public:
    // One of the carried templates, from its stored form.
    explicit PreparedReport(std::span<const std::uint8_t> form, const char* name = kPrintReportName)
        : report(printer, name) {
        report.LoadTemplate(*UnwrapReportForm(form), kPreparedAt);
        Init();
    }
    explicit PreparedReport(ReportTemplate tpl) : report(printer, kPrintReportName) {
        report.Template = std::move(tpl);
        for (TfrPage& page : report.Template.Pages) printer.ApplyPaperTo(page);
        Init();
    }

    int Pages() const { return report.EMFPages.Count(); }
    std::vector<std::unique_ptr<TfrView>> Objects(int page = 0) const {
        return std::move(*ReadPrintingForms(report.EMFPages[page].Stream));
    }
    // The object of that name on a page; a test fails on a missing one.
    std::unique_ptr<TfrView> Object(const std::string& name, int page = 0) const {
        for (auto& object : Objects(page)) {
            if (object->Name == name) return std::move(object);
        }
        return nullptr;
    }

    TfrPrinter printer;
    TfrReport report;
    FixedReportLocale locale;
    FixedCanvas scratch;
    std::vector<std::string> asked;
    std::map<std::string, Value> answers;  // names answered otherwise than "<name>"
    bool answerAll = true;

private:
    void Init() {
        report.Environment.locale = &locale;
        report.Environment.scratch = &scratch;
        report.Environment.now = [] { return kPreparedAt; };
        report.ShowProgress = false;
        report.OnGetValue = [this](const std::string& name, Value& value) {
            asked.push_back(name);
            if (const auto it = answers.find(name); it != answers.end()) {
                value = it->second;
            } else if (answerAll) {
                value = "<" + name + ">";
            }
        };
    }
};

inline TfrMemoView* AddMemo(TfrPage& page, const std::string& name, int left, int top, std::vector<std::string> lines,
                            int width = 200, int height = 20) {
    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = name;
    memo->Left = left;
    memo->Top = top;
    memo->Width = width;
    memo->Height = height;
    memo->Memo = std::move(lines);
    TfrMemoView* raw = memo.get();
    page.Objects.push_back(std::move(memo));
    return raw;
}

inline TfrBandView* AddBand(TfrPage& page, BandType type, int top, int height, std::uint16_t flags = 0,
                            const std::string& name = {}) {
    auto band = std::make_unique<TfrBandView>();
    band->Name = name.empty() ? BandTypeName(static_cast<int>(type)) : name;
    band->FrameTyp = static_cast<std::uint16_t>(type);
    band->Top = top;
    band->Height = height;
    band->Width = 700;
    band->Flags = flags;
    TfrBandView* raw = band.get();
    page.Objects.push_back(std::move(band));
    return raw;
}

// One Letter page (779 x 1008 units) with the same margin all round.
inline ReportTemplate OnePage(int margins = 50) {
    ReportTemplate tpl;
    tpl.Pages.emplace_back();
    TfrPage& page = tpl.Pages.back();
    page.LeftMargin = page.TopMargin = page.RightMargin = page.BottomMargin = margins;
    return tpl;
}

}  // namespace quillon::test
