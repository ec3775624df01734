#include "report/format/TemplateLimits.h"

namespace quillon {
namespace {

std::size_t LinesBytes(const std::vector<std::string>& lines) {
    std::size_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size();
    return bytes;
}

std::size_t PairsBytes(const std::vector<TemplateVariable>& pairs) {
    std::size_t bytes = 0;
    for (const TemplateVariable& pair : pairs) bytes += pair.Name.size() + pair.Value.size();
    return bytes;
}

std::size_t ObjectBytes(const TfrView& view) {
    std::size_t bytes =
        view.Name.size() + view.FormatString.size() + view.Tag.size() + LinesBytes(view.Memo) + LinesBytes(view.Script);
    switch (view.Kind()) {
        case ObjectKind::Memo: {
            const auto& memo = static_cast<const TfrMemoView&>(view);
            bytes += memo.Font.Name.size() + memo.HighlightCondition.size();
            break;
        }
        case ObjectKind::Band: {
            const auto& band = static_cast<const TfrBandView&>(view);
            bytes += band.ChildBand.size() + band.Master.size();
            break;
        }
        case ObjectKind::Line:
        case ObjectKind::Picture:
        case ObjectKind::SubReport:
        case ObjectKind::AddIn: break;
    }
    return bytes;
}

}  // namespace

TemplateSize SizeOf(const ReportTemplate& report) {
    TemplateSize size;
    size.pages = report.Pages.size();
    const ReportInfo& info = report.Info;
    size.textBytes = report.PrinterName.size() + info.Comment.size() + info.Name.size() + info.Author.size() +
                     info.VersionMajor.size() + info.VersionMinor.size() + info.VersionRelease.size() +
                     info.VersionBuild.size() + info.Password.size();
    for (const auto* pairs :
         {&report.Variables.Variables, &report.Variables.FieldAliases, &report.Variables.BandDataSources}) {
        size.lines += pairs->size();
        size.textBytes += PairsBytes(*pairs);
    }
    for (std::size_t p = 0; p < report.Pages.size(); ++p) {
        const TfrPage& page = report.Pages[p];
        size.objects += page.Objects.size();
        size.lines += page.Script.size();
        size.textBytes += page.Name.size() + page.Caption.size() + LinesBytes(page.Script);
        for (std::size_t i = 0; i < page.Objects.size(); ++i) {
            const TfrView& view = *page.Objects[i];
            size.lines += view.Memo.size() + view.Script.size();
            size.textBytes += ObjectBytes(view);
            if (view.Kind() == ObjectKind::Memo && view.Memo.size() > kMaxMemoLines && !size.longMemo) {
                size.longMemo = TemplateSize::LongMemo{p, i, view.Memo.size()};
            }
        }
    }
    return size;
}

std::optional<std::string> OversizedTemplate(const ReportTemplate& report, const TemplateSize& counted) {
    auto beyond = [](const std::string& what, std::size_t count, const char* unit, std::size_t limit,
                     const char* verb) {
        return kTooLargeTemplate + what + std::to_string(count) + unit + ", at most " + std::to_string(limit) + verb;
    };
    if (counted.pages > kMaxTemplatePages) {
        return beyond("it has ", counted.pages, " pages", kMaxTemplatePages, " are laid out");
    }
    if (counted.objects > kMaxTemplateObjects) {
        return beyond("it has ", counted.objects, " objects", kMaxTemplateObjects, " are laid out");
    }
    if (const auto& memo = counted.longMemo) {
        const TfrView& view = *report.Pages.at(memo->page).Objects.at(memo->object);
        const std::string name = view.Name.empty() ? std::to_string(memo->object + 1) : '"' + view.Name + '"';
        return beyond("page " + std::to_string(memo->page + 1) + ", memo " + name + " holds ", memo->lines, " lines",
                      kMaxMemoLines, " are laid out");
    }
    if (counted.lines > kMaxTemplateLines) {
        return beyond("its texts hold ", counted.lines, " lines in all", kMaxTemplateLines, " are laid out");
    }
    if (counted.textBytes > kMaxTemplateTextBytes) {
        return beyond("its texts hold ", counted.textBytes, " bytes in all", kMaxTemplateTextBytes, " are laid out");
    }
    return std::nullopt;
}

std::optional<std::string> OversizedTemplate(const ReportTemplate& report) {
    return OversizedTemplate(report, SizeOf(report));
}

}  // namespace quillon
