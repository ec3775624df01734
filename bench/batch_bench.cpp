// The batch run end to end: generated names to CSV, with one and with two worker threads.
//
// BM_BatchInMemory runs a million names from memory into a sink that drops them: the cost of
// reading, analysing and formatting alone. BM_BatchFileToDevNull is the figure the command gives:
// a 10-million-line file of generated names (written once to $TMPDIR, or read from
// QUILLON_BENCH_NAMES) to /dev/null through the program's own input and output files.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "batch/BatchRun.h"
#include "batch/InputFile.h"
#include "common/SafeSave.h"
#include "support/NameGenerator.h"

namespace {

using quillon::batch::BatchOptions;

std::string GeneratedNames(std::uint64_t count) {
    quillon::NameGenerator generator(42);
    std::string text;
    for (std::uint64_t i = 0; i < count; ++i) {
        text += generator.Next();
        text += '\n';
    }
    return text;
}

void ReportNames(benchmark::State& state, std::uint64_t names) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * names));
    state.counters["threads"] = static_cast<double>(state.range(0));
}

void BM_BatchInMemory(benchmark::State& state) {
    constexpr std::uint64_t kNames = 1'000'000;
    static const std::string input = GeneratedNames(kNames);
    BatchOptions options;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::size_t at = 0;
        std::uint64_t written = 0;
        const auto outcome = quillon::batch::RunBatch(
            options,
            [&](char* buffer, std::size_t size) {
                const std::size_t n = std::min(size, input.size() - at);
                std::copy_n(input.data() + at, n, buffer);
                at += n;
                return quillon::batch::ReadResult{n, std::nullopt};
            },
            [&](std::string_view bytes) {
                written += bytes.size();
                return std::optional<std::string>{};
            });
        benchmark::DoNotOptimize(written);
        if (outcome.failure) state.SkipWithError(outcome.failure->c_str());
    }
    ReportNames(state, kNames);
}
BENCHMARK(BM_BatchInMemory)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 10-million-line file, written on first use unless QUILLON_BENCH_NAMES names one.
const std::string& NamesFile() {
    static const std::string path = [] {
        if (const char* given = std::getenv("QUILLON_BENCH_NAMES")) return std::string(given);
        const std::string file = (std::filesystem::temp_directory_path() / "quillon-bench-names.txt").string();
        if (!std::filesystem::exists(file)) {
            quillon::NameGenerator generator(42);
            std::ofstream out(file, std::ios::binary);
            std::string block;
            for (int i = 0; i < 10'000'000; ++i) {
                block += generator.Next();
                block += '\n';
                if (block.size() > (1 << 20)) {
                    out << block;
                    block.clear();
                }
            }
            out << block;
        }
        return file;
    }();
    return path;
}

void BM_BatchFileToDevNull(benchmark::State& state) {
    const std::string& path = NamesFile();
    BatchOptions options;
    options.threads = static_cast<int>(state.range(0));
    std::uint64_t names = 0;
    for (auto _ : state) {
        quillon::batch::InputFile input;
        quillon::SafeSave output;
        if (auto error = input.Open(path)) state.SkipWithError(error->c_str());
        if (auto error = output.Open("/dev/null")) state.SkipWithError(error->c_str());
        const auto outcome = quillon::batch::RunBatch(
            options, [&](char* buffer, std::size_t size) { return input.Read(buffer, size); },
            [&](std::string_view bytes) -> std::optional<std::string> {
                if (output.Write(bytes)) return std::nullopt;
                return std::string(quillon::kStreamWriteError);
            });
        if (outcome.failure) state.SkipWithError(outcome.failure->c_str());
        (void)output.Commit();
        names = outcome.rowsRead;
    }
    ReportNames(state, names);
}
BENCHMARK(BM_BatchFileToDevNull)->Arg(1)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
