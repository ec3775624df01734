// The data field of the analysis window: the keys typed into it, what is pasted or dropped into
// it, and the Y question that a typed or pasted Y asks.

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include "numerology/AccentFolding.h"
#include "numerology/Nfc.h"
#include "windows/analysis/DateEdit.h"
#include "windows/analysis/Numb.h"
#include "windows/analysis/Y.h"

namespace quillon {

QString AsTypedIntoData(const QString& text, bool foldAccents) {
    return QString::fromStdU16String(TypedDataText(text.toStdU16String(), foldAccents));
}

bool TCalcFrm::eventFilter(QObject* watched, QEvent* event) {
    if (YFrm && YFrm->IsAsking()) return RefuseWhileAsking(event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1) {
            HelpBtnClick();
            return true;
        }
        if (key->key() == Qt::Key_V && key->modifiers().testFlag(Qt::ControlModifier)) {
            PasteBtnClick();
            return true;
        }
        if (watched == Data) {
            if (DataPaste(event)) return true;
            if (TypesQuestionY(*key)) {
                typedY_ = {Data->hasSelectedText() ? Data->selectionStart() : Data->cursorPosition(),
                           Data->text().size() - Data->selectedText().size(), key->key(), key->nativeScanCode()};
            }
            return DataKeyPress(key);
        }
        if (watched == DateEdit) return EsDateEdit1KeyPress(key);
    } else if (event->type() == QEvent::ShortcutOverride && watched == Data &&
               TypesACharacter(*static_cast<QKeyEvent*>(event))) {
        // A key that types a character into the field is the field's, as the field itself would
        // answer after comparing it with every standard key sequence, which costs more than the
        // whole analysis of the letter.
        event->accept();
        return true;
    } else if (event->type() == QEvent::KeyRelease && watched == Data) {
        DataKeyUp(static_cast<QKeyEvent*>(event));
    } else if (watched == Data && DataPaste(event)) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TCalcFrm::RefuseWhileAsking(QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride: event->accept(); return true;
        case QEvent::KeyPress: YFrm->TypedKey(*static_cast<QKeyEvent*>(event)); return true;
        case QEvent::InputMethod: YFrm->TypedText(static_cast<QInputMethodEvent*>(event)->commitString()); return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: QApplication::beep(); return true;
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: return true;
        default: return false;
    }
}

bool TCalcFrm::TypesACharacter(const QKeyEvent& key) {
    const QString text = key.text();
    return !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && text.size() == 1 &&
           text.front().isPrint();
}

bool TCalcFrm::TypesQuestionY(const QKeyEvent& key) const {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    if (key.key() == Qt::Key_Y) return true;
    const QString text = AsTypedIntoData(key.text(), state_.foldAccents);
    return text.size() == 1 && IsQuestionY(text.front().unicode(), state_.foldAccents);
}

bool TCalcFrm::DataKeyPress(QKeyEvent* event) {
    const QString text = event->text();
    // Alt with a letter is a command key (the Y question's Alt+V and Alt+C among them), never a
    // letter of the data: one pressed a moment too late must not change the name.
    if (event->modifiers().testFlag(Qt::AltModifier) && !text.isEmpty() && text.front().isPrint()) {
        QApplication::beep();
        return true;
    }
    const QString typed = AsTypedIntoData(text, state_.foldAccents);
    if (typed == text) return false;
    // The field is to receive the upper-case letter: hand it a copy of the key with that text.
    QKeyEvent upper(event->type(), event->key(), event->modifiers(), event->nativeScanCode(), event->nativeVirtualKey(),
                    event->nativeModifiers(), typed, event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QCoreApplication::sendEvent(Data, &upper);
    return true;
}

bool TCalcFrm::DataPaste(QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            // Shift+Insert and the other paste keys but Ctrl+V, which is the Paste command. (Asking
            // the key bindings costs more than a letter's whole analysis: only these keys are asked.)
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool mayPaste =
                key->key() == Qt::Key_Insert || key->key() == Qt::Key_Paste || key->key() == Qt::Key_F18;
            if (!mayPaste || !key->matches(QKeySequence::Paste)) return false;
            InsertPastedText(QGuiApplication::clipboard()->text());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            // The middle button pastes the selection where its press put the caret.
            QClipboard* clipboard = QGuiApplication::clipboard();
            if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton || !clipboard->supportsSelection()) {
                return false;
            }
            InsertPastedText(clipboard->text(QClipboard::Selection));
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (drop->mimeData()->hasText()) {
                Data->deselect();
                Data->setCursorPosition(Data->cursorPositionAt(drop->position().toPoint()));
                InsertPastedText(drop->mimeData()->text());
                drop->acceptProposedAction();
            }
            return true;
        }
        case QEvent::ContextMenu: DataContextMenu(*static_cast<QContextMenuEvent*>(event)); return true;
        case QEvent::InputMethod: return DataInputMethod(static_cast<QInputMethodEvent*>(event));
        default: return false;
    }
}

