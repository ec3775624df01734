#pragma once
// A fixture for commands that read dates: dates are read the way the en_GB locale writes them,
// and today is fixed, so that results do not depend on the machine or the day.

#include <QLocale>
#include <gtest/gtest.h>

#include "platform/Regional.h"

namespace quillon {

class PinnedDates : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale("en_GB"));
        PinToday(CivilDate{2026, 12, 7});
    }
    void TearDown() override {
        PinToday(std::nullopt);
        QLocale::setDefault(QLocale::c());
    }
};

}  // namespace quillon
