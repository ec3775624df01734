// The desktop's services as the program asks for them: an address is opened through xdg-open.

#include "platform/ShellServices.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace quillon {
namespace {

// The desktop's "open" is xdg-open; what it tells by its exit status decides, as a stand-in shows.
TEST(DesktopShell, AnAddressOpensOnlyWhenXdgOpenSaysSo) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    struct Row {
        const char* name;
        const char* script;  // empty: no such program
        bool opened;
    };
    const Row rows[] = {
        {"opened", "echo \"$1\" > \"$0.address\"", true},
        {"no method available", "echo 'xdg-open: no method available' >&2; exit 3", false},
        {"killed", "kill -9 $$", false},
        {"missing", "", false},
        {"still running with the browser", "exec sleep 0.6", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString program = folder.filePath(QString::fromLatin1(row.name).replace(QLatin1Char(' '), '-'));
        if (*row.script) {
            QFile file(program);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("#!/bin/sh\n") + row.script + "\n");
            file.close();
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        DesktopShellServices shell(program, 300);
        std::optional<bool> opened;
        shell.Open("www.a.example/x y", [&opened](bool answer) { opened = answer; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened.has_value(); }, 5000));
        EXPECT_EQ(*opened, row.opened);
        QTest::qWait(400);  // the wait ending later answers nothing a second time
        EXPECT_EQ(*opened, row.opened);
    }
    QFile address(folder.filePath("opened.address"));
    ASSERT_TRUE(address.open(QIODevice::ReadOnly));
    EXPECT_EQ(address.readAll(), QByteArray("http://www.a.example/x%20y\n"));
}

}  // namespace
}  // namespace quillon
