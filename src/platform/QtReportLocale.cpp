#include "platform/QtReportLocale.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace quillon {

std::string QtReportLocale::ShortDate(const DateValue& date) const {
    return QLocale().toString(QDate(date.year, date.month, date.day), QLocale::ShortFormat).toStdString();
}

std::string QtReportLocale::LongDate(const DateValue& date) const {
    return QLocale().toString(QDate(date.year, date.month, date.day), QLocale::LongFormat).toStdString();
}

std::string QtReportLocale::Time(const TimeValue& time) const {
    // The time of day with seconds, as the locale writes it, without a time zone.
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale().toString(QTime(time.hour, time.minute, time.second), format.trimmed()).toStdString();
}

char QtReportLocale::DecimalSeparator() const {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.front().unicode() < 128 ? static_cast<char>(point.front().unicode()) : '.';
}

}  // namespace quillon
