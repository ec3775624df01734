#include "cli/CalcCommand.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTextStream>
#include <variant>
#include <vector>

#include "cli/CommandError.h"
#include "cli/CommandTable.h"
#include "cli/Options.h"
#include "common/Messages.h"
#include "windows/analysis/Windows.h"
#include "windows/calculator/OvcCalculator.h"

namespace quillon {
namespace {

// One step of a key string.
struct KeyStroke {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
};
struct Click {
    CalcButton button;
};
enum class WindowButton { Reduce, Sum };
using CalcAction = std::variant<KeyStroke, Click, WindowButton>;

std::optional<CalcAction> NamedAction(const QString& name, const TOvcCalculator& calculator) {
    static const std::pair<const char*, KeyStroke> keys[] = {
        {"Enter", {Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")}},
        {"Back", {Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b")}},
        {"Delete", {Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f))}},
        {"Esc", {Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1b))}},
        {"F1", {Qt::Key_F1, Qt::NoModifier, {}}},
        {"F9", {Qt::Key_F9, Qt::NoModifier, {}}},
        {"Ctrl+L", {Qt::Key_L, Qt::ControlModifier, QString(QChar(0x0c))}},
        {"Ctrl+R", {Qt::Key_R, Qt::ControlModifier, QString(QChar(0x12))}},
        {"Ctrl+M", {Qt::Key_M, Qt::ControlModifier, QString(QChar(0x0d))}},
        {"Ctrl+P", {Qt::Key_P, Qt::ControlModifier, QString(QChar(0x10))}},
        {"Ctrl+S", {Qt::Key_S, Qt::ControlModifier, QString(QChar(0x13))}},
        {"Ctrl+C", {Qt::Key_C, Qt::ControlModifier, QString(QChar(0x03))}},
        {"Ctrl+V", {Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16))}},
    };
    for (const auto& [keyName, stroke] : keys) {
        if (name == QLatin1String(keyName)) return stroke;
    }
    if (name == QLatin1String("Reduce")) return WindowButton::Reduce;
    if (name == QLatin1String("Sum")) return WindowButton::Sum;
    if (name.startsWith(QLatin1String("click:"))) {
        if (const auto button = calculator.ButtonForCaption(name.mid(6))) return Click{*button};
    }
    return std::nullopt;
}

// A plain character as the keyboard delivers it: the key of its upper-case form and the character.
KeyStroke CharacterKey(QChar character) {
    const char16_t code = character.toUpper().unicode();
    return {code < 0x100 ? int(code) : int(Qt::Key_unknown), Qt::NoModifier, QString(character)};
}

// Reads the key strings into actions; returns what cannot be read, or nothing.
QString ParseKeys(const QStringList& keyStrings, const TOvcCalculator& calculator, std::vector<CalcAction>& actions) {
    for (const QString& keys : keyStrings) {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (keys.at(i) != QLatin1Char('{')) {
                actions.push_back(CharacterKey(keys.at(i)));
                continue;
            }
            const qsizetype end = keys.indexOf(QLatin1Char('}'), i + 1);
            if (end < 0) return QStringLiteral("a { without its } in \"%1\"").arg(keys);
            const QString name = keys.mid(i + 1, end - i - 1);
            const auto action = NamedAction(name, calculator);
            if (!action) return QStringLiteral("unknown key {%1}; see quillon calc --help").arg(name);
            actions.push_back(*action);
            i = end;
        }
    }
    return {};
}

void SendKey(QWidget* target, const KeyStroke& stroke) {
    QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text);
    QCoreApplication::sendEvent(target, &release);
}

