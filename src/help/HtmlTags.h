#pragma once
// The tags of HTML as the help's pages and lists write them, read one at a time from the "<" that
// opens them. Shared by the reading of the sitemap lists and the laying out of pages as text.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

struct Tag {
    std::string name;                                             // lower case, with a leading "/" for an end tag
    std::vector<std::pair<std::string, std::string>> attributes;  // names in lower case, values decoded

    std::string Attribute(std::string_view wanted) const {
        for (const auto& [name, value] : attributes) {
            if (name == wanted) return value;
        }
        return {};
    }
};

// Reads the tag whose "<" stands at the start of text; returns its length with the tag, or 0 when
// the text holds no complete tag there.
std::size_t ReadTag(std::string_view text, Tag& tag);

// Whether the text starts with the lower-case ASCII word, in any letter case.
bool StartsWithLowerCase(std::string_view text, std::string_view word);

}  // namespace quillon
