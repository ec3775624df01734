// Runs the widget and command-line tests inside one QApplication, drawn off-screen.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows keep the person's choices in the user's settings: the tests, and the programs
    // they start, read and write a fresh folder of their own instead.
    const QTemporaryDir settings;
    if (!settings.isValid()) return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    QApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
