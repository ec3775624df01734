#include "windows/Controls.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <cmath>

namespace quillon::ui {

namespace {

// The windows name the fonts they were designed with. Courier New and Arial reach their
// metric-compatible Liberation faces through fontconfig; MS Sans Serif, a bitmap face, has no such
// alias, so it is mapped here to the face whose widths come closest.
void InstallFontSubstitutes() {
    static const bool installed = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        return true;
    }();
    (void)installed;
}

// Enter presses the button that has the keyboard focus, as Space does. Qt leaves Enter to a
// dialog's default button, and the windows' buttons are no default buttons, so without this a
// keyboard user could press them with Space only.
class EnterPressesButton final : public QObject {
public:
    explicit EnterPressesButton(QPushButton* button) : QObject(button), button_(button) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || key->isAutoRepeat()) return false;
        button_->click();
        return true;
    }

private:
    QPushButton* button_;
};

}  // namespace

QFont PointFont(const QString& family, int points, bool bold) {
    InstallFontSubstitutes();
    QFont font(family);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

QFont SmallFont() { return PointFont(QStringLiteral("MS Sans Serif"), 8, true); }
QFont NormalFont() { return PointFont(QStringLiteral("MS Sans Serif"), 10, true); }
QFont RowFont() {
    // The fixed-pitch font's letters and digits need no text shaping (no kerning, no ligatures),
    // which is most of what laying out a field's text costs on every keystroke.
    QFont font = PointFont(QStringLiteral("Courier New"), 10, true);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QLabel* MakeLabel(QWidget* parent, int left, int top, const QString& text, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->adjustSize();
    label->move(left, top);
    return label;
}

void SetPaleBlueBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, kPaleBlue);
    palette.setColor(QPalette::Window, kPaleBlue);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QLineEdit* MakeResultField(QWidget* parent, const QRect& geometry, const QFont& font, const QString& hint) {
    auto* field = new QLineEdit(parent);
    field->setGeometry(geometry);
    // Result fields hold digits, blanks and slashes, which no font shapes: laying them out without
    // text shaping is most of what setting them costs on every keystroke.
    QFont unshaped = font;
    unshaped.setStyleStrategy(QFont::PreferNoShaping);
    field->setFont(unshaped);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    field->setToolTip(hint);
    SetPaleBlueBackground(field);
    return field;
}

QIcon ImageIcon(const QString& name) {
    const QPixmap image(QStringLiteral(":/images/%1.xpm").arg(name));
    QIcon icon(image);
    for (const int ratio : {2, 3}) {
        QPixmap sharp = image.scaled(image.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        sharp.setDevicePixelRatio(ratio);
        icon.addPixmap(sharp);
    }
    return icon;
}

QPushButton* MakeButton(QWidget* parent, const QRect& geometry, const QString& caption, const QString& hint,
                        const QString& image) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->installEventFilter(new EnterPressesButton(button));
    if (!image.isEmpty()) {
        button->setIcon(ImageIcon(image));
        button->setIconSize(QSize(16, 16));
    }
    return button;
}

}  // namespace quillon::ui
