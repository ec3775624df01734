#pragma once
// The user's regional settings and today's date, as the date calculator needs them. Both come from
// the system (QLocale(), which follows LANG and LC_TIME unless a default is set, and the clock);
// tests pin them with QLocale::setDefault and PinToday.

#include <QLocale>
#include <optional>

#include "numerology/Dates.h"

namespace quillon {

// The short date format and short month names of the locale.
DateSettings DateSettingsFor(const QLocale& locale);
// Those of the current locale.
DateSettings CurrentDateSettings();

CivilDate Today();
// Makes Today() answer the given date; nothing unpins it.
void PinToday(std::optional<CivilDate> date);

}  // namespace quillon
