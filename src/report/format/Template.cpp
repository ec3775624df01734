#include "report/format/Template.h"

namespace quillon {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

const TemplateVariable* TemplateVariables::Find(std::string_view name) const {
    for (const TemplateVariable& variable : Variables) {
        if (!variable.Name.empty() && variable.Name.front() == ' ') continue;
        if (SameNameIgnoringCase(variable.Name, name)) return &variable;
    }
    return nullptr;
}

void TemplateVariables::Clear() {
    Variables.clear();
    FieldAliases.clear();
    BandDataSources.clear();
}

}  // namespace quillon
