#include "batch/Csv.h"

#include <array>
#include <cstring>

namespace quillon::batch {
namespace {

// The state after one byte, for every byte but the newline that ends a record. The scanner and
// the reader below both follow it, so that they agree on where records end.
CsvState Next(CsvState state, char c) {
    switch (state) {
        case CsvState::FieldStart:
            if (c == '"') return CsvState::Quoted;
            return c == ',' ? CsvState::FieldStart : CsvState::Unquoted;
        case CsvState::Unquoted: return c == ',' ? CsvState::FieldStart : CsvState::Unquoted;
        case CsvState::Quoted: return c == '"' ? CsvState::QuoteSeen : CsvState::Quoted;
        case CsvState::QuoteSeen:
            if (c == '"') return CsvState::Quoted;
            return c == ',' ? CsvState::FieldStart : CsvState::Unquoted;
    }
    return state;
}

// A backslash and the letter that stands for an escaped character.
char* Escaped(char* out, char letter) {
    *out++ = '\\';
    *out++ = letter;
    return out;
}

}  // namespace

std::size_t CountLineEnds(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = NextLineEnd(text, 0); at != std::string_view::npos;
         at = NextLineEnd(text, AfterLineEnd(text, at))) {
        ++count;
    }
    return count;
}

std::size_t FirstLineEnd(std::string_view text) {
    const std::size_t at = NextLineEnd(text, 0);
    if (at == std::string_view::npos || (text[at] == '\r' && at + 1 == text.size())) return std::string_view::npos;
    return AfterLineEnd(text, at);
}

std::size_t LastLineEnd(std::string_view text) {
    for (std::size_t at = text.find_last_of("\r\n"); at != std::string_view::npos;
         at = text.find_last_of("\r\n", at - 1)) {
        // A line feed ends a line, and so does a carriage return whose next byte is known and is no line feed.
        if (text[at] == '\n' || (at + 1 < text.size() && text[at + 1] != '\n')) return at + 1;
        if (at == 0) break;
    }
    return std::string_view::npos;
}

std::size_t CsvBoundaryScanner::LastRecordEnd(std::string_view text) { return Scan(text, false); }

std::size_t CsvBoundaryScanner::FirstRecordEnd(std::string_view text) { return Scan(text, true); }

std::size_t CsvBoundaryScanner::Scan(std::string_view text, bool stopAtFirst) {
    std::size_t last = std::string_view::npos;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    if (carriageReturnPending_ && begin < end) {
        // The carriage return that ended the last block ended a record there, unless a line feed
        // follows it, which the loop takes as the record's end.
        carriageReturnPending_ = false;
        if (*begin != '\n') {
            state_ = CsvState::FieldStart;
            last = 0;
            if (stopAtFirst) return last;
        }
    }
    for (const char* p = begin; p < end;) {
        if (state_ == CsvState::Quoted) {
            // Inside quotes only a quote matters; skip to it.
            const void* quote = std::memchr(p, '"', static_cast<std::size_t>(end - p));
            if (quote == nullptr) break;
            p = static_cast<const char*>(quote) + 1;
            state_ = CsvState::QuoteSeen;
            continue;
        }
        const char c = *p++;
        if (c == '\r' && p == end) {
            carriageReturnPending_ = true;
        } else if (c == '\n' || (c == '\r' && *p != '\n')) {
            state_ = CsvState::FieldStart;
            last = static_cast<std::size_t>(p - begin);
            if (stopAtFirst) break;
        } else if (c != '\r') {
            state_ = Next(state_, c);
        }
    }
    return last;
}

CsvRecord ReadCsvRecord(std::string_view text, std::size_t begin, std::vector<std::string>& fields,
                        std::size_t& fieldCount) {
    CsvRecord record;
    fieldCount = 0;
    auto startField = [&]() -> std::string& {
        if (fieldCount == fields.size()) fields.emplace_back();
        std::string& field = fields[fieldCount++];
        field.clear();
        return field;
    };
    std::string* field = &startField();
    CsvState state = CsvState::FieldStart;
    std::size_t i = begin;
    std::size_t contentEnd = text.size();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const bool lineEnd = c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
        if ((c == '\n' || c == '\r') && state != CsvState::Quoted) {
            contentEnd = i;
            i = AfterLineEnd(text, i);
            ++record.newlines;
            break;
        }
        if (lineEnd) ++record.newlines;
        const CsvState next = Next(state, c);
        // Quotes that open or close a field, and the first of a doubled pair, are not content;
        // the separating comma is not either.
        const bool content = !(c == ',' && next == CsvState::FieldStart) &&
                             !(c == '"' && state == CsvState::FieldStart) && !(c == '"' && state == CsvState::Quoted);
        if (c == ',' && next == CsvState::FieldStart) {
            field = &startField();
        } else if (content) {
            *field += c;
        }
        state = next;
    }
    record.end = i;
    record.closed = state != CsvState::Quoted;
    record.blank = fieldCount == 1 && contentEnd == begin;
    return record;
}

char* PutCsvField(char* out, std::string_view field) {
    // Copied as it is while nothing needs quoting, which is nearly always; written again between
    // quotes when something does.
    // The characters that make a field need quotes.
    static constexpr auto kQuoted = [] {
        std::array<bool, 256> quoted{};
        for (unsigned char c : {',', '"', '\r', '\n'}) quoted[c] = true;
        return quoted;
    }();
    char* const start = out;
    for (char c : field) {
        if (kQuoted[static_cast<unsigned char>(c)]) {
            out = start;
            *out++ = '"';
            for (char d : field) {
                if (d == '"') *out++ = '"';
                *out++ = d;
            }
            *out++ = '"';
            return out;
        }
        *out++ = c;
    }
    return out;
}

char* PutTsvField(char* out, std::string_view field) {
    for (char c : field) {
        switch (c) {
            case '\t': out = Escaped(out, 't'); break;
            case '\n': out = Escaped(out, 'n'); break;
            case '\r': out = Escaped(out, 'r'); break;
            case '\\': out = Escaped(out, '\\'); break;
            default: *out++ = c; break;
        }
    }
    return out;
}

char* PutJsonString(char* out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    *out++ = '"';
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out = Escaped(out, c);
        } else if (byte >= 0x20) {
            *out++ = c;
        } else if (c == '\n') {
            out = Escaped(out, 'n');
        } else if (c == '\r') {
            out = Escaped(out, 'r');
        } else if (c == '\t') {
            out = Escaped(out, 't');
        } else {
            std::memcpy(out, "\\u00", 4);
            out += 4;
            *out++ = kHex[byte >> 4];
            *out++ = kHex[byte & 0xF];
        }
    }
    *out++ = '"';
    return out;
}

}  // namespace quillon::batch
