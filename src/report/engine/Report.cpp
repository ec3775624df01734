#include "report/engine/Report.h"

#include "platform/Messages.h"
#include "report/content/TemplateStream.h"

namespace quillon {

const TemplateVariable* TemplateVariables::Find(std::string_view name) const {
    auto equal = [](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            char x = a[i], y = b[i];
            if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
            if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
            if (x != y) return false;
        }
        return true;
    };
    for (const TemplateVariable& variable : Variables) {
        if (!variable.Name.empty() && variable.Name.front() == ' ') continue;
        if (equal(variable.Name, name)) return &variable;
    }
    return nullptr;
}

void TemplateVariables::Clear() {
    Variables.clear();
    FieldAliases.clear();
    BandDataSources.clear();
}

DateTime ToDateTime(int year, int month, int day, int hour, int minute, int second) {
    // Days from the civil date (proleptic Gregorian), counted from 1899-12-30.
    auto daysFromCivil = [](int y, int m, int d) {
        y -= m <= 2;
        const int era = (y >= 0 ? y : y - 399) / 400;
        const int yearOfEra = y - era * 400;
        const int dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
        return static_cast<long long>(era) * 146097 + dayOfEra - 719468;
    };
    const long long days = daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

bool TfrReport::LoadTemplate(std::span<const std::uint8_t> stream, DateTime now) {
    const TemplateLoad outcome = ReadTemplate(stream, Template, printer_, now);
    if (!outcome.ok) CurrentMessages().Show("Error", outcome.error, MessageIcon::Error);
    return outcome.ok;
}

std::vector<std::uint8_t> TfrReport::SaveTemplate(DateTime now) const {
    const std::string printerName = printer_.IsVirtual() ? std::string(kVirtualPrinterMarker)
                                                         : printer_.Printers()[static_cast<std::size_t>(printer_.PrinterIndex())];
    return WriteTemplate(Template, printerName, now);
}

}  // namespace quillon
