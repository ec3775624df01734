#pragma once
// The user's regional settings and today's date, as the date calculator needs them. Both come from
// the system (QLocale(), which follows LANG and LC_TIME unless a default is set, and the clock);
// tests pin them with QLocale::setDefault and PinToday.

#include <QLocale>
#include <optional>

#include "numerology/Dates.h"
#include "report/format/DateTime.h"

namespace quillon {

// The short date format and short month names of the locale.
DateSettings DateSettingsFor(const QLocale& locale);
// Those of the current locale.
DateSettings CurrentDateSettings();

CivilDate Today();
// Now as days since 1899-12-30, the time of day as the fraction; today's date when pinned.
DateTime Now();
// Makes Today() answer the given date; nothing unpins it.
void PinToday(std::optional<CivilDate> date);

}  // namespace quillon
