#include "app/Y.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Controls.h"
#include "app/Numb.h"
#include "platform/ScreenPlace.h"

namespace quillon {

TYFrm::TYFrm(TCalcFrm& calcFrm)
    : QDialog(&calcFrm, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::MSWindowsFixedSizeDialogHint),
      calcFrm_(calcFrm) {
    setObjectName(QStringLiteral("YFrm"));
    setWindowTitle(QStringLiteral("Y Character"));
    setFont(ui::PointFont(QStringLiteral("MS Sans Serif"), 12, true));
    setFixedSize(384, 205);
    setModal(true);

    DataLb = ui::MakeLabel(this, 22, 14, {}, ui::RowFont());
    DataLb->setObjectName(QStringLiteral("DataLb"));
    DataLb->setMinimumWidth(340);
    DataBx = new QLineEdit(this);
    DataBx->setObjectName(QStringLiteral("DataBx"));
    DataBx->setGeometry(19, 35, 350, 24);
    DataBx->setFont(ui::RowFont());
    DataBx->setReadOnly(true);
    DataBx->setFocusPolicy(Qt::NoFocus);
    DataBx->setAccessibleName(QStringLiteral("Data up to this Y"));

    auto* panel = new QFrame(this);
    panel->setGeometry(55, 75, 266, 71);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(3);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    panel->setAutoFillBackground(true);
    Question = new QLabel(QStringLiteral("Do you want this \"Y\" to be interpreted as a vowel?"), panel);
    Question->setGeometry(panel->contentsRect().adjusted(4, 0, -4, 0));
    Question->setAlignment(Qt::AlignCenter);
    Question->setWordWrap(true);

    YesBtn = ui::MakeButton(this, {55, 163, 100, 25}, QStringLiteral("&Vowel"), {});
    YesBtn->setObjectName(QStringLiteral("YesBtn"));
    NoBtn = ui::MakeButton(this, {221, 163, 100, 25}, QStringLiteral("&Consonant"), {});
    NoBtn->setObjectName(QStringLiteral("NoBtn"));
    for (QPushButton* button : {YesBtn, NoBtn}) {
        button->setFont(ui::NormalFont());
        // Enter presses no button: the question is answered only on purpose.
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(this);
    }
    YPasteBtn = new QPushButton(this);
    YPasteBtn->setObjectName(QStringLiteral("YPasteBtn"));
    YPasteBtn->hide();

    connect(YesBtn, &QPushButton::clicked, this, &TYFrm::YesBtnClick);
    connect(NoBtn, &QPushButton::clicked, this, &TYFrm::NoBtnClick);
    connect(YPasteBtn, &QPushButton::clicked, this, &TYFrm::YPasteBtnClick);
}

void TYFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
    FormActivate();
}

void TYFrm::FormActivate() {
    QApplication::beep();
    work_.clear();
    prefix_.clear();
    rest_.clear();
    length_ = 0;
    position_ = calcFrm_.State().PendingYPosition;
    YPasteBtn->click();
}

void TYFrm::YPasteBtnClick() {
    if (work_.isEmpty()) work_ = calcFrm_.Data->text();
    length_ = static_cast<int>(work_.size());
    DataLb->setText(work_.toUpper());
    prefix_ = work_.left(position_);
    DataBx->setText(prefix_);
    rest_ = work_.mid(position_);
}

void TYFrm::YesBtnClick() { Decide(true); }

void TYFrm::NoBtnClick() { Decide(false); }

void TYFrm::Decide(bool vowel) {
    AnalysisState& state = calcFrm_.State();
    if (state.PendingYPosition == 0) {
        accept();
        return;
    }
    if (vowel && position_ >= 1 && position_ <= length_) work_[position_ - 1] = QLatin1Char('y');
    DataBx->setText(work_);
    DataBx->repaint();

    if (state.YFromTyping) {
        state.YFromTyping = false;
        WriteBackAndClose();
        return;
    }
    const qsizetype next = rest_.indexOf(QLatin1Char('Y'));
    if (next < 0) {
        WriteBackAndClose();
        return;
    }
    position_ += static_cast<int>(next) + 1;
    YPasteBtn->click();
}

void TYFrm::WriteBackAndClose() {
    calcFrm_.Data->setText(DataBx->text());
    calcFrm_.State().PendingYPosition = 0;
    accept();
}

void TYFrm::closeEvent(QCloseEvent* event) { event->ignore(); }

bool TYFrm::eventFilter(QObject* watched, QEvent* event) {
    // A space or an Enter typed on after the Y would press the focused button and answer for the
    // person: both are refused with a beep, on press and on release (a button clicks on the
    // release of Space).
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (event->type() == QEvent::KeyPress) QApplication::beep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TYFrm::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        QDialog::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Escape: NoBtn->click(); return;
        // V and C answer as Alt+V and Alt+C do.
        case Qt::Key_V: YesBtn->click(); return;
        case Qt::Key_C: NoBtn->click(); return;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: QApplication::beep(); return;
        default: QDialog::keyPressEvent(event);
    }
}

void TYFrm::reject() {}

}  // namespace quillon
