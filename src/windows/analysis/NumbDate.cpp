// The date calculator of the analysis window: the panel at its right edge, opening and closing it,
// the date field's key filter and the calculation.

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "common/Messages.h"
#include "platform/ScreenPlace.h"
#include "windows/Controls.h"
#include "windows/analysis/DateEdit.h"
#include "windows/analysis/Numb.h"
#include "windows/help/HelpService.h"

namespace quillon {
namespace {

QGroupBox* MakeFrame(QWidget* panel, const QRect& geometry, const QString& caption) {
    auto* frame = new QGroupBox(caption, panel);
    frame->setGeometry(geometry);
    frame->setFont(ui::SmallFont());
    return frame;
}

QLineEdit* MakeDateResult(QWidget* frame, int left, int top, const char* name) {
    QLineEdit* field = ui::MakeResultField(frame, {left, top, 106, 21}, ui::SmallFont(), {});
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

}  // namespace

void TCalcFrm::BuildDatePanel() {
    Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(472, 0, 142, kClientHeight);
    Panel3->setFont(ui::SmallFont());

    // The frames overlap slightly; each later one lies above the one before.
    QGroupBox* dateFrame = MakeFrame(Panel3, {8, 9, 126, 98}, QStringLiteral(" Date Calculator "));
    QGroupBox* monthFrame = MakeFrame(Panel3, {8, 92, 126, 74}, {});
    QGroupBox* dayFrame = MakeFrame(Panel3, {8, 154, 126, 70}, {});
    QGroupBox* nameFrame = MakeFrame(Panel3, {8, 205, 126, 107}, {});

    frSpeedButton1 = ui::MakeButton(dateFrame, {114, 7, 10, 10}, {}, QStringLiteral("Close Date Calculator"));
    frSpeedButton1->setObjectName(QStringLiteral("frSpeedButton1"));
    frSpeedButton1->setIcon(ui::ImageIcon(QStringLiteral("close")));
    frSpeedButton1->setIconSize(QSize(8, 8));
    frSpeedButton1->setFlat(true);
    frSpeedButton1->setFocusPolicy(Qt::NoFocus);

    DateEdit = new TOvcDateEdit(dateFrame);
    DateEdit->setObjectName(QStringLiteral("DateEdit"));
    DateEdit->setGeometry(12, 20, 106, 21);
    DateEdit->setFont(ui::SmallFont());
    DateEdit->setToolTip(QStringLiteral("Use your Short Date Format."));
    ui::MakeLabel(dateFrame, 12, 51, QStringLiteral("Date Total"), ui::SmallFont());
    DtTot = MakeDateResult(dateFrame, 10, 67, "DtTot");

    ui::MakeLabel(monthFrame, 10, 20, QStringLiteral("Month + Day"), ui::SmallFont());
    MnTot = MakeDateResult(monthFrame, 10, 37, "MnTot");

    ui::MakeLabel(dayFrame, 10, 17, QStringLiteral("Day"), ui::SmallFont());
    DyTot = MakeDateResult(dayFrame, 10, 34, "DyTot");

    ui::MakeLabel(nameFrame, 10, 26, QStringLiteral("Name + Date"), ui::SmallFont());
    NmDt = MakeDateResult(nameFrame, 10, 43, "NmDt");
    DtClearBtn = ui::MakeButton(nameFrame, {10, 75, 28, 25}, {}, QStringLiteral("Clear Date"), QStringLiteral("clear"));
    DtClearBtn->setObjectName(QStringLiteral("DtClearBtn"));
    DtHelpBtn = ui::MakeButton(nameFrame, {44, 75, 28, 25}, {}, QStringLiteral("Open Help"), QStringLiteral("help"));
    DtHelpBtn->setObjectName(QStringLiteral("DtHelpBtn"));
    DtCalcBtn = ui::MakeButton(nameFrame, {78, 75, 40, 25}, QStringLiteral("Calc"), QStringLiteral("Calculate Date"));
    DtCalcBtn->setObjectName(QStringLiteral("DtCalcBtn"));
}

void TCalcFrm::CalendarBtnClick() {
    if (!Panel3->isHidden()) {
        Panel3->hide();
        setFixedSize(kNarrowClientWidth, kClientHeight);
        // Undo what opening did, not more: a window that opening kept on the screen goes back
        // where it stood.
        move(pos() - datePanelMove_);
        datePanelMove_ = {};
        Data->setFocus();
    } else {
        Panel3->show();
        setFixedSize(kWideClientWidth, kClientHeight);
        // The wider window moves left; at an edge of the screen it is then moved back inside, so
        // that its close box and the panel stay within reach.
        QRect frame = frameGeometry().translated(-kDatePanelShift, 0);
        if (const QScreen* shownOn = screen()) frame.moveTopLeft(KeepInside(frame, shownOn->availableGeometry()));
        datePanelMove_ = frame.topLeft() - pos();
        move(frame.topLeft());
        DateEdit->setFocus();
    }
}

void TCalcFrm::frSpeedButton1Click() { CalendarBtnClick(); }

bool TCalcFrm::EsDateEdit1KeyPress(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            DtCalcBtn->setFocus();
            DtCalcBtnClick();
            return true;
        // Keys that type no character keep their meaning: editing, moving the caret or the focus.
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return false;
        default: break;
    }
    const QString text = event->text();
    if (text.isEmpty()) return false;
    static const QString allowed = QStringLiteral(" +,-./0123456789");
    if (text.size() == 1 && allowed.contains(text.front())) return false;
    QApplication::beep();
    return true;
}

void TCalcFrm::DtClearBtnClick() {
    state_.DateDigitSum = 0;
    for (QLineEdit* field : {DyTot, MnTot, DtTot, NmDt}) field->clear();
}

void TCalcFrm::DateEditChange() { DtClearBtn->click(); }

void TCalcFrm::DtCalcBtnClick() {
    DtClearBtn->click();
    DateEdit->CancelPendingExitError();
    const DateReading reading = DateEdit->ReadText();
    if (const auto* error = std::get_if<DateError>(&reading)) {
        ShowApplicationError(error->message);
        return;
    }
    const DateTotals totals = CalculateDate(std::get<CivilDate>(reading));
    DyTot->setText(QString::fromStdString(totals.dayTotal));
    MnTot->setText(QString::fromStdString(totals.monthDay));
    DtTot->setText(QString::fromStdString(totals.dateTotal));
    state_.DateDigitSum = totals.dateDigitSum;
    NmDt->setText(QString::fromStdString(NameDateChain(state_.GrandTotal, state_.DateDigitSum)));
}

void TCalcFrm::DtHelpBtnClick() { CurrentHelp().ShowTopic(helpFilePath_ + QStringLiteral("::/html/quil3x2q.htm")); }

}  // namespace quillon
