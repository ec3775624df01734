#pragma once
// The object stream of a prepared page: the version byte, then for every object its kind byte and
// its record in printing form (final position and text; none of the design record's format,
// script, visibility or highlight fields).

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/format/Views.h"

namespace quillon {

// Appends an object with its final text to a prepared page's stream.
void WritePrintingForm(std::vector<std::uint8_t>& stream, const TfrView& view, const std::vector<std::string>& text);

// Every object of a prepared page's stream, in order; nothing when the stream is damaged (a wrong
// version, an unknown kind, a record cut short).
std::optional<std::vector<std::unique_ptr<TfrView>>> ReadPrintingForms(std::span<const std::uint8_t> stream);

}  // namespace quillon
