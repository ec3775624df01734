// One typed character in the analysis window, from the key press to the updated fields, drawn
// off-screen and never painted.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <benchmark/benchmark.h>

#include "platform/FileDialogs.h"
#include "windows/analysis/Windows.h"

namespace {

void BM_TypedCharacter(benchmark::State& state) {
    quillon::TCalcFrm window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    const QString letters = QStringLiteral("MARYELIZABETHQUILLONSMYTHE");
    int next = 0;
    for (auto _ : state) {
        if (window.Data->text().size() >= 39) {
            state.PauseTiming();
            window.Data->clear();
            state.ResumeTiming();
        }
        QTest::keyClick(window.Data, letters.at(next).toLower().toLatin1());
        next = (next + 1) % static_cast<int>(letters.size());
    }
    benchmark::DoNotOptimize(window.Total->text());
}
BENCHMARK(BM_TypedCharacter);

// One Export of the export template: from the click through preparation to the closed file.
void BM_ExportClick(benchmark::State& state) {
    quillon::Windows windows;
    quillon::TCalcFrm& window = windows.CalcFrm;
    window.frReport2.ShowProgress = false;
    window.Data->setText(QStringLiteral("MARY ELIZABETH QUILLON-SMYTHE 12"));
    const QString file = QDir::temp().filePath(QStringLiteral("quillon-bench-click.rtf"));
    for (auto _ : state) {
        quillon::AnswerNextSaveDialog(file);
        window.ExportBtn->click();
    }
    QFile::remove(file);
}
BENCHMARK(BM_ExportClick)->Unit(benchmark::kMicrosecond);

// The windows of a start, created and shown off-screen: the part of start-up that is the
// program's own, after Qt and the fonts are loaded.
void BM_CreateWindows(benchmark::State& state) {
    for (auto _ : state) {
        quillon::Windows windows;
        windows.CalcFrm.setAttribute(Qt::WA_DontShowOnScreen);
        windows.CalcFrm.show();
        benchmark::DoNotOptimize(windows.CalcFrm.winId());
    }
}
BENCHMARK(BM_CreateWindows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
