#pragma once
// The date field of the date calculator: a line edit with a drop-down calendar at its right end.
// It shows its date in the regional short date format (four-digit year, day and month two wide),
// reads typed text the regional way, and rewrites its text in that form when it reads it.

#include <QLineEdit>
#include <optional>

#include "numerology/Dates.h"

namespace quillon {

class DateCalendarPopup;

class TOvcDateEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TOvcDateEdit(QWidget* parent);

    // The regional settings come from the platform at creation; tests may set others.
    void SetSettings(const DateSettings& settings);
    const DateSettings& Settings() const { return settings_; }

    // Puts the date into the field in its display form.
    void SetDate(const CivilDate& date);

    // Reads the text (empty or "/" is today). On success the text is rewritten in display form.
    DateReading ReadText();

    // Drops the error that leaving the field with an unreadable text is about to show; the
    // calculation shows its own.
    void CancelPendingExitError() { pendingExitError_.reset(); }

    // The drop-down calendar, made when it is first wanted: a calendar costs as much to make as
    // the rest of the window's fields.
    DateCalendarPopup* Calendar();
    void OpenCalendar();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    // F4 and Alt+Down open the calendar, for those who work with the keyboard alone.
    void keyPressEvent(QKeyEvent* event) override;

private:
    DateSettings settings_;
    DateCalendarPopup* calendar_ = nullptr;
    std::optional<std::string> pendingExitError_;
};

}  // namespace quillon
