#include "windows/analysis/DateCalendar.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/Regional.h"
#include "platform/ScreenPlace.h"
#include "windows/Controls.h"

namespace quillon {
namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kGrey(0x80, 0x80, 0x80);

QDate ToQDate(const CivilDate& date) { return QDate(date.year, date.month, date.day); }

}  // namespace

DateCalendarPopup::DateCalendarPopup(QWidget* parent) : QFrame(parent, Qt::Popup) {
    setObjectName(QStringLiteral("DateCalendarPopup"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setFixedSize(kWidth, kHeight);
    setFont(ui::PointFont(QStringLiteral("MS Sans Serif"), 8, false));

    calendar_ = new QCalendarWidget(this);
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setGridVisible(false);
    calendar_->installEventFilter(this);
    for (QWidget* child : calendar_->findChildren<QWidget*>()) child->installEventFilter(this);
    StyleCalendar();
    // The popup and the calendar's month arrows, which show only pictures, are named for screen readers.
    setAccessibleName(QStringLiteral("Calendar"));
    const std::pair<const char*, const char*> arrows[] = {{"qt_calendar_prevmonth", "Previous month"},
                                                          {"qt_calendar_nextmonth", "Next month"}};
    for (const auto& [objectName, name] : arrows) {
        if (auto* arrow = calendar_->findChild<QToolButton*>(QString::fromLatin1(objectName))) {
            arrow->setAccessibleName(QString::fromLatin1(name));
        }
    }

    today_ = new QPushButton(QStringLiteral("Today"), this);
    revert_ = new QPushButton(QStringLiteral("Revert"), this);
    for (QPushButton* button : {today_, revert_}) button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(today_);
    buttons->addWidget(revert_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(calendar_);
    layout->addLayout(buttons);

    connect(calendar_, &QCalendarWidget::clicked, this, &DateCalendarPopup::Choose);
    connect(calendar_, &QCalendarWidget::activated, this, &DateCalendarPopup::Choose);
    connect(today_, &QPushButton::clicked, this, [this] { calendar_->setSelectedDate(ToQDate(Today())); });
    connect(revert_, &QPushButton::clicked, this, [this] { calendar_->setSelectedDate(original_); });
}

void DateCalendarPopup::StyleCalendar() {
    // Days black (the text colour), the weekend red, the day names maroon; the selected day red;
    // the month and the year of the navigation bar blue. Days of the neighbouring months grey. A
    // format for the working days would also colour their names, so they keep the text colour.
    QTextCharFormat weekend;
    weekend.setForeground(kRed);
    for (Qt::DayOfWeek day : {Qt::Monday, Qt::Tuesday, Qt::Wednesday, Qt::Thursday, Qt::Friday}) {
        calendar_->setWeekdayTextFormat(day, QTextCharFormat());
    }
    calendar_->setWeekdayTextFormat(Qt::Saturday, weekend);
    calendar_->setWeekdayTextFormat(Qt::Sunday, weekend);
    QTextCharFormat header;
    header.setForeground(kMaroon);
    calendar_->setHeaderTextFormat(header);

    QPalette palette = calendar_->palette();
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Text, kGrey);
    calendar_->setPalette(palette);
    calendar_->setStyleSheet(QStringLiteral(
        "QToolButton#qt_calendar_monthbutton, QToolButton#qt_calendar_yearbutton { color: blue; }"
        "QWidget#qt_calendar_navigationbar { background: white; }"
        "QCalendarWidget QAbstractItemView { selection-background-color: red; selection-color: white; }"));
}

QRect PopupPlace(const QRect& anchor, const QSize& size, const QRect& available) {
    QRect place(QPoint(anchor.left(), anchor.bottom() + 1), size);
    // Below the field when it fits there, else above it.
    if (place.bottom() > available.bottom() && anchor.top() - size.height() >= available.top()) {
        place.moveBottom(anchor.top() - 1);
    }
    place.moveTopLeft(KeepInside(place, available));
    return place;
}

void DateCalendarPopup::Open(QWidget* anchor, const QDate& current) {
    original_ = current.isValid() ? current : ToQDate(Today());
    calendar_->setSelectedDate(original_);
    const QRect field(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QScreen* screen = anchor->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(field.topLeft(), size() * 4);
    move(PopupPlace(field, size(), available).topLeft());
    show();
    calendar_->setFocus();
}

void DateCalendarPopup::Choose(const QDate& date) {
    hide();
    emit DayChosen(date);
}

bool DateCalendarPopup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Space: Choose(calendar_->selectedDate()); return true;
            case Qt::Key_Escape: hide(); return true;
            default: break;
        }
    }
    return QFrame::eventFilter(watched, event);
}

}  // namespace quillon
