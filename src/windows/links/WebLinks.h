#pragma once
// The web pages the links window offers, in the order the window shows them: the maker's own
// programs, a few sites of other businesses, and the donation page. The window and the "links"
// command both read this one list. Every address lies under a reserved example domain.

#include <array>
#include <string_view>

namespace quillon {

enum class LinkGroup { Maker, Other, Donation };

struct WebLink {
    std::string_view caption;
    std::string_view url;
    LinkGroup group;
};

// The group's name in the command line's JSON.
constexpr std::string_view GroupName(LinkGroup group) {
    switch (group) {
        case LinkGroup::Maker: return "maker";
        case LinkGroup::Other: return "other";
        case LinkGroup::Donation: return "donation";
    }
    return {};
}

inline constexpr std::array<WebLink, 10> kWebLinks{{
    {"Quillon Numerology", "https://www.farbrook-software.example/quillon/", LinkGroup::Maker},
    {"Tallowick Recipe Box", "https://www.farbrook-software.example/tallowick/", LinkGroup::Maker},
    {"Brindlemark Family Tree", "https://www.farbrook-software.example/brindlemark/", LinkGroup::Maker},
    {"Wexholm Verse Pad", "https://www.farbrook-software.example/wexholm/", LinkGroup::Maker},
    {"Corvale Star Charts", "https://www.farbrook-software.example/corvale/", LinkGroup::Maker},
    {"Pellith Label Maker", "https://www.farbrook-software.example/pellith/", LinkGroup::Maker},
    {"Hollowmere Tarot Studio", "https://www.hollowmere-tarot.example/", LinkGroup::Other},
    {"The Almanac Lantern", "https://almanac-lantern.example/", LinkGroup::Other},
    {"Saltbrook Crystal Shop", "https://www.saltbrook-crystals.example/", LinkGroup::Other},
    {"Make a Donation", "https://www.farbrook-software.example/donate/", LinkGroup::Donation},
}};

}  // namespace quillon
