// Printing through a real CUPS spooler of the test's own: the sheets come out as PDF files of a
// cups-pdf queue and are read back with poppler. No part of the printing is stood in for.

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

#include "cli/CommandLine.h"
#include "platform/QtPrinterDriver.h"
#include "report/content/TemplateData.h"
#include "report/engine/PrintRun.h"
#include "report/format/TemplateStream.h"
#include "support/FakeProgress.h"
#include "support/PdfText.h"
#include "support/PrivateCups.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using test::PageCount;
using test::PageText;
using test::PageWords;

// A report template of its own: one Letter page per text (A4 where asked), each holding its text
// at 92, 100.
fs::path TemplateFile(const fs::path& folder, const std::string& name, const std::vector<std::string>& texts,
                      std::size_t a4From = SIZE_MAX, const std::function<void(TfrPage&)>& shape = {}) {
    ReportTemplate tpl;
    tpl.PrinterName = std::string(kVirtualPrinterMarker);
    tpl.PrintToDefault = !shape;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        TfrPage page;
        page.LeftMargin = page.TopMargin = page.RightMargin = page.BottomMargin = 91;
        if (i >= a4From) {
            page.Size = 9;
            page.PaperWidth = 2100;
            page.PaperHeight = 2970;
        }
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = "Memo1";
        memo->Left = 92;
        memo->Top = 100;
        memo->Width = 400;
        memo->Height = 24;
        memo->Memo = {texts[i]};
        page.Objects.push_back(std::move(memo));
        if (shape) shape(page);
        tpl.Pages.push_back(std::move(page));
    }
    const fs::path file = folder / name;
    const auto bytes = WriteTemplate(tpl, tpl.PrinterName, 46000);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::vector<std::string> Numbered(int from, int to) {
    std::vector<std::string> texts;
    for (int page = from; page <= to; ++page) texts.push_back("Page " + std::to_string(page));
    return texts;
}

int RunQuillon(QStringList arguments, QString* errors = nullptr) {
    arguments.prepend(QStringLiteral("quillon"));
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = RunCommandLine(arguments, outStream, errStream);
    if (errors) *errors = err;
    return code;
}

class PrintOnCups : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(cups.Ready()) << "a private cupsd with a cups-pdf queue (packages cups, printer-driver-cups-pdf)";
        folder = fs::temp_directory_path() / ("quillon-print-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static int Quillon(QStringList arguments, QString* errors = nullptr) {
        return RunQuillon(std::move(arguments), errors);
    }
    // The page texts of one job's PDF.
    static std::vector<std::string> Texts(const fs::path& pdf) {
        std::vector<std::string> texts;
        for (int page = 1; page <= PageCount(pdf.string()); ++page) texts.push_back(PageText(pdf.string(), page));
        return texts;
    }
    std::vector<std::string> PrintTemplate(const std::vector<std::string>& pages, QStringList options) {
        const std::size_t before = cups.Files().size();
        const fs::path file = TemplateFile(folder, "pages.frf", pages);
        options << QStringLiteral("--template") << QString::fromStdString(file.string()) << QStringLiteral("X");
        QString errors;
        EXPECT_EQ(Quillon(QStringList{QStringLiteral("print")} + options, &errors), kExitOk) << errors.toStdString();
        const auto jobs = cups.Jobs(before + 1);
        EXPECT_EQ(jobs.size(), before + 1);
        return jobs.size() > before ? Texts(jobs.back()) : std::vector<std::string>{};
    }

    test::PrivateCups cups;
    fs::path folder;
};

