#pragma once
// The drop-down calendar of the date field: a month page with Today and Revert buttons, shown as a
// popup below the field. Choosing a day (a click, Enter or Space) hands the day out and closes;
// Escape or a click outside closes without a choice.

#include <QDate>
#include <QFrame>

class QCalendarWidget;
class QPushButton;

namespace quillon {

class DateCalendarPopup : public QFrame {
    Q_OBJECT

public:
    static constexpr int kWidth = 270;
    static constexpr int kHeight = 240;

    explicit DateCalendarPopup(QWidget* parent);

    // Opens below the anchor widget, aligned with its left edge, showing the given day (the one the
    // Revert button goes back to).
    void Open(QWidget* anchor, const QDate& current);

    QCalendarWidget* Calendar() const { return calendar_; }
    QPushButton* TodayButton() const { return today_; }
    QPushButton* RevertButton() const { return revert_; }

signals:
    void DayChosen(const QDate& date);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(const QDate& date);
    void StyleCalendar();

    QCalendarWidget* calendar_ = nullptr;
    QPushButton* today_ = nullptr;
    QPushButton* revert_ = nullptr;
    QDate original_;
};

// Where the popup of the given size stands for a field at anchor (global coordinates): below the
// field and aligned with its left edge, moved so that all of it lies on the available part of the
// screen (above the field when there is no room below).
QRect PopupPlace(const QRect& anchor, const QSize& size, const QRect& available);

}  // namespace quillon
