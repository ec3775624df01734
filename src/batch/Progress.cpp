#include "batch/Progress.h"

#include <cmath>
#include <cstdio>

namespace quillon::batch {
namespace {

std::string Bytes(std::uint64_t bytes) {
    static constexpr const char* kUnits[] = {"bytes", "kB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes);
    std::size_t unit = 0;
    while (value >= 1000.0 && unit + 1 < std::size(kUnits)) {
        value /= 1000.0;
        ++unit;
    }
    char text[32];
    if (unit == 0) {
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    } else {
        std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
    }
    return text;
}

std::string Duration(double seconds) {
    const auto total = static_cast<long long>(std::llround(seconds));
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", total / 60, total % 60);
    }
    return text;
}

}  // namespace

std::string FormatProgress(std::uint64_t bytesRead, std::optional<std::uint64_t> totalBytes, std::uint64_t rows,
                           double elapsedSeconds) {
    std::string line = "quillon: " + Bytes(bytesRead);
    if (totalBytes && *totalBytes > 0) {
        const auto percent =
            static_cast<int>(static_cast<double>(bytesRead) * 100.0 / static_cast<double>(*totalBytes));
        line += " of " + Bytes(*totalBytes) + " (" + std::to_string(percent) + "%)";
    } else {
        line += " read";
    }
    if (elapsedSeconds > 0) {
        line +=
            ", " + std::to_string(static_cast<std::uint64_t>(static_cast<double>(rows) / elapsedSeconds)) + " names/s";
    }
    if (totalBytes && bytesRead > 0 && bytesRead <= *totalBytes && elapsedSeconds > 0) {
        const double left =
            static_cast<double>(*totalBytes - bytesRead) * elapsedSeconds / static_cast<double>(bytesRead);
        line += ", " + Duration(left) + " left";
    }
    return line;
}

}  // namespace quillon::batch
