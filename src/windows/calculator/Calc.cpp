#include "windows/calculator/Calc.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "calculator/ReduceSum.h"
#include "common/Messages.h"
#include "platform/ScreenPlace.h"
#include "windows/Controls.h"
#include "windows/calculator/OvcCalculator.h"

namespace quillon {

TCalculatorFrm::TCalculatorFrm(CalculatorOwner& owner)
    : QWidget(&owner.OwnerWindow(),
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      owner_(owner) {
    setObjectName(QStringLiteral("CalculatorFrm"));
    setWindowTitle(QStringLiteral("Math Calculator"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(ui::NormalFont());
    QPalette navy = palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 128));
    setPalette(navy);
    setAutoFillBackground(true);

    // Close is the first control and the window's cancel button: Esc closes the window.
    CloseBtn = ui::MakeButton(this, {163, 176, 60, 25}, QStringLiteral("Close"), {});
    OvcCalculator1 = new TOvcCalculator(this);
    OvcCalculator1->setGeometry(4, 4, 218, 167);
    ReduceBtn = ui::MakeButton(this, {4, 176, 60, 25}, QStringLiteral("Reduce"),
                               QStringLiteral("Numerology reduce number to single digit."));
    SumBtn = ui::MakeButton(this, {67, 176, 60, 25}, QStringLiteral("Sum"),
                            QStringLiteral("Numerology - sum all intergers."));
    HelpBtn = ui::MakeButton(this, {130, 176, 30, 25}, {}, QStringLiteral("Open Help"), QStringLiteral("help"));
    HelpBtn->setAccessibleName(QStringLiteral("Help"));
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(112, 96, 49, 24);
    Edit1->hide();
    const std::pair<QWidget*, const char*> names[] = {{OvcCalculator1, "OvcCalculator1"},
                                                      {ReduceBtn, "ReduceBtn"},
                                                      {SumBtn, "SumBtn"},
                                                      {HelpBtn, "HelpBtn"},
                                                      {CloseBtn, "CloseBtn"},
                                                      {Edit1, "Edit1"}};
    for (const auto& [control, name] : names) control->setObjectName(QString::fromLatin1(name));
    for (QPushButton* button : {ReduceBtn, SumBtn, HelpBtn, CloseBtn}) button->setFont(ui::SmallFont());
    // A click on these leaves the keyboard with the calculator: typing goes on where it was.
    for (QPushButton* button : {ReduceBtn, SumBtn, HelpBtn}) button->setFocusPolicy(Qt::TabFocus);
    setTabOrder(CloseBtn, OvcCalculator1);
    setTabOrder(OvcCalculator1, ReduceBtn);
    setTabOrder(ReduceBtn, SumBtn);
    setTabOrder(SumBtn, HelpBtn);

    connect(ReduceBtn, &QPushButton::clicked, this, &TCalculatorFrm::ReduceBtnClick);
    connect(SumBtn, &QPushButton::clicked, this, &TCalculatorFrm::SumBtnClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TCalculatorFrm::HelpBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TCalculatorFrm::CloseBtnClick);

    // Key preview: the window sees every key before the focused control does.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    OvcCalculator1->setFocus();
}

void TCalculatorFrm::ShowBesideOwner() {
    if (!placed_) {
        placed_ = true;
        // The first time, just right of the analysis window, or left of it when the screen ends there.
        const QRect owner = owner_.OwnerWindow().frameGeometry();
        QRect frame = frameGeometry();
        frame.moveTopLeft(owner.topRight() + QPoint(1, 0));
        if (const QScreen* screen = owner_.OwnerWindow().screen()) {
            const QRect available = screen->availableGeometry();
            if (frame.right() > available.right()) frame.moveTopRight(owner.topLeft() - QPoint(1, 0));
            if (frame.left() < available.left()) frame.moveLeft(available.left());
        }
        move(frame.topLeft());
    }
    BringToFront(*this);
}

bool TCalculatorFrm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(event);
}

void TCalculatorFrm::FormActivate() { OvcCalculator1->setFocus(); }

bool TCalculatorFrm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            CloseBtnClick();
            return true;
        }
        if (key == Qt::Key_F1) {
            FormKeyDown(key);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TCalculatorFrm::FormKeyDown(int key) {
    if (key == Qt::Key_F1 && HelpJump) HelpJump(QString::fromLatin1(kHelpJumpId));
}

void TCalculatorFrm::HelpBtnClick() {
    if (ShowHelpTopic) ShowHelpTopic(owner_.HelpFilePath() + QString::fromLatin1(kHelpPage));
    OvcCalculator1->setFocus();
}

void TCalculatorFrm::CloseBtnClick() { hide(); }

void TCalculatorFrm::ReduceBtnClick() {
    RunNumerologyStep(
        ReduceEntryText(OvcCalculator1->Engine().EntryText(), OvcCalculator1->Engine().DecimalSeparator()));
}

void TCalculatorFrm::SumBtnClick() {
    RunNumerologyStep(SumEntryText(OvcCalculator1->Engine().EntryText(), OvcCalculator1->Engine().DecimalSeparator()));
}

void TCalculatorFrm::RunNumerologyStep(const NumerologyStep& step) {
    switch (step.kind) {
        case NumerologyStep::Kind::Nothing: break;
        case NumerologyStep::Kind::Error: ShowApplicationError(step.message); break;
        case NumerologyStep::Kind::Result: HandToCalculator(step.text); break;
    }
    // Whatever came of it, typed keys go to the calculator again, also when the button was
    // reached with Tab.
    OvcCalculator1->setFocus();
}

void TCalculatorFrm::HandToCalculator(const std::u16string& text) {
    // The result travels as a person would move it: into the hidden edit, copied from there to the
    // system clipboard, where it stays, and pasted into the calculator, which types it afresh.
    Edit1->setText(QString::fromStdU16String(text));
    Edit1->selectAll();
    Edit1->copy();
    OvcCalculator1->PasteFromClipboard();
    OvcCalculator1->setFocus();
}

}  // namespace quillon
