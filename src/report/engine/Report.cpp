#include "report/engine/Report.h"

#include "report/format/TemplateStream.h"

namespace quillon {

RunResult TfrReport::LoadTemplate(std::span<const std::uint8_t> stream, DateTime now) {
    const TemplateLoad load = ReadTemplate(stream, Template, now);
    if (load.headerRead) printer_.SelectNamedPrinter(Template);
    if (load.pagesRead) {
        for (TfrPage& page : Template.Pages) printer_.ApplyPaperTo(page);
    }
    return load.ok ? RunResult::Done() : RunResult::Failed(load.error);
}

std::vector<std::uint8_t> TfrReport::SaveTemplate(DateTime now) const {
    return WriteTemplate(Template, printer_.CurrentNameForTemplate(), now);
}

std::string TfrReport::ProgressCaption() const {
    return Title.empty() ? "Preparing report" : "Preparing report - " + Title;
}

void TfrReport::Progress(int page, const std::string& label) {
    if (OnProgress) {
        OnProgress(page);
    } else if (ShowProgress && Environment.progress) {
        Environment.progress->SetLabel(label);
        Environment.progress->ProcessEvents();
    }
}

}  // namespace quillon