TEST_F(PrintOnCups, TheMemosStandWhereTheReportSays) {
    QString errors;
    ASSERT_EQ(Quillon({QStringLiteral("print"), QStringLiteral("MARY 12")}, &errors), kExitOk) << errors.toStdString();
    const auto jobs = cups.Jobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    const std::string pdf = jobs[0].string();
    EXPECT_EQ(PageCount(pdf), 1);
    EXPECT_EQ(test::PageSize(pdf).substr(0, 14), "612 x 792 pts ") << "Letter";
    // The heading memo's box at 92 units is 92 / 91.6256157635468 inch, 72.29 pt, from the sheet's
    // left edge; its text 2.5 units further in, 74.26 pt.
    const auto words = PageWords(pdf, 1);
    const auto mary = std::find_if(words.begin(), words.end(), [](const auto& w) { return w.text == "MARY"; });
    ASSERT_NE(mary, words.end());
    EXPECT_NEAR(mary->xMin, (92 + 2.5) / kReportUnitsPerInch * 72, 1.0);
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const auto& w) { return w.text == "Printed:"; }))
        << "the footer is on the sheet";

    // The rule under the heading, a line at 92, 126: inked from 72.29 pt. Rasterised at 288 dpi a
    // point is 4 pixels.
    const fs::path raster = folder / "sheet";
    ASSERT_EQ(std::system(("pdftoppm -r 288 -gray -f 1 -l 1 -singlefile " + test::Quoted(pdf) + " " +
                           test::Quoted(raster.string()))
                              .c_str()),
              0);
    std::ifstream pgm(raster.string() + ".pgm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    pgm >> magic >> width >> height >> maximum;
    pgm.get();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    pgm.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    const int lineRow = static_cast<int>(126 / kReportUnitsPerInch * 288);
    int firstInk = width;
    for (int row = lineRow - 4; row <= lineRow + 8; ++row) {
        for (int x = 0; x < width; ++x) {
            if (pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] <
                128) {
                firstInk = std::min(firstInk, x);
                break;
            }
        }
    }
    EXPECT_NEAR(firstInk / 4.0, 92 / kReportUnitsPerInch * 72, 1.0);
}

TEST_F(PrintOnCups, PageListsCopiesAndParity) {
    EXPECT_EQ(PrintTemplate(Numbered(1, 20), {QStringLiteral("--pages"), QStringLiteral("1,3,5-12")}),
              (std::vector<std::string>{"Page 1", "Page 3", "Page 5", "Page 6", "Page 7", "Page 8", "Page 9", "Page 10",
                                        "Page 11", "Page 12"}));
    EXPECT_EQ(PrintTemplate(Numbered(1, 2), {QStringLiteral("--copies"), QStringLiteral("3")}),
              (std::vector<std::string>{"Page 1", "Page 2", "Page 1", "Page 2", "Page 1", "Page 2"}));
    EXPECT_EQ(PrintTemplate(Numbered(1, 2),
                            {QStringLiteral("--copies"), QStringLiteral("3"), QStringLiteral("--no-collate")}),
              (std::vector<std::string>{"Page 1", "Page 1", "Page 1", "Page 2", "Page 2", "Page 2"}));
    EXPECT_EQ(PrintTemplate(Numbered(1, 5), {QStringLiteral("--odd")}),
              (std::vector<std::string>{"Page 1", "Page 3", "Page 5"}));
    EXPECT_EQ(PrintTemplate(Numbered(1, 5), {QStringLiteral("--even")}),
              (std::vector<std::string>{"Page 2", "Page 4"}));
    EXPECT_EQ(PrintTemplate(Numbered(1, 1), {QStringLiteral("--odd")}), (std::vector<std::string>{"Page 1"}));
}

TEST_F(PrintOnCups, AnotherPaperStartsAnotherJob) {
    const fs::path file = TemplateFile(folder, "papers.frf", {"Letter one", "A4 one", "A4 two"}, 1);
    QString errors;
    ASSERT_EQ(Quillon({QStringLiteral("print"), QStringLiteral("--template"), QString::fromStdString(file.string()),
                       QStringLiteral("X")},
                      &errors),
              kExitOk)
        << errors.toStdString();
    const auto jobs = cups.Jobs(2);
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(Texts(jobs[0]), std::vector<std::string>{"Letter one"});
    EXPECT_EQ(test::PageSize(jobs[0].string()).substr(0, 13), "612 x 792 pts");
    EXPECT_EQ(Texts(jobs[1]), (std::vector<std::string>{"A4 one", "A4 two"}));
    EXPECT_EQ(test::PageSize(jobs[1].string()).substr(0, 3), "595") << "A4";

    // A PDF file takes every sheet, each with its own paper.
    const fs::path pdf = folder / "papers.pdf";
    ASSERT_EQ(Quillon({QStringLiteral("print"), QStringLiteral("--pdf"), QString::fromStdString(pdf.string()),
                       QStringLiteral("--template"), QString::fromStdString(file.string()), QStringLiteral("X")},
                      &errors),
              kExitOk)
        << errors.toStdString();
    EXPECT_EQ(Texts(pdf), (std::vector<std::string>{"Letter one", "A4 one", "A4 two"}));
    EXPECT_EQ(test::PageSizes(pdf.string()), (std::vector<std::string>{"612 x 792", "595 x 842", "595 x 842"}));
}

