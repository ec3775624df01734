#include "windows/analysis/DateEdit.h"

#include <QAction>
#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QTimer>

#include "common/Messages.h"
#include "platform/Regional.h"
#include "windows/Controls.h"
#include "windows/analysis/DateCalendar.h"

namespace quillon {

TOvcDateEdit::TOvcDateEdit(QWidget* parent) : QLineEdit(parent), settings_(CurrentDateSettings()) {
    QAction* dropDown = addAction(ui::ImageIcon(QStringLiteral("dropdown")), QLineEdit::TrailingPosition);
    dropDown->setObjectName(QStringLiteral("DropDown"));
    // The text names the drop-down button to screen readers; the button shows only its image.
    dropDown->setText(QStringLiteral("Calendar"));
    dropDown->setToolTip(QStringLiteral("Calendar (F4)"));
    connect(dropDown, &QAction::triggered, this, &TOvcDateEdit::OpenCalendar);
}

DateCalendarPopup* TOvcDateEdit::Calendar() {
    if (!calendar_) {
        calendar_ = new DateCalendarPopup(this);
        connect(calendar_, &DateCalendarPopup::DayChosen, this, [this](const QDate& date) {
            SetDate({date.year(), date.month(), date.day()});
            setFocus();
        });
    }
    return calendar_;
}

void TOvcDateEdit::SetSettings(const DateSettings& settings) { settings_ = settings; }

void TOvcDateEdit::SetDate(const CivilDate& date) { setText(QString::fromStdU16String(FormatDate(date, settings_))); }

DateReading TOvcDateEdit::ReadText() {
    DateReading reading = ReadDate(text().toUpper().toStdU16String(), settings_, Today());
    if (const auto* date = std::get_if<CivilDate>(&reading)) {
        const QString shown = QString::fromStdU16String(FormatDate(*date, settings_));
        if (shown != text()) setText(shown);
    }
    return reading;
}

void TOvcDateEdit::OpenCalendar() {
    QDate current;
    const DateReading reading = ReadText();
    if (const auto* date = std::get_if<CivilDate>(&reading)) current = QDate(date->year, date->month, date->day);
    Calendar()->Open(this, current);
}

void TOvcDateEdit::keyPressEvent(QKeyEvent* event) {
    const bool altDown = event->key() == Qt::Key_Down && event->modifiers() == Qt::AltModifier;
    if ((event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier) || altDown) {
        OpenCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TOvcDateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Only a move of the focus to another control of the window reads the field: not the calendar
    // popping up, not another window (a message box) taking over.
    switch (event->reason()) {
        case Qt::PopupFocusReason:
        case Qt::ActiveWindowFocusReason:
        case Qt::MenuBarFocusReason:
        case Qt::NoFocusReason: return;
        case Qt::MouseFocusReason:
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::OtherFocusReason: break;
    }
    const DateReading reading = ReadText();
    if (const auto* error = std::get_if<DateError>(&reading)) {
        // Shown once the focus has settled, unless a calculation reports the same text first.
        pendingExitError_ = error->message;
        QTimer::singleShot(0, this, [this] {
            if (!pendingExitError_) return;
            const std::string message = *pendingExitError_;
            pendingExitError_.reset();
            ShowApplicationError(message);
        });
    }
}

}  // namespace quillon
