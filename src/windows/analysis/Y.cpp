#include "windows/analysis/Y.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <chrono>

#include "numerology/AccentFolding.h"
#include "numerology/Analysis.h"
#include "platform/ScreenPlace.h"
#include "windows/Controls.h"
#include "windows/analysis/Numb.h"

namespace quillon {
namespace {

qint64 SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Keys that type nothing by themselves.
bool IsModifierKey(int key) {
    switch (key) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock: return true;
        default: return false;
    }
}

// The printable text of a key as the data field receives it.
QString AsTyped(const QString& text, bool foldAccents) {
    QString printable;
    for (QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() != 0x7F) printable += c;
    }
    return AsTypedIntoData(printable, foldAccents);
}

}  // namespace

TYFrm::TYFrm(TCalcFrm& calcFrm)
    : QDialog(&calcFrm, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      calcFrm_(calcFrm) {
    setObjectName(QStringLiteral("YFrm"));
    setWindowTitle(QStringLiteral("Y Character"));
    setFont(ui::PointFont(QStringLiteral("MS Sans Serif"), 12, true));
    setFixedSize(384, 205);
    // The dialog holds the focus itself until the person moves it to a button, so that no button
    // is pressed by a Space typed on.
    setFocusPolicy(Qt::StrongFocus);
    Clock = SteadyMilliseconds;

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
        // No default button: Enter answers only on a button the person chose.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    YPasteBtn = new QPushButton(this);
    YPasteBtn->setObjectName(QStringLiteral("YPasteBtn"));
    YPasteBtn->hide();
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

    connect(YesBtn, &QPushButton::clicked, this, &TYFrm::YesBtnClick);
    connect(NoBtn, &QPushButton::clicked, this, &TYFrm::NoBtnClick);
    connect(YPasteBtn, &QPushButton::clicked, this, &TYFrm::YPasteBtnClick);
}

void TYFrm::Ask() {
    QEventLoop loop;
    loop_ = &loop;
    // Shown without the toolkit's modality, which would drop the keys that reach the analysis
    // window before the window manager hands the focus to the dialog; the analysis window
    // refuses its input itself while the question is open.
    show();
    raise();
    activateWindow();
    loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
}

void TYFrm::done(int result) {
    QDialog::done(result);
    if (loop_) loop_->quit();
}

void TYFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
    setFocus();
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
    ShowDataLabel();
    prefix_ = work_.left(position_);
    DataBx->setText(prefix_);
    rest_ = work_.mid(position_);
    // Each Y shown is a new question: a key on its way does not answer it.
    askedAt_ = Clock();
}

void TYFrm::ShowDataLabel() {
    // The whole data in capitals, with what was typed ahead where the field will receive it.
    QString shown = work_.toUpper();
    const QString typed = TypedAheadText();
    if (!typed.isEmpty()) shown.insert(std::clamp<qsizetype>(calcFrm_.Data->cursorPosition(), 0, shown.size()), typed);
    DataLb->setText(shown);
    DataLb->adjustSize();
}

void TYFrm::YesBtnClick() { Decide(true); }

void TYFrm::NoBtnClick() { Decide(false); }

void TYFrm::Decide(bool vowel) {
    AnalysisState& state = calcFrm_.State();
    if (state.PendingYPosition == 0) {
        accept();
        return;
    }
    if (vowel && position_ >= 1 && position_ <= length_) {
        work_[position_ - 1] = QChar(VowelFormOfY(work_[position_ - 1].unicode()));
    }
    DataBx->setText(work_);
    DataBx->repaint();

    if (state.YFromTyping) {
        state.YFromTyping = false;
        WriteBackAndClose();
        return;
    }
    // The next Y, up to the end of what was pasted.
    const int end = state.PendingYEnd > 0 ? std::min(state.PendingYEnd, length_) : length_;
    const int next = FirstYPosition(rest_.left(std::max(0, end - position_)).toStdU16String(), state.foldAccents);
    if (next == 0) {
        WriteBackAndClose();
        return;
    }
    position_ += next;
    YPasteBtn->click();
}

