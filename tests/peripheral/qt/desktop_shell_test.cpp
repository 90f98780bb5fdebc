// The desktop shell with real launcher processes: one that opens the document
// it is given, one that fails as xdg-open does where the desktop has no viewer
// for text, and one that is not there at all.
#include "peripheral/qt/desktop_shell.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

namespace kesto {
namespace {

TEST(QtDesktopShell, TellsWhenTheLauncherFailsOrIsMissingAndOnlyThen) {
    QTemporaryDir folder;
    const std::string report = folder.filePath(QStringLiteral("race.txt")).toStdString();
    std::ofstream(report) << "20 Lap Race\r\n";
    struct Case {
        QStringList launcher;
        bool cannotOpen;
    };
    const Case cases[] = {
        {{QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("test -f \"$0\"")},
         false}, // opens the very file it is given
        {{QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("exit 3")}, true},
        {{QStringLiteral("/no/such/folder/xdg-open")}, true},
    };
    for (const Case& c : cases) {
        QtDesktopShell shell(c.launcher);
        bool told = false;
        shell.OpenDocument(report, [&] { told = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return shell.Running() == 0; }, 10000));
        EXPECT_EQ(told, c.cannotOpen) << c.launcher.join(QLatin1Char(' ')).toStdString();
    }
}

} // namespace
} // namespace kesto
