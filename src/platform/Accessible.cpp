#include "platform/Accessible.h"

namespace quillon {

void NotifyValueChanged(QObject* object, const QString& value) {
    if (!QAccessible::isActive()) return;
    QAccessibleValueChangeEvent event(object, value);
    QAccessible::updateAccessibility(&event);
}

}  // namespace quillon