TEST_F(PrintOnCups, APdfFileHasTheWordsWhereThePrinterPutsThem) {
    ASSERT_EQ(Quillon({QStringLiteral("print"), QStringLiteral("--date"), QStringLiteral("29/12/1985"),
                       QStringLiteral("MARY 12")}),
              kExitOk);
    const fs::path pdf = folder / "m.pdf";
    ASSERT_EQ(Quillon({QStringLiteral("print"), QStringLiteral("--pdf"), QString::fromStdString(pdf.string()),
                       QStringLiteral("--date"), QStringLiteral("29/12/1985"), QStringLiteral("MARY 12")}),
              kExitOk);
    const auto jobs = cups.Jobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(PageText(jobs[0].string(), 1).substr(0, 40), PageText(pdf.string(), 1).substr(0, 40));
    // Every glyph of the printed sheet stands in the PDF file at the same place (within half a
    // point): its origin on the baseline. The spooler embeds the fonts anew, so word boxes, which
    // follow the fonts' metrics, are not compared.
    const auto printed = test::GlyphOrigins(jobs[0].string(), 1);
    const auto written = test::GlyphOrigins(pdf.string(), 1);
    // (Qt's own PDF writer also places the blanks as glyphs; the spooler's does not.)
    ASSERT_GT(printed.size(), 100u);
    ASSERT_GE(written.size(), printed.size());
    for (const test::GlyphOrigin& glyph : printed) {
        double nearest = 1e9;
        for (const test::GlyphOrigin& other : written)
            nearest = std::min(nearest, std::hypot(other.x - glyph.x, other.y - glyph.y));
        EXPECT_LE(nearest, 0.5) << "a glyph at " << glyph.x << ", " << glyph.y;
    }
}

TEST_F(PrintOnCups, TheCommandLineListsPrintersAndRefusesWhatItCannotPrint) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    ASSERT_EQ(RunCommandLine({QStringLiteral("quillon"), QStringLiteral("printers")}, outStream, errStream), kExitOk);
    EXPECT_EQ(out, QStringLiteral("* %1\n").arg(QString::fromStdString(cups.Queue())));
    out.clear();
    ASSERT_EQ(RunCommandLine({QStringLiteral("quillon"), QStringLiteral("printers"), QStringLiteral("--json")},
                             outStream, errStream),
              kExitOk);
    outStream.flush();
    const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
    EXPECT_EQ(json.value("current").toString().toStdString(), cups.Queue());
    const QJsonObject first = json.value("printers").toArray().at(0).toObject();
    EXPECT_EQ(first.value("name").toString().toStdString(), cups.Queue());
    EXPECT_TRUE(first.value("default").toBool());

    struct Case {
        QStringList arguments;
        int code;
        QString message;
    };
    const Case cases[] = {
        {{QStringLiteral("--printer"), QStringLiteral("Nowhere")},
         kExitUsage,
         QStringLiteral("quillon: no printer is named \"Nowhere\"\n")},
        {{QStringLiteral("--pages"), QStringLiteral("1,,3")},
         kExitFailure,
         QStringLiteral("quillon: '' is not a valid integer value\n")},
        {{QStringLiteral("--pages"), QStringLiteral("a")},
         kExitFailure,
         QStringLiteral("quillon: 'a' is not a valid integer value\n")},
        {{QStringLiteral("--copies"), QStringLiteral("two")},
         kExitFailure,
         QStringLiteral("quillon: 'two' is not a valid integer value\n")},
        {{QStringLiteral("--copies"), QStringLiteral("0")},
         kExitUsage,
         QStringLiteral("quillon: --copies takes a number from 1 to 9999, not \"0\"\n")},
        {{QStringLiteral("--copies"), QStringLiteral("-1")},
         kExitUsage,
         QStringLiteral("quillon: --copies takes a number from 1 to 9999, not \"-1\"\n")},
        {{QStringLiteral("--odd"), QStringLiteral("--even")},
         kExitUsage,
         QStringLiteral("quillon: --odd and --even exclude each other\n")},
        {{QStringLiteral("--even")},
         kExitFailure,
         QStringLiteral("quillon: %1\n").arg(QString::fromLatin1(kNothingToPrint))},
        {{QStringLiteral("--pages"), QStringLiteral("2147483647")},
         kExitFailure,
         QStringLiteral("quillon: %1\n").arg(QString::fromLatin1(kNothingToPrint))},
        {{QStringLiteral("--copies"), QStringLiteral("2000000000")},
         kExitFailure,
         QStringLiteral("quillon: At most 9999 copies can be printed at a time.\n")},
    };
    for (const Case& c : cases) {
        QString errors;
        EXPECT_EQ(
            Quillon(QStringList{QStringLiteral("print")} + c.arguments + QStringList{QStringLiteral("MARY")}, &errors),
            c.code)
            << c.arguments.join(' ').toStdString();
        EXPECT_EQ(errors, c.message);
    }
    // The same to a PDF file: no file.
    const fs::path pdf = folder / "nothing.pdf";
    QString errors;
    EXPECT_EQ(Quillon({QStringLiteral("print"), QStringLiteral("--pdf"), QString::fromStdString(pdf.string()),
                       QStringLiteral("--pages"), QStringLiteral("2147483647"), QStringLiteral("X")},
                      &errors),
              kExitFailure);
    EXPECT_FALSE(fs::exists(pdf));
    cups.Settle();
    EXPECT_TRUE(cups.Files().empty()) << "nothing was printed";
    EXPECT_EQ(cups.CompletedJobs(), "") << "no job was started";
    EXPECT_EQ(Quillon({QStringLiteral("print"), QStringLiteral("--printer"),
                       QString::fromStdString(cups.Queue()).toUpper(), QStringLiteral("MARY")},
                      &errors),
              kExitOk)
        << "printer names are compared without case: " << errors.toStdString();
}

