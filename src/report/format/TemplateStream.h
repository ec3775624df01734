#pragma once
// The report stream format (version 25): reading a template from it and writing one to it, and
// the property wrapper in which a window keeps a report's stream.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/format/Template.h"

namespace quillon {

inline constexpr const char* kUnsupportedFormat = "Unsupported FRF format";

// Where one object record ended in the stream: its stored end offset, and how far its view and
// kind parts reached. The two are equal for a record the reader understands completely.
struct ObjectRecordEnd {
    std::size_t endOffset = 0;
    std::size_t consumedTo = 0;
};

struct TemplateLoad {
    bool ok = true;
    // Whether the header (and with it the printer name) was read, and whether the pages are the
    // stream's (or the one empty page a damaged stream leaves) rather than the earlier ones.
    bool headerRead = false;
    bool pagesRead = true;
    std::string error;          // the message for the box when not ok
    std::size_t bytesRead = 0;  // where reading stopped
    std::vector<ObjectRecordEnd> objectEnds;
};

// Reads a template, positioned at its version byte, into target. On a version above 25 nothing
// more is read (the variables are already cleared, the pages stay); on any other error outside an
// object's record, and on geometry out of bounds (DamagedGeometry, whose message is the error),
// the template is cleared to one empty page. An object record that cannot be read is skipped
// through its end offset. The pages' paper is the printer layer's business: the caller
// hands them to it.
TemplateLoad ReadTemplate(std::span<const std::uint8_t> stream, ReportTemplate& target, DateTime now);

// Writes the template with the given printer name in its header and lastChange as the time of
// its last change.
std::vector<std::uint8_t> WriteTemplate(const ReportTemplate& source, const std::string& printerName,
                                        DateTime lastChange);

// The stored form of a report's stream: i32 25, u32 length, the stream.
std::vector<std::uint8_t> WrapReportForm(std::span<const std::uint8_t> stream);
// The stream inside a stored form, or nothing when the form is damaged.
std::optional<std::span<const std::uint8_t>> UnwrapReportForm(std::span<const std::uint8_t> form);

}  // namespace quillon
