#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "cli/CommandLine.h"
#include "platform/FileDialogs.h"
#include "platform/Regional.h"
#include "support/FakeProgress.h"
#include "support/QtPrint.h"
#include "support/RecordingMessages.h"
#include "windows/analysis/DateEdit.h"
#include "windows/analysis/Windows.h"

namespace quillon {
namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int RunQuillon(const QStringList& arguments, QString* errors = nullptr) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    const int code = RunCommandLine(QStringList{QStringLiteral("quillon")} + arguments, outStream, errStream);
    if (errors) *errors = err;
    return code;
}

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        PinToday(CivilDate{2026, 12, 7});
        windows = std::make_unique<Windows>();
        calc().frReport2.ShowProgress = false;
    }
    void TearDown() override {
        windows.reset();
        PinToday(std::nullopt);
        QLocale::setDefault(QLocale::c());
    }
    TCalcFrm& calc() { return windows->CalcFrm; }

    QTemporaryDir dir;
    RecordingMessages messages;
    std::unique_ptr<Windows> windows;
};

TEST_F(ExportCommand, TheButtonAndTheCommandLineWriteTheSameFile) {
    calc().Data->setText(QStringLiteral("MARY 12"));
    calc().CalendarBtn->click();
    calc().DateEdit->setText(QStringLiteral("12/29/1985"));
    calc().DtCalcBtn->click();
    const QString fromButton = dir.filePath(QStringLiteral("button.rtf"));
    AnswerNextSaveDialog(fromButton);
    calc().ExportBtn->click();
    EXPECT_TRUE(messages.shown.empty());

    const QString fromCommand = dir.filePath(QStringLiteral("command.rtf"));
    ASSERT_EQ(RunQuillon({QStringLiteral("export"), QStringLiteral("--date"), QStringLiteral("12/29/1985"),
                          QStringLiteral("-o"), fromCommand, QStringLiteral("MARY 12")}),
              kExitOk);
    const QByteArray bytes = Bytes(fromButton);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\r\n"));
    EXPECT_TRUE(bytes.contains("MARY 12\\tab"));
    EXPECT_TRUE(bytes.contains("Name + Date:\\tab\\b0 61 / 7"));
    EXPECT_TRUE(bytes.endsWith("\\par}"));
    EXPECT_EQ(bytes, Bytes(fromCommand));
}

TEST_F(ExportCommand, CancellingTheDialogPreparesAndWritesNothing) {
    calc().Data->setText(QStringLiteral("MARY"));
    AnswerNextSaveDialog(std::nullopt);
    calc().ExportBtn->click();
    EXPECT_EQ(calc().frReport2.EMFPages.Count(), 0);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ExportCommand, FailuresShowTheErrorBoxAndWriteNothing) {
    calc().Data->setText(QStringLiteral("MARY"));
    // A name that nothing answers fails the preparation: the box, and no file.
    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = QStringLiteral("Unanswered").toStdString();
    memo->Memo = {"[Nowhere]"};
    calc().frReport2.Template.Pages[0].Objects.push_back(std::move(memo));
    const QString file = dir.filePath(QStringLiteral("m.rtf"));
    AnswerNextSaveDialog(file);
    calc().ExportBtn->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_NE(messages.shown[0].text.find("Undefined symbol \"Nowhere\""), std::string::npos);
    EXPECT_FALSE(QFile::exists(file));

    // A file that cannot be made: the box names it.
    calc().frReport2.Template.Pages[0].Objects.pop_back();
    messages.shown.clear();
    const QString missing = dir.filePath(QStringLiteral("no/m.rtf"));
    AnswerNextSaveDialog(missing);
    calc().ExportBtn->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Cannot create file " + missing.toStdString() + ": No such file or directory");
    // The engine's own errors have their box captioned "Error"; a file error is one of the
    // program's, in its standard box like the date's and the calculator's.
    EXPECT_EQ(messages.shown[0].caption, "Quillon");
}

TEST_F(ExportCommand, PrintAfterAFailedOrCancelledPreparationOpensNoDialog) {
    calc().Data->setText(QStringLiteral("MARY"));
    int dialogs = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&dialogs] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ++dialogs;
            modal->close();
        }
    });
    watch.start(10);
    // Failed: a name that nothing answers. The box, and no print dialog.
    auto memo = std::make_unique<TfrMemoView>();
    memo->Name = "Unanswered";
    memo->Memo = {"[Nowhere]"};
    calc().frReport1.Template.Pages[0].Objects.push_back(std::move(memo));
    calc().frReport1.ShowProgress = false;
    calc().PrintBtn->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Error");
    calc().frReport1.Template.Pages[0].Objects.pop_back();
    // Cancelled in the progress window: nothing at all.
    test::FakeProgress progress;
    progress.CancelAt(1);
    calc().frReport1.Environment.progress = &progress;
    calc().frReport1.ShowProgress = true;
    calc().PrintBtn->click();
    EXPECT_EQ(messages.shown.size(), 1u);
    QApplication::processEvents();
    EXPECT_EQ(dialogs, 0) << "no print dialog opened";
}

TEST_F(ExportCommand, ACommandLineExportThatCannotWriteFails) {
    QString errors;
    EXPECT_EQ(RunQuillon({QStringLiteral("export"), QStringLiteral("-o"), dir.filePath(QStringLiteral("no/such/m.rtf")),
                          QStringLiteral("MARY")},
                         &errors),
              kExitFailure);
    EXPECT_TRUE(errors.startsWith(QStringLiteral("quillon: Cannot create file "))) << errors.toStdString();
    EXPECT_EQ(RunQuillon({QStringLiteral("export"), QStringLiteral("MARY")}), kExitUsage) << "-o is needed";
    EXPECT_EQ(RunQuillon({QStringLiteral("export"), QStringLiteral("--date"), QStringLiteral("2/31/2000"),
                          QStringLiteral("-o"), dir.filePath(QStringLiteral("m.rtf")), QStringLiteral("MARY")}),
              kExitUsage);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("m.rtf"))));
}

}  // namespace
}  // namespace quillon
