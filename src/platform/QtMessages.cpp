#include "platform/QtMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace quillon {

void QtMessages::Show(std::string_view caption, std::string_view text, MessageIcon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
        case MessageIcon::Error: boxIcon = QMessageBox::Critical; break;
        case MessageIcon::Warning: boxIcon = QMessageBox::Warning; break;
        case MessageIcon::Information: boxIcon = QMessageBox::Information; break;
    }
    // Messages break their lines with carriage returns, as the report engine writes them.
    QString body = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(boxIcon, QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())), body,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace quillon
