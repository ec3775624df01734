// The yardstick of start-up: a bare Qt Widgets window of the analysis window's size, shown at once.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(474, 316);
    window.show();
    return QApplication::exec();
}
