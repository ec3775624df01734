#include "help/HtmlTags.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "common/Utf8.h"
#include "help/AsciiText.h"
#include "help/HelpHtml.h"

namespace quillon {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::optional<char32_t> NamedCharacter(std::string_view name) {
    if (name == "amp") return U'&';
    if (name == "lt") return U'<';
    if (name == "gt") return U'>';
    if (name == "quot") return U'"';
    if (name == "apos") return U'\'';
    if (name == "nbsp") return U'\u00A0';
    return std::nullopt;
}

std::optional<char32_t> NumericCharacter(std::string_view digits) {
    int base = 10;
    if (!digits.empty() && (digits.front() == 'x' || digits.front() == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value == 0 ||
        value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return static_cast<char32_t>(value);
}

}  // namespace

bool StartsWithLowerCase(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && AsciiLowerCase(text.substr(0, word.size())) == word;
}

std::size_t ReadTag(std::string_view text, Tag& tag) {
    std::size_t at = 1;
    const auto skipSpace = [&] {
        while (at < text.size() && IsSpace(text[at])) ++at;
    };
    const auto readName = [&] {
        const std::size_t start = at;
        while (at < text.size() && !IsSpace(text[at]) && text[at] != '>' && text[at] != '=' && text[at] != '/') ++at;
        return AsciiLowerCase(text.substr(start, at - start));
    };
    skipSpace();
    tag.name.clear();
    if (at < text.size() && text[at] == '/') {
        tag.name += '/';
        ++at;
    }
    tag.name += readName();
    tag.attributes.clear();
    while (true) {
        skipSpace();
        if (at >= text.size()) return 0;
        if (text[at] == '>') return at + 1;
        if (text[at] == '/') {
            ++at;
            continue;
        }
        std::string name = readName();
        if (name.empty()) {
            ++at;
            continue;
        }
        skipSpace();
        std::string value;
        if (at < text.size() && text[at] == '=') {
            ++at;
            skipSpace();
            if (at < text.size() && (text[at] == '"' || text[at] == '\'')) {
                const char quote = text[at++];
                const std::size_t end = text.find(quote, at);
                if (end == std::string_view::npos) return 0;
                value = DecodeHtmlText(text.substr(at, end - at));
                at = end + 1;
            } else {
                const std::size_t start = at;
                while (at < text.size() && !IsSpace(text[at]) && text[at] != '>') ++at;
                value = DecodeHtmlText(text.substr(start, at - start));
            }
        }
        tag.attributes.emplace_back(std::move(name), std::move(value));
    }
}

std::string DecodeHtmlText(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            const std::size_t semicolon = text.find(';', i);
            if (semicolon != std::string_view::npos && semicolon - i <= 10) {
                const std::string_view reference = text.substr(i + 1, semicolon - i - 1);
                const auto character = !reference.empty() && reference.front() == '#'
                                           ? NumericCharacter(reference.substr(1))
                                           : NamedCharacter(reference);
                if (character) {
                    AppendUtf8(decoded, *character);
                    i = semicolon;
                    continue;
                }
            }
        }
        decoded += text[i];
    }
    return decoded;
}

std::vector<SitemapEntry> ParseSitemap(std::string_view html) {
    std::vector<SitemapEntry> entries;
    int depth = -1;
    bool inObject = false;
    SitemapEntry entry;
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string_view::npos) {
        if (html.substr(at, 4) == "<!--") {
            const std::size_t end = html.find("-->", at + 4);
            if (end == std::string_view::npos) break;
            at = end + 3;
            continue;
        }
        Tag tag;
        const std::size_t length = ReadTag(html.substr(at), tag);
        if (length == 0) break;
        at += length;
        if (tag.name == "ul") {
            ++depth;
        } else if (tag.name == "/ul") {
            if (depth >= 0) --depth;
        } else if (tag.name == "object" && AsciiLowerCase(tag.Attribute("type")) == "text/sitemap") {
            inObject = true;
            entry = SitemapEntry{};
            entry.depth = depth < 0 ? 0 : depth;
        } else if (tag.name == "param" && inObject) {
            const std::string name = AsciiLowerCase(tag.Attribute("name"));
            // An index entry may name the keyword and then the page's title: the first name counts.
            if (name == "name" && entry.name.empty()) entry.name = tag.Attribute("value");
            if (name == "local" && entry.local.empty()) entry.local = tag.Attribute("value");
        } else if (tag.name == "/object" && inObject) {
            inObject = false;
            entries.push_back(entry);
        }
    }
    return entries;
}

}  // namespace quillon
