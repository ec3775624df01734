// The yardstick of start-up: a bare Qt Widgets window of the analysis window's size, shown at once;
// with --label it holds one line of text, which is what any window with text pays for loading the
// fonts before it is shown.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(474, 316);
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--label")) {
        auto* label = new QLabel(QStringLiteral("Vowels"), &window);
        label->adjustSize();
    }
    window.show();
    return QApplication::exec();
}