void SendClick(TOvcCalculator* calculator, CalcButton button) {
    const QPointF centre = QRectF(calculator->ButtonRect(button)).center();
    const QPointF global = calculator->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(calculator, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(calculator, &release);
}

void Play(Windows& windows, const std::vector<CalcAction>& actions) {
    TCalculatorFrm& window = windows.CalculatorFrm;
    // The window is used, not shown: it is laid out and takes keys, but never reaches a screen.
    window.setAttribute(Qt::WA_DontShowOnScreen);
    for (const CalcAction& action : actions) {
        // Keys go to the calculator, which holds the focus while the window is up. The Calculator
        // button opens the window before the first key, and again after an Esc closed it.
        if (window.isHidden()) windows.CalcFrm.CalculatorBtnClick();
        if (const auto* stroke = std::get_if<KeyStroke>(&action)) {
            SendKey(window.OvcCalculator1, *stroke);
        } else if (const auto* click = std::get_if<Click>(&action)) {
            SendClick(window.OvcCalculator1, click->button);
        } else {
            switch (std::get<WindowButton>(action)) {
                case WindowButton::Reduce: window.ReduceBtn->click(); break;
                case WindowButton::Sum: window.SumBtn->click(); break;
            }
        }
    }
}

// The message boxes of the run, kept in order.
class CollectedMessages final : public Messages {
public:
    void Show(std::string_view, std::string_view text, MessageIcon) override {
        texts.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
    QStringList texts;
};

QString PendingName(PendingOperation pending) {
    switch (pending) {
        case PendingOperation::None: return QStringLiteral("none");
        case PendingOperation::Add: return QStringLiteral("add");
        case PendingOperation::Subtract: return QStringLiteral("subtract");
        case PendingOperation::Multiply: return QStringLiteral("multiply");
        case PendingOperation::Divide: return QStringLiteral("divide");
        case PendingOperation::Equals: return QStringLiteral("equals");
    }
    return {};
}

QJsonObject CalculatorJson(const TOvcBasicCalculatorEngine& engine, const QStringList& messages) {
    return {{"display", QString::fromStdU16String(engine.DisplayText())},
            {"entry", QString::fromStdU16String(engine.EntryText())},
            {"memory", QString::fromStdU16String(engine.FormatResult(engine.Memory()))},
            {"error", engine.HasError()},
            {"pending", PendingName(engine.Pending())},
            {"beeps", engine.BeepCount()},
            {"clipboard", QGuiApplication::clipboard()->text()},
            {"messages", QJsonArray::fromStringList(messages)}};
}

struct CalcSession {
    QStringList keys;
    QString clipboard;
    bool json = false;
};

int RunCalcSession(const CalcSession& session, QTextStream& out, QTextStream& err) {
    CollectedMessages messages;
    ScopedMessages collect(messages);
    Windows windows;
    std::vector<CalcAction> actions;
    if (QString error = ParseKeys(session.keys, *windows.CalculatorFrm.OvcCalculator1, actions); !error.isEmpty()) {
        return CommandError(err, ErrorKind::Usage, error);
    }
    QGuiApplication::clipboard()->setText(session.clipboard);
    Play(windows, actions);

    const TOvcBasicCalculatorEngine& engine = windows.CalculatorFrm.OvcCalculator1->Engine();
    if (session.json) {
        out << QJsonDocument(CalculatorJson(engine, messages.texts)).toJson(QJsonDocument::Indented);
    } else {
        out << QString::fromStdU16String(engine.DisplayText()) << "\n";
        for (const QString& text : messages.texts) CommandNote(err, text);
    }
    out.flush();
    err.flush();
    return kExitOk;
}

// Qt's diagnostics, such as the off-screen platform's remark that it cannot raise a window.
void DropQtRemarks(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

QString PlayCalculatorKeys(Windows& windows, const QString& keys) {
    std::vector<CalcAction> actions;
    if (QString error = ParseKeys({keys}, *windows.CalculatorFrm.OvcCalculator1, actions); !error.isEmpty())
        return error;
    Play(windows, actions);
    return {};
}

int RunCalcCommand(const CommandArguments& arguments, QTextStream& out, QTextStream& err) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return CommandError(err, ErrorKind::Failure,
                            QStringLiteral("calc needs the program's windows, which cannot be created here"));
    }
    const CalcSession session{arguments.Words(), arguments.Value(kClipboardOption), arguments.IsSet(kJsonOption)};
    // Standard error carries the command's own messages only, not the platform's remarks on a
    // window that never reaches a screen.
    const QtMessageHandler previousHandler = qInstallMessageHandler(DropQtRemarks);
    const int code = RunCalcSession(session, out, err);
    qInstallMessageHandler(previousHandler);
    return code;
}

}  // namespace quillon
