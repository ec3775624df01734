#pragma once
// Accessible interfaces for the program's own controls. Qt describes its standard widgets to
// screen readers by itself; a control that draws itself (the calculator's keypad, a hyperlink
// label, a picture) is only a plain widget to it, with no role, name or action. Such a control
// registers the interface that describes it here, once, first thing in its constructor.
//
// Qt remembers a widget's interface from the first accessibility event the widget sends. One sent
// before the registration, or by a base-class constructor (a label made with its text), would
// leave the widget described as a plain widget for good.

#include <QAccessible>
#include <QAccessibleWidget>

namespace quillon {

// Makes Qt describe every widget of class Widget (and of its subclasses) through an Interface
// made with the widget, in place of the plain widget description. The widget is recognised by
// its C++ type, so classes without their own meta-object qualify too.
template <typename Widget, typename Interface>
void UseAccessibleInterface() {
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* widget = dynamic_cast<Widget*>(object);
            return widget ? new Interface(widget) : nullptr;
        });
        return true;
    }();
    static_cast<void>(installed);
}

// A picture that shows something, named for what it shows.
class AccessiblePicture final : public QAccessibleWidget {
public:
    explicit AccessiblePicture(QWidget* picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}
};

// Tells a screen reader that the value the widget shows has changed (nothing while none listens).
void NotifyValueChanged(QObject* object, const QString& value);

}  // namespace quillon