bool TCalcFrm::DataInputMethod(QInputMethodEvent* event) {
    // Text an input method commits is typed text: a to z become capitals, and a Y it types alone
    // (a composed Ý among them, with folding) is asked about as a typed key's is.
    if (committing_) return false;
    const QString committed = event->commitString();
    const QString typed = AsTypedIntoData(committed, state_.foldAccents);
    const bool typesY = typed.size() == 1 && IsQuestionY(typed.front().unicode(), state_.foldAccents);
    if (typed == committed && !typesY) return false;
    const int at = Data->hasSelectedText() ? Data->selectionStart() : Data->cursorPosition();
    const qsizetype lengthBefore = Data->text().size() - Data->selectedText().size();
    QInputMethodEvent changed(event->preeditString(), event->attributes());
    changed.setCommitString(typed, event->replacementStart(), event->replacementLength());
    committing_ = true;
    QCoreApplication::sendEvent(Data, &changed);
    committing_ = false;
    // When the field was full, nothing was typed.
    const QString text = Data->text();
    if (typesY && text.size() > lengthBefore && at < text.size() && text.at(at) == typed.front()) {
        AskAboutTypedY(at + 1);
    }
    return true;
}

void TCalcFrm::DataContextMenu(const QContextMenuEvent& event) {
    const std::unique_ptr<QMenu> menu(Data->createStandardContextMenu());
    // The field's Paste entry is the one that names the paste key after its text (the texts are
    // translated, the keys are not).
    const QString pasteKey = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* action : menu->actions()) {
        if (pasteKey.isEmpty() || !action->text().endsWith(QLatin1Char('\t') + pasteKey)) continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, [this] { InsertPastedText(QGuiApplication::clipboard()->text()); });
    }
    menu->addSeparator();
    menu->addAction(FoldAccentsItem);
    menu->exec(event.globalPos());
}

void TCalcFrm::DataKeyUp(QKeyEvent* event) {
    // Releases that the keyboard repeats are not key releases of the user: holding Y down opens the
    // dialog once, for the last Y.
    if (event->isAutoRepeat()) return;
    state_.PendingYPosition = 0;
    state_.YFromTyping = false;
    const bool commandKey = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // The key is known by its scan code too: a key that a program maps to a letter for a moment
    // (as xdotool does) may come up as no key at all.
    const bool yKey =
        event->key() == typedY_.key || (typedY_.scanCode != 0 && event->nativeScanCode() == typedY_.scanCode);
    if (typedY_.at < 0 || !yKey || commandKey) return;
    // Ask only when the key put a Y into the data: when the field was full, nothing was typed.
    const int position = TypedYPosition();
    typedY_ = {};
    if (position > 0) AskAboutTypedY(position);
}

void TCalcFrm::AskAboutTypedY(int position) {
    const int caret = Data->cursorPosition();
    state_.PendingYPosition = position;
    state_.YFromTyping = true;
    ShowYDialog();
    Data->setCursorPosition(caret);
    TypeTypedAhead();
}