// A full temporary folder: neither the printer nor a PDF file gets a job cut short, and the
// message names the folder and the reason (root only: it mounts a full file system).
TEST_F(PrintOnCups, AFullTemporaryFolderFailsTheJobAndSaysWhere) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    const fs::path full = folder / "full";
    fs::create_directories(full);
    if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "no tmpfs here";
    std::ofstream(full / "filler", std::ios::binary) << std::string(64 * 1024, 'x');
    const fs::path pdf = folder / "good.pdf";
    std::ofstream(pdf) << "the old file";
    const char* before = std::getenv("TMPDIR");
    const std::string kept = before ? before : "";
    ::setenv("TMPDIR", full.c_str(), 1);
    for (const QStringList& target : {QStringList{QStringLiteral("--printer"), QString::fromStdString(cups.Queue())},
                                      QStringList{QStringLiteral("--pdf"), QString::fromStdString(pdf.string())}}) {
        QString errors;
        EXPECT_EQ(Quillon(QStringList{QStringLiteral("print")} + target + QStringList{QStringLiteral("X")}, &errors),
                  kExitFailure);
        EXPECT_TRUE(errors.startsWith(QStringLiteral("quillon: The print job cannot be written in %1/quillon-print-")
                                          .arg(QString::fromStdString(full.string()))) &&
                    errors.endsWith(QStringLiteral(": No space left on device\n")))
            << errors.toStdString();
    }
    before ? ::setenv("TMPDIR", kept.c_str(), 1) : ::unsetenv("TMPDIR");
    std::ifstream in(pdf);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the old file");
    cups.Settle();
    EXPECT_EQ(cups.CompletedJobs(), "") << "nothing reached the spooler";
    ::umount(full.c_str());
}

TEST(PrintToPdf, APaperOfNoSizeIsSaid) {
    const fs::path folder = fs::temp_directory_path() / ("quillon-nosize-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path file = TemplateFile(folder, "nosize.frf", {"X"}, SIZE_MAX, [](TfrPage& page) {
        page.Size = kCustomPaper;
        page.PaperWidth = page.PaperHeight = 0;
    });
    const fs::path pdf = folder / "nosize.pdf";
    // A printer asked for prints on its own paper; a PDF file has the report's.
    QString errors;
    EXPECT_EQ(RunQuillon({QStringLiteral("print"), QStringLiteral("--template"), QString::fromStdString(file.string()),
                          QStringLiteral("--pdf"), QString::fromStdString(pdf.string()), QStringLiteral("X")},
                         &errors),
              kExitFailure);
    EXPECT_EQ(errors, QStringLiteral("quillon: The report's paper of 0 \u00d7 0 mm cannot be printed\n"));
    EXPECT_FALSE(fs::exists(pdf));
    fs::remove_all(folder);
}

