#include "platform/ScreenPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace quillon {

void CentreOnScreen(QWidget& window) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect client = window.geometry();
        client.moveCenter(screen->availableGeometry().center());
        window.setGeometry(client);
    }
}

QPoint KeepInside(const QRect& frame, const QRect& available) {
    // Right and bottom first, so that a frame too large for the area ends on its left and top.
    const int left = std::max(std::min(frame.left(), available.right() + 1 - frame.width()), available.left());
    const int top = std::max(std::min(frame.top(), available.bottom() + 1 - frame.height()), available.top());
    return {left, top};
}

void BringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace quillon
