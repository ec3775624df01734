#pragma once
// Locale identifiers: the 16-bit numbers by which the log's header names the user's language and
// territory (0x0409 for English in the United States), as the help systems of other platforms
// write them. The low 10 bits are the primary language, the high 6 bits the sub-language.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// The identifier of a language and a territory given by their codes ("en", "GB"); 0 for a pair
// that the table does not hold.
std::uint16_t LocaleIdentifier(std::string_view language, std::string_view territory);

inline std::uint16_t PrimaryLanguageId(std::uint16_t localeId) { return localeId & 0x3FF; }
inline std::uint16_t SubLanguageId(std::uint16_t localeId) { return localeId >> 10; }

// "0x" with four hex digits and the decimal value in brackets: "0x0809 (2057)".
std::string LocaleIdText(std::uint16_t id);

}  // namespace quillon
