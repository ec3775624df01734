#include "platform/Regional.h"

#include <QDate>
#include <QTime>

namespace quillon {
namespace {

std::optional<CivilDate>& PinnedToday() {
    static std::optional<CivilDate> pinned;
    return pinned;
}

}  // namespace

DateSettings DateSettingsFor(const QLocale& locale) {
    std::array<std::u16string, 12> months;
    for (int month = 1; month <= 12; ++month) {
        months[static_cast<std::size_t>(month - 1)] = locale.monthName(month, QLocale::ShortFormat).toStdU16String();
    }
    DateSettings settings = ParseShortDateFormat(locale.dateFormat(QLocale::ShortFormat).toStdU16String(), months);
    for (int month = 1; month <= 12; ++month) {
        settings.upperMonthNames[static_cast<std::size_t>(month - 1)] =
            locale.monthName(month, QLocale::ShortFormat).toUpper().toStdU16String();
    }
    return settings;
}

DateSettings CurrentDateSettings() { return DateSettingsFor(QLocale()); }

CivilDate Today() {
    if (PinnedToday()) return *PinnedToday();
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

DateTime Now() {
    const QTime time = QTime::currentTime();
    const CivilDate today = Today();
    return ToDateTime(today.year, today.month, today.day, time.hour(), time.minute(), time.second());
}

void PinToday(std::optional<CivilDate> date) { PinnedToday() = date; }

}  // namespace quillon