int TCalcFrm::TypedYPosition() const {
    // Fast typing rolls keys: the next letter may already stand after the Y when the Y's key
    // comes up, so the Y is looked for where its key went down.
    const QString text = Data->text();
    const bool typed = typedY_.at >= 0 && typedY_.at < text.size() && text.size() > typedY_.lengthBefore &&
                       IsQuestionY(text.at(typedY_.at).unicode(), state_.foldAccents);
    return typed ? typedY_.at + 1 : 0;
}

void TCalcFrm::ShowYDialog() {
    if (!YFrm) return;
    // A click refused while the question is up still takes the keyboard to what it hit: the
    // focus goes back where it was, so that the next Enter does not press that button.
    QWidget* const focused = focusWidget();
    YFrm->Ask();
    if (focused) focused->setFocus();
}

void TCalcFrm::TypeTypedAhead() {
    // A Y among the kept keys asks again, and the keys typed meanwhile join the queue: only the
    // outermost call types them.
    if (!YFrm || typingAhead_) return;
    typingAhead_ = true;
    while (const std::optional<TypedAheadKey> kept = YFrm->TakeTypedAhead()) {
        if (kept->key == 0) {
            QInputMethodEvent input;
            input.setCommitString(kept->text);
            QCoreApplication::sendEvent(Data, &input);
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, kept->key, kept->modifiers, kept->text, kept->autoRepeat);
        QCoreApplication::sendEvent(Data, &press);
        QKeyEvent release(QEvent::KeyRelease, kept->key, kept->modifiers, kept->text, kept->releaseRepeats);
        QCoreApplication::sendEvent(Data, &release);
    }
    typingAhead_ = false;
}

bool TCalcFrm::ComposeData() {
    const std::u16string text = Data->text().toStdU16String();
    if (ComposesAsItIs(text)) return false;
    std::u16string composed = ComposeText(text);
    if (composed == text) return false;
    // A composed letter may take two code units where it took one (a few compatibility letters):
    // the field's limit cuts it as a paste is cut.
    composed.resize(CutBeforeMarks(composed, static_cast<std::size_t>(kMaxDataLength)));
    // The caret stays after what stood before it: after the letter its mark joined.
    const auto before = std::u16string_view(text).substr(0, static_cast<std::size_t>(Data->cursorPosition()));
    const std::size_t caret = ComposeText(before).size();
    Data->setText(QString::fromStdU16String(composed));
    Data->setCursorPosition(static_cast<int>(std::min(caret, composed.size())));
    return true;
}

void TCalcFrm::PasteBtnClick() { EnterPastedText(QGuiApplication::clipboard()->text()); }

void TCalcFrm::EnterPastedText(const QString& text) {
    PutPastedText(text);
    if (state_.PendingYPosition > 0) ShowYDialog();
    TypeTypedAhead();
}

void TCalcFrm::PutPastedText(const QString& text) {
    const std::u16string normalised = NormalisePastedText(text.toStdU16String(), state_.foldAccents);
    Data->setText(QString::fromStdU16String(normalised));
    state_.PendingYPosition = FirstYPosition(normalised, state_.foldAccents);
    state_.PendingYEnd = 0;
    state_.YFromTyping = false;
}

void TCalcFrm::InsertPastedText(const QString& text) {
    const int start = Data->hasSelectedText() ? Data->selectionStart() : Data->cursorPosition();
    const auto room = kMaxDataLength - (Data->text().size() - Data->selectedText().size());
    const std::u16string inserted =
        NormaliseInsertedText(text.toStdU16String(), static_cast<int>(room), state_.foldAccents);
    Data->insert(QString::fromStdU16String(inserted));
    // A combining mark at the start of the text joins the letter before it (DataChange composes
    // the data), which moves what follows it; the caret stands after what was inserted.
    const int end = Data->cursorPosition();
    const std::u16string data = Data->text().toStdU16String();
    const int from = std::min(start, end);
    const int firstY = FirstYPosition(
        std::u16string_view(data).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(end - from)),
        state_.foldAccents);
    state_.PendingYPosition = firstY > 0 ? from + firstY : 0;
    state_.PendingYEnd = end;
    state_.YFromTyping = false;
    if (state_.PendingYPosition > 0) {
        ShowYDialog();
        Data->setCursorPosition(end);
    }
    TypeTypedAhead();
}

}  // namespace quillon