TEST(PrintWithoutPrinters, OnlyAPdfFile) {
    // A spooler that does not answer: no printer is installed.
    ::setenv("CUPS_SERVER", "/nonexistent/cups.sock", 1);
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunCommandLine({QStringLiteral("quillon"), QStringLiteral("printers")}, outStream, errStream), kExitOk);
    errStream.flush();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(err, QStringLiteral("quillon: No printer is installed.\n"));
    err.clear();
    // As JSON: an empty list, for the script that reads it.
    EXPECT_EQ(RunCommandLine({QStringLiteral("quillon"), QStringLiteral("printers"), QStringLiteral("--json")},
                             outStream, errStream),
              kExitOk);
    outStream.flush();
    EXPECT_EQ(QJsonDocument::fromJson(out.toUtf8()).object(),
              (QJsonObject{{"printers", QJsonArray()}, {"current", QJsonValue(QJsonValue::Null)}}));
    out.clear();
    EXPECT_EQ(RunCommandLine({QStringLiteral("quillon"), QStringLiteral("print"), QStringLiteral("MARY")}, outStream,
                             errStream),
              kExitFailure);
    errStream.flush();
    EXPECT_EQ(err, QStringLiteral("quillon: No printer is installed.\n"));
    const fs::path pdf = fs::temp_directory_path() / ("quillon-noprinter-" + std::to_string(::getpid()) + ".pdf");
    EXPECT_EQ(RunCommandLine({QStringLiteral("quillon"), QStringLiteral("print"), QStringLiteral("--pdf"),
                              QString::fromStdString(pdf.string()), QStringLiteral("MARY 12")},
                             outStream, errStream),
              kExitOk);
    EXPECT_EQ(PageCount(pdf.string()), 1);
    EXPECT_NE(PageText(pdf.string(), 1).find("MARY 12"), std::string::npos);
    fs::remove(pdf);
    ::unsetenv("CUPS_SERVER");
}

TEST_F(PrintOnCups, CancelAfterTheSecondOfTenPages) {
    QtPrinterDriver driver;
    TfrPrinter printer(driver);
    TfrReport report(printer, kPrintReportName);
    const fs::path file = TemplateFile(folder, "ten.frf", Numbered(1, 10));
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(report.LoadTemplate(bytes, 46000).IsDone());
    report.ShowProgress = false;
    ASSERT_TRUE(report.Prepare().IsDone());
    ASSERT_EQ(report.EMFPages.Count(), 10);
    test::FakeProgress progress;
    progress.CancelAt(2);  // Cancel while page 2 is sent
    report.Environment.progress = &progress;
    report.ShowProgress = true;
    EXPECT_EQ(PrintPages(report, PrintRequest{}).outcome, RunOutcome::Cancelled);
    cups.Settle();
    EXPECT_TRUE(cups.Files().empty()) << "nothing of a cancelled job is printed";
    EXPECT_EQ(cups.CompletedJobs(), "") << "nothing of it reached the spooler";
}

// The program printing on its own, stopped by TERM at moments spread over its run: the toolkit's
// and the printing library's temporary files (a copy of the printer's description each time a
// printer is bound) and the job's own file all go with it.
TEST_F(PrintOnCups, ASignalAtAnyMomentOfAPrintLeavesNoTemporaryFile) {
    const fs::path temporary = folder / "tmp";
    const fs::path runtime = folder / "run";
    fs::create_directories(temporary);
    fs::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    const auto printOnce = [&](long stopAfterUs) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("TMPDIR", temporary.c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            ::execl(QUILLON_PROGRAM, "quillon", "print", "--printer", cups.Queue().c_str(), "X",
                    static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        if (stopAfterUs >= 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(stopAfterUs));
            ::kill(child, SIGTERM);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    };
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(printOnce(-1), 0);
    const long whole =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    constexpr int kRaces = 30;
    for (int race = 0; race < kRaces; ++race) {
        printOnce(whole * race / kRaces);
        std::vector<std::string> left;
        for (const auto& entry : fs::directory_iterator(temporary)) left.push_back(entry.path().filename().string());
        EXPECT_TRUE(left.empty()) << "race " << race << " left " << left.front();
        for (const auto& entry : fs::directory_iterator(temporary)) fs::remove_all(entry.path());
    }
}

TEST(PrintWithoutADefaultPrinter, TheWindowTakesTheFirstAndTheCommandAsks) {
    test::PrivateCups cups(false);
    ASSERT_TRUE(cups.Ready());
    QtPrinterDriver driver;
    ASSERT_FALSE(driver.DefaultPrinter());
    TfrPrinter printer(driver);
    EXPECT_FALSE(printer.IsVirtual()) << "the dialog starts on the first installed printer, not on the PDF file";
    EXPECT_EQ(printer.CurrentName(), cups.Queue());
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(RunCommandLine({QStringLiteral("quillon"), QStringLiteral("print"), QStringLiteral("MARY")}, outStream,
                             errStream),
              kExitFailure);
    errStream.flush();
    EXPECT_EQ(err, QStringLiteral("quillon: There is no default printer; choose one with --printer (installed: %1)\n")
                       .arg(QString::fromStdString(cups.Queue())));
    cups.Settle();
    EXPECT_TRUE(cups.Files().empty());
}

}  // namespace
}  // namespace quillon
