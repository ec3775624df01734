#pragma once
// A CUPS spooler of the test's own: cupsd in a temporary folder, reached through CUPS_SERVER, with
// one cups-pdf queue that writes every job as a PDF file into the folder. The machine's own CUPS
// is never touched. The queue's paper is Letter and its PDFs keep text as text (pdftocairo), so
// pdftotext can read the words back; the spooler makes copies itself.

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/Files.h"
#include "support/PdfText.h"

namespace quillon::test {

class PrivateCups {
public:
    // With defaultQueue false the queue is installed but no printer is the default one.
    explicit PrivateCups(bool defaultQueue = true) {
        namespace fs = std::filesystem;
        queue_ = "quillon" + std::to_string(::getpid());
        root_ = fs::temp_directory_path() / ("quillon-cups-" + queue_);
        fs::remove_all(root_);
        for (const char* sub : {"spool", "tmp", "cache", "state", "log", "ppd", "out"})
            fs::create_directories(root_ / sub);
        // The spooler's filters run as the user lp: every folder on the way must be open to it.
        for (const fs::path& folder : {root_, root_ / "out", root_ / "tmp"}) ::chmod(folder.c_str(), 0777);
        ::chmod(root_.c_str(), 0755);
        fs::copy_file("/etc/cups/raw.types", root_ / "raw.types");
        fs::copy_file("/etc/cups/raw.convs", root_ / "raw.convs");
        WriteFile(root_ / "cups-files.conf", "ServerRoot " + Root() + "\nRequestRoot " + Root() + "/spool\nTempDir " +
                                                 Root() + "/tmp\nStateDir " + Root() + "/state\nCacheDir " + Root() +
                                                 "/cache\nAccessLog " + Root() + "/log/access_log\nErrorLog " + Root() +
                                                 "/log/error_log\nPageLog " + Root() + "/log/page_log\n");
        WriteFile(root_ / "cupsd.conf",
                  "Listen " + Root() +
                      "/cups.sock\nBrowsing Off\nWebInterface No\nLogLevel warn\n"
                      "<Policy default>\n<Limit All>\nOrder allow,deny\nAllow all\n</Limit>\n</Policy>\n"
                      "<Location />\nOrder allow,deny\nAllow all\n</Location>\n");
        WriteFile(PdfConf(), "Out " + Root() + "/out\nLog " + Root() + "/log\nSpool " + Root() + "/spool\n");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (Root() + "/cupsd.conf").c_str(), "-s",
                    (Root() + "/cups-files.conf").c_str(), static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        ::setenv("CUPS_SERVER", (Root() + "/cups.sock").c_str(), 1);
        for (int tries = 0; tries < 200 && CommandOutput("lpstat -r").find("scheduler is running") == std::string::npos;
             ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ok_ = Run("lpadmin -p " + queue_ + " -v cups-pdf:/" + queue_ +
                  " -E -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o PageSize=Letter -o Label=1 -o TitlePref=1"
                  " -o PDFVer=1.4 -o pdftops-renderer-default=pdftocairo") == 0;
        // The stock queue prints one copy whatever is asked: the spooler is to make them.
        const fs::path ppd = root_ / "ppd" / (queue_ + ".ppd");
        if (ok_ && fs::exists(ppd)) {
            std::ofstream(ppd, std::ios::app) << "*cupsManualCopies: True\n";
            ok_ = Run("lpadmin -p " + queue_ + " -P " + ppd.string()) == 0 &&
                  (!defaultQueue || Run("lpadmin -d " + queue_) == 0);
        }
    }

    ~PrivateCups() {
        Run("lpadmin -x " + queue_);
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        ::unsetenv("CUPS_SERVER");
        std::filesystem::remove(PdfConf());
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    bool Ready() const { return ok_; }
    const std::string& Queue() const { return queue_; }

    // The PDF files of the jobs done so far, oldest first, once at least count are there and the
    // queue is empty (or after 60 seconds).
    std::vector<std::filesystem::path> Jobs(std::size_t count) const {
        for (int tries = 0; tries < 600; ++tries) {
            const auto files = Files();
            if (files.size() >= count && CommandOutput("lpstat -o " + queue_).empty()) return files;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return Files();
    }

    // The jobs that the spooler finished, one line each ("lpstat -W completed").
    std::string CompletedJobs() const { return CommandOutput("lpstat -W completed -o " + queue_); }

    // Waits until the queue holds no job.
    void Settle() const {
        for (int tries = 0; tries < 300 && !CommandOutput("lpstat -o " + queue_).empty(); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }

    std::vector<std::filesystem::path> Files() const {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(root_ / "out")) {
            if (entry.path().extension() == ".pdf") files.push_back(entry.path());
        }
        // job_<id>-<title>.pdf: by job number.
        std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return JobNumber(a) < JobNumber(b); });
        return files;
    }

private:
    static int Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }
    static int JobNumber(const std::filesystem::path& file) { return std::atoi(file.filename().string().c_str() + 4); }
    std::string Root() const { return root_.string(); }
    std::filesystem::path PdfConf() const { return "/etc/cups/cups-pdf-" + queue_ + ".conf"; }

    std::string queue_;
    std::filesystem::path root_;
    pid_t pid_ = -1;
    bool ok_ = false;
};

}  // namespace quillon::test
