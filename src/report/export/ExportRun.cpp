// The export run of a report: the prepared pages fed page by page and object by object to an
// export filter, with progress, into a file that replaces the target only when it is complete.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/Messages.h"
#include "report/engine/Drawing.h"
#include "report/engine/FixedCanvas.h"
#include "report/engine/Report.h"
#include "report/export/ExportFilter.h"

namespace quillon {
namespace {

class FileStream final : public ExportStream {
public:
    explicit FileStream(std::FILE* file) : file_(file) {}
    bool Write(const void* data, std::size_t size) override {
        return size == 0 || std::fwrite(data, 1, size, file_) == size;
    }

private:
    std::FILE* file_;
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

void ShowError(const std::string& text) { CurrentMessages().Show("Error", text, MessageIcon::Error); }

// Files made by the program get the usual permissions, not the private ones of a temporary file.
void GiveUsualPermissions(int descriptor) {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor, 0666 & ~mask);
}

}  // namespace

bool TfrReport::ExportToFile(TfrExportFilter& filter, const std::string& fileName) {
    filter.FileName = fileName;
    if (filter.ConfirmOptions() != 1) return false;

    namespace fs = std::filesystem;
    const fs::path target(fileName);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".XXXXXX";
    std::string temporary = (folder / hidden).string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        ShowError("Cannot create file " + fileName);
        return false;
    }
    GiveUsualPermissions(descriptor);
    std::FILE* file = ::fdopen(descriptor, "wb");
    if (!file) {
        ::close(descriptor);
        std::remove(temporary.c_str());
        ShowError("Cannot create file " + fileName);
        return false;
    }

    FileStream stream(file);
    filter.Stream = &stream;
    const int total = EMFPages.Count();
    FixedCanvas fixedCanvas;
    Canvas& scratch = Environment.scratch ? *Environment.scratch : fixedCanvas;
    FilterLines lines(filter);
    bool cancel = false;

    filter.BeginDocument();
    auto pageLoop = [&] {
        if (Environment.progress) Environment.progress->ProcessEvents();
        for (int index = 0; index < total && !cancel; ++index) {
            filter.BeginPage();
            EMFPages.ExportPage(index, [&](const TfrView& object) {
                filter.ExportObject(object.Left, object.Top, object);
                if (object.Kind() == ObjectKind::Memo) {
                    DrawMemo(static_cast<const TfrMemoView&>(object), scratch, scratch, DrawContext{}, &lines);
                }
            });
            const std::string label = "Processing page:  " + std::to_string(index + 1) + " from " + std::to_string(total);
            if (OnProgress) {
                OnProgress(index + 1);
            } else if (ShowProgress && Environment.progress) {
                Environment.progress->SetLabel(label);
                Environment.progress->ProcessEvents();
            }
            filter.EndPage();
        }
    };
    if (ShowProgress && !OnProgress && Environment.progress) {
        const std::string caption = Title.empty() ? "Preparing report" : "Preparing report - " + Title;
        Environment.progress->Run(caption, "Processing page:  1", pageLoop, cancel);
    } else {
        pageLoop();
    }
    // A cancelled export still ends its document, so the file is complete for the pages done.
    filter.EndDocument();
    filter.Stream = nullptr;

    bool written = filter.Failure().empty();
    if (std::fflush(file) != 0 || ::fsync(descriptor) != 0) written = false;
    if (std::fclose(file) != 0) written = false;
    if (!written) {
        std::remove(temporary.c_str());
        ShowError("Stream write error");
        return false;
    }
    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    if (renamed) {
        std::remove(temporary.c_str());
        ShowError("Cannot create file " + fileName);
        return false;
    }
    return true;
}

}  // namespace quillon
