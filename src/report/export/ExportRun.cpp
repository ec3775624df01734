#include "report/export/ExportRun.h"

#include "report/engine/Drawing.h"
#include "report/engine/FixedCanvas.h"

namespace quillon {
namespace {

class SaveStream final : public ExportStream {
public:
    explicit SaveStream(SafeSave& save) : save_(save) {}
    bool Write(const void* data, std::size_t size) override { return save_.Write(data, size); }

private:
    SafeSave& save_;
};

// Hands the lines of a memo drawn in exporting mode to the filter.
class FilterLines final : public MemoLineSink {
public:
    explicit FilterLines(TfrExportFilter& filter) : filter_(filter) {}
    void MemoLine(const Rect& memoRect, int x, int y, const std::string& text, std::uint16_t frameTyp,
                  const TfrMemoView& memo) override {
        filter_.ExportTextLine(memoRect, x, y, text, frameTyp, &memo);
    }

private:
    TfrExportFilter& filter_;
};

constexpr char kProcessingLabel[] = "Processing page:  ";

}  // namespace

RunResult ExportToStream(TfrReport& report, TfrExportFilter& filter, ExportStream& stream) {
    filter.Stream = &stream;
    const int total = report.EMFPages.Count();
    FixedCanvas fixedCanvas;
    Canvas& scratch = report.Environment.scratch ? *report.Environment.scratch : fixedCanvas;
    FilterLines lines(filter);
    bool cancel = false;
    RunResult result;

    filter.BeginDocument();
    auto pageLoop = [&] {
        if (report.Environment.progress) report.Environment.progress->ProcessEvents();
        for (int index = 0; index < total && !cancel; ++index) {
            filter.BeginPage();
            result = report.EMFPages.ExportPage(index, [&](const TfrView& object) {
                filter.ExportObject(object.Left, object.Top, object);
                if (object.Kind() == ObjectKind::Memo) {
                    DrawMemo(static_cast<const TfrMemoView&>(object), scratch, scratch, DrawContext{}, &lines);
                }
            });
            if (!result.IsDone()) return;
            // A filter that failed (a full disk, a report too large) is given no more pages.
            if (!filter.Failure().empty()) return;
            report.Progress(index + 1, kProcessingLabel + std::to_string(index + 1) + " from " + std::to_string(total));
            filter.EndPage();
        }
    };
    if (report.UsesProgressWindow()) {
        report.Environment.progress->Run(report.ProgressCaption(), kProcessingLabel + std::string("1"), pageLoop,
                                         cancel);
    } else {
        pageLoop();
    }
    // A cancelled export still ends its document, so the file is complete for the pages done.
    filter.EndDocument();
    filter.Stream = nullptr;
    if (!result.IsDone()) return result;
    if (!filter.Failure().empty()) return RunResult::Failed(filter.Failure());
    return cancel ? RunResult::Cancelled() : RunResult::Done();
}

RunResult ExportToSave(TfrReport& report, TfrExportFilter& filter, SafeSave& save) {
    SaveStream stream(save);
    const RunResult result = ExportToStream(report, filter, stream);
    if (result.IsFailed()) {
        // A write the file refused is told with the save's reason ("No space left on device").
        if (auto refused = save.WriteFailure()) return RunResult::Failed(*refused);
        return result;
    }
    if (auto error = save.Commit()) return RunResult::Failed(*error);
    return result;
}

RunResult ExportToFile(TfrReport& report, TfrExportFilter& filter, const std::string& fileName) {
    filter.FileName = fileName;
    if (filter.ConfirmOptions() != 1) return RunResult::Cancelled();
    SafeSave save;
    if (auto error = save.Open(fileName)) return RunResult::Failed(*error);
    return ExportToSave(report, filter, save);
}

}  // namespace quillon
