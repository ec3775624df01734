#pragma once
// Print jobs handed to the CUPS spooler through libcups. The library is loaded when the first job
// is handed over, not when the program starts. A job is handed over only once all its sheets are
// drawn, so a job given up before that never reaches the spooler.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

// Submits a PDF file as a job on the printer (a name of the form "printer/instance" prints on
// the printer), with the job's title and the CUPS options given. Nothing on success, else why it
// failed.
std::optional<std::string> SubmitPdfJob(const std::string& printer, const std::string& pdfFile,
                                        const std::string& title,
                                        const std::vector<std::pair<std::string, std::string>>& options);

}  // namespace quillon
