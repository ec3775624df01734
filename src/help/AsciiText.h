#pragma once
// Letter case of ASCII text, as help addresses, command-line switches and HTML names compare it:
// only A to Z change, every other byte stays as it is.

#include <string>
#include <string_view>

namespace quillon {

inline std::string AsciiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

}  // namespace quillon
