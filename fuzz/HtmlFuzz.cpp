// libFuzzer target for the HTML of help pages read without a browser: any bytes must come through
// the page layout for a terminal and through the reading of contents and index sitemaps without a
// crash, a read past the end, a hang or unbounded memory. A last byte below 8, which no page ends
// with, asks for a narrow width of four times its value, so that the layouts where tables have to
// shrink are tried as well as the usual one.

#include <cstdint>
#include <string_view>

#include "help/HelpHtml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    HtmlToText(html, size > 0 && data[size - 1] < 8 ? 4 * data[size - 1] : 78);
    ParseSitemap(html);
    return 0;
}
