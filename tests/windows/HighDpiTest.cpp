// The windows and the report pages on a screen of two device pixels to a pixel: "quillon
// --screenshot" draws every picture at twice the width and height, and the button images are
// doubled pixel by pixel rather than smoothed.

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "windows/Controls.h"

namespace quillon {
namespace {

// Runs "quillon --screenshot" into a fresh folder at the scale factor; the folder's pictures by name.
std::map<QString, QImage> Screenshots(const QTemporaryDir& folder, const QString& scaleFactor) {
    QProcess quillon;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QT_SCALE_FACTOR", scaleFactor);
    quillon.setProcessEnvironment(environment);
    quillon.start(QUILLON_PROGRAM, {"--screenshot", folder.path(), "--data", "MARY Y 12", "--date", "29/12/1985"});
    EXPECT_TRUE(quillon.waitForFinished(120000));
    EXPECT_EQ(quillon.exitCode(), 0) << quillon.readAllStandardError().toStdString();
    std::map<QString, QImage> images;
    for (const QString& name : QDir(folder.path()).entryList({"*.png"}, QDir::Files)) {
        images[name] = QImage(QDir(folder.path()).filePath(name));
    }
    return images;
}

TEST(HighDpi, ScreenshotsAtFactorTwoHaveTwiceTheWidthAndHeight) {
    const QTemporaryDir normal, doubled;
    ASSERT_TRUE(normal.isValid() && doubled.isValid());
    const auto once = Screenshots(normal, "1");
    const auto twice = Screenshots(doubled, "2");
    // Every window and both report pages.
    const char* const expected[] = {"analysis.png", "calculator.png",   "date.png",       "export-page.png", "help.png",
                                    "links.png",    "print-dialog.png", "print-page.png", "ydialog.png"};
    ASSERT_EQ(once.size(), std::size(expected));
    for (const char* name : expected) {
        const QString file = QString::fromLatin1(name);
        ASSERT_TRUE(once.count(file) && twice.count(file)) << name;
        const QImage& small = once.at(file);
        const QImage& large = twice.at(file);
        EXPECT_FALSE(small.isNull()) << name;
        EXPECT_EQ(large.size(), small.size() * 2) << name;
    }
    // The pictures are drawn at the finer resolution, not enlarged: an enlarged picture is made of
    // squares of four equal device pixels, a drawn one has edges that cut through such squares.
    for (const char* name : {"print-page.png", "analysis.png"}) {
        const QImage large = twice.at(QString::fromLatin1(name)).convertToFormat(QImage::Format_RGB32);
        int mixed = 0;
        for (int y = 0; y + 1 < large.height(); y += 2) {
            for (int x = 0; x + 1 < large.width(); x += 2) {
                const QRgb corner = large.pixel(x, y);
                if (large.pixel(x + 1, y) != corner || large.pixel(x, y + 1) != corner ||
                    large.pixel(x + 1, y + 1) != corner) {
                    ++mixed;
                }
            }
        }
        EXPECT_GT(mixed, 1000) << name;
    }
}

TEST(HighDpi, ButtonImagesDoubleTheirPixels) {
    const QIcon icon = ui::ImageIcon("clear");
    const QImage single = icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage doubled = icon.pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(single.size(), QSize(16, 16));
    ASSERT_EQ(doubled.size(), QSize(32, 32));
    // Each pixel of the image is a square of four equal device pixels.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) ASSERT_EQ(doubled.pixel(x, y), single.pixel(x / 2, y / 2)) << x << ", " << y;
    }
}

}  // namespace
}  // namespace quillon
