#pragma once
// The user's regional formats for report values, from QLocale() (LANG and LC_TIME decide unless
// a default is set).

#include "report/engine/Values.h"

namespace quillon {

class QtReportLocale final : public ReportLocale {
public:
    std::string ShortDate(const DateValue& date) const override;
    std::string LongDate(const DateValue& date) const override;
    std::string Time(const TimeValue& time) const override;
    char DecimalSeparator() const override;
};

}  // namespace quillon
