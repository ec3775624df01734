#include "help/LocaleIds.h"

#include <array>
#include <cstdio>

namespace quillon {
namespace {

struct LocaleId {
    std::string_view language;
    std::string_view territory;
    std::uint16_t id;
};

// The locales most often met, by language code and then by identifier.
constexpr std::array kLocaleIds{
    LocaleId{"af", "ZA", 0x0436}, LocaleId{"ar", "SA", 0x0401}, LocaleId{"ar", "EG", 0x0C01},
    LocaleId{"ar", "MA", 0x1801}, LocaleId{"ar", "AE", 0x3801}, LocaleId{"az", "AZ", 0x042C},
    LocaleId{"be", "BY", 0x0423}, LocaleId{"bg", "BG", 0x0402}, LocaleId{"bn", "IN", 0x0445},
    LocaleId{"bn", "BD", 0x0845}, LocaleId{"ca", "ES", 0x0403}, LocaleId{"cs", "CZ", 0x0405},
    LocaleId{"cy", "GB", 0x0452}, LocaleId{"da", "DK", 0x0406}, LocaleId{"de", "DE", 0x0407},
    LocaleId{"de", "CH", 0x0807}, LocaleId{"de", "AT", 0x0C07}, LocaleId{"de", "LU", 0x1007},
    LocaleId{"de", "LI", 0x1407}, LocaleId{"el", "GR", 0x0408}, LocaleId{"en", "US", 0x0409},
    LocaleId{"en", "GB", 0x0809}, LocaleId{"en", "AU", 0x0C09}, LocaleId{"en", "CA", 0x1009},
    LocaleId{"en", "NZ", 0x1409}, LocaleId{"en", "IE", 0x1809}, LocaleId{"en", "ZA", 0x1C09},
    LocaleId{"en", "JM", 0x2009}, LocaleId{"en", "PH", 0x3409}, LocaleId{"en", "IN", 0x4009},
    LocaleId{"en", "MY", 0x4409}, LocaleId{"en", "SG", 0x4809}, LocaleId{"es", "MX", 0x080A},
    LocaleId{"es", "ES", 0x0C0A}, LocaleId{"es", "GT", 0x100A}, LocaleId{"es", "VE", 0x200A},
    LocaleId{"es", "CO", 0x240A}, LocaleId{"es", "PE", 0x280A}, LocaleId{"es", "AR", 0x2C0A},
    LocaleId{"es", "EC", 0x300A}, LocaleId{"es", "CL", 0x340A}, LocaleId{"es", "UY", 0x380A},
    LocaleId{"es", "US", 0x540A}, LocaleId{"et", "EE", 0x0425}, LocaleId{"eu", "ES", 0x042D},
    LocaleId{"fa", "IR", 0x0429}, LocaleId{"fi", "FI", 0x040B}, LocaleId{"fil", "PH", 0x0464},
    LocaleId{"fr", "FR", 0x040C}, LocaleId{"fr", "BE", 0x080C}, LocaleId{"fr", "CA", 0x0C0C},
    LocaleId{"fr", "CH", 0x100C}, LocaleId{"fr", "LU", 0x140C}, LocaleId{"ga", "IE", 0x083C},
    LocaleId{"gl", "ES", 0x0456}, LocaleId{"gu", "IN", 0x0447}, LocaleId{"he", "IL", 0x040D},
    LocaleId{"hi", "IN", 0x0439}, LocaleId{"hr", "HR", 0x041A}, LocaleId{"hu", "HU", 0x040E},
    LocaleId{"hy", "AM", 0x042B}, LocaleId{"id", "ID", 0x0421}, LocaleId{"is", "IS", 0x040F},
    LocaleId{"it", "IT", 0x0410}, LocaleId{"it", "CH", 0x0810}, LocaleId{"ja", "JP", 0x0411},
    LocaleId{"ka", "GE", 0x0437}, LocaleId{"kk", "KZ", 0x043F}, LocaleId{"kn", "IN", 0x044B},
    LocaleId{"ko", "KR", 0x0412}, LocaleId{"lt", "LT", 0x0427}, LocaleId{"lv", "LV", 0x0426},
    LocaleId{"mk", "MK", 0x042F}, LocaleId{"ml", "IN", 0x044C}, LocaleId{"mr", "IN", 0x044E},
    LocaleId{"ms", "MY", 0x043E}, LocaleId{"mt", "MT", 0x043A}, LocaleId{"nb", "NO", 0x0414},
    LocaleId{"nl", "NL", 0x0413}, LocaleId{"nl", "BE", 0x0813}, LocaleId{"nn", "NO", 0x0814},
    LocaleId{"pa", "IN", 0x0446}, LocaleId{"pl", "PL", 0x0415}, LocaleId{"pt", "BR", 0x0416},
    LocaleId{"pt", "PT", 0x0816}, LocaleId{"ro", "RO", 0x0418}, LocaleId{"ru", "RU", 0x0419},
    LocaleId{"sk", "SK", 0x041B}, LocaleId{"sl", "SI", 0x0424}, LocaleId{"sq", "AL", 0x041C},
    LocaleId{"sv", "SE", 0x041D}, LocaleId{"sv", "FI", 0x081D}, LocaleId{"sw", "KE", 0x0441},
    LocaleId{"ta", "IN", 0x0449}, LocaleId{"te", "IN", 0x044A}, LocaleId{"th", "TH", 0x041E},
    LocaleId{"tr", "TR", 0x041F}, LocaleId{"uk", "UA", 0x0422}, LocaleId{"ur", "PK", 0x0420},
    LocaleId{"uz", "UZ", 0x0443}, LocaleId{"vi", "VN", 0x042A}, LocaleId{"zh", "TW", 0x0404},
    LocaleId{"zh", "CN", 0x0804}, LocaleId{"zh", "HK", 0x0C04}, LocaleId{"zh", "SG", 0x1004},
    LocaleId{"zh", "MO", 0x1404},
};

}  // namespace

std::uint16_t LocaleIdentifier(std::string_view language, std::string_view territory) {
    for (const LocaleId& locale : kLocaleIds) {
        if (locale.language == language && locale.territory == territory) return locale.id;
    }
    return 0;
}

std::string LocaleIdText(std::uint16_t id) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%04X (%u)", static_cast<unsigned>(id), static_cast<unsigned>(id));
    return text;
}

}  // namespace quillon