void TYFrm::WriteBackAndClose() {
    calcFrm_.Data->setText(DataBx->text());
    calcFrm_.State().PendingYPosition = 0;
    calcFrm_.State().PendingYEnd = 0;
    accept();
}

void TYFrm::closeEvent(QCloseEvent* event) { event->ignore(); }

bool TYFrm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // The buttons' mnemonics do not answer by themselves: Alt+V and Alt+C come as key
            // presses, so that they too wait for the question to have been read.
            event->accept();
            return true;
        case QEvent::KeyPress: TypedKey(*static_cast<QKeyEvent*>(event)); return true;
        // A button clicks on the release of Space: releases do nothing here.
        case QEvent::KeyRelease: return true;
        case QEvent::InputMethod: TypedText(static_cast<QInputMethodEvent*>(event)->commitString()); return true;
        default: return QDialog::eventFilter(watched, event);
    }
}

void TYFrm::TypedKey(const QKeyEvent& key) {
    const int code = key.key();
    if (code == Qt::Key_Escape) {
        NoBtn->click();
        return;
    }
    if (key.modifiers().testFlag(Qt::AltModifier) && (code == Qt::Key_V || code == Qt::Key_C)) {
        AnswerByKey(code == Qt::Key_V ? YesBtn : NoBtn);
        return;
    }
    if (MoveFocus(code)) return;
    QPushButton* chosen = ChosenButton();
    if (code == Qt::Key_Return || code == Qt::Key_Enter) {
        if (chosen) {
            AnswerByKey(chosen);
        } else {
            QApplication::beep();
        }
        return;
    }
    if (code == Qt::Key_Space && chosen) {
        AnswerByKey(chosen);
        return;
    }
    if (IsModifierKey(code)) return;
    typedAhead_.push_back({code, key.modifiers(), key.text(), key.isAutoRepeat(), false});
    ShowDataLabel();
}

void TYFrm::TypedText(const QString& text) {
    if (text.isEmpty()) return;
    typedAhead_.push_back({0, Qt::NoModifier, text, false, false});
    ShowDataLabel();
}

std::optional<TypedAheadKey> TYFrm::TakeTypedAhead() {
    if (typedAhead_.empty()) return std::nullopt;
    TypedAheadKey key = typedAhead_.front();
    typedAhead_.pop_front();
    key.releaseRepeats = !typedAhead_.empty() && typedAhead_.front().autoRepeat && typedAhead_.front().key == key.key;
    return key;
}

QString TYFrm::TypedAheadText() const {
    QString text;
    for (const TypedAheadKey& key : typedAhead_) {
        if (key.modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) continue;
        text += AsTyped(key.text, calcFrm_.State().foldAccents);
    }
    return text;
}

void TYFrm::AnswerByKey(QPushButton* button) {
    if (Clock() - askedAt_ < kAnswerDelayMs) {
        QApplication::beep();
        return;
    }
    button->click();
}

QPushButton* TYFrm::ChosenButton() const {
    QWidget* focused = focusWidget();
    return focused == YesBtn ? YesBtn : focused == NoBtn ? NoBtn : nullptr;
}

bool TYFrm::MoveFocus(int key) {
    QPushButton* chosen = ChosenButton();
    QPushButton* next = nullptr;
    switch (key) {
        // The arrows go the way they point, Tab and Backtab round the two buttons.
        case Qt::Key_Left: next = YesBtn; break;
        case Qt::Key_Right: next = NoBtn; break;
        case Qt::Key_Tab:
        case Qt::Key_Down: next = chosen == YesBtn ? NoBtn : YesBtn; break;
        case Qt::Key_Backtab:
        case Qt::Key_Up: next = chosen == NoBtn ? YesBtn : NoBtn; break;
        default: return false;
    }
    next->setFocus(Qt::TabFocusReason);
    return true;
}

void TYFrm::reject() {}

}  // namespace quillon
