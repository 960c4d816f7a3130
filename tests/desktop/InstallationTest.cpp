// The installation as `cmake --install` lays it out in a temporary prefix: the programs, their
// papers, the icons the windows carry too, the menu entry as a desktop reads it, and where an
// installed program keeps its settings.
#include "StartedProgram.h"
#include "support/FolderSnapshot.h"
#include "windows/controls/AppIcon.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// The installed program keeps its settings in the user's configuration folder though it may
// write its own folder (a copy that is not installed keeps them there, as the X server test
// shows). A file manager hands every chosen file, as an absolute path, to one program.
TEST(Installation, LaysOutTheProgramsIconsAndMenuEntryAndKeepsTheSettingsWithTheUser)
{
    QTemporaryDir folder;
    const auto installed = [&folder](const QString& path) { return folder.filePath("prefix/" + path); };
    const RunResult run = RunToEnd(LAYERPIX_CMAKE, {"--install", LAYERPIX_BUILD_DIR, "--prefix", installed("")}, 60s);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(!LAYERPIX_HAS_COMPOSE || QFileInfo(installed("bin/layerpix-compose")).isExecutable());
    EXPECT_TRUE(QFileInfo(installed("share/icons/hicolor/scalable/apps/layerpix.svg")).isFile());
    // The papers a Debian package carries: its copyright, its changelog, the manual pages.
    for (const char* paper : {"share/doc/layerpix/copyright", "share/doc/layerpix/changelog.Debian.gz",
                              "share/man/man1/layerpix.1.gz", "share/man/man1/layerpix-compose.1.gz"})
        EXPECT_GT(QFileInfo(installed(paper)).size(), 0) << paper;
    EXPECT_TRUE(ReadBytes(installed("share/doc/layerpix/copyright").toStdString())
                    .starts_with("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));
    for (const int size : {16, 32, 48, 256}) {
        const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/layerpix.png").arg(size)));
        const QImage carried = AppIcon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(icon.convertToFormat(QImage::Format_ARGB32) == carried) << size;
    }

    const QString home = folder.filePath("home");
    QProcessEnvironment environment;
    for (const auto& [name, value] : {std::pair{"HOME", home}, {"QT_QPA_PLATFORM", "offscreen"}})
        environment.insert(name, value);
    StartedProgram program(installed("bin/layerpix"), {}, environment);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(home + "/.config/Layerpix/Layerpix.ini").size() > 0; }, 15000))
        << program.process.readAllStandardError().toStdString();
    EXPECT_FALSE(QFileInfo::exists(installed("bin/Layerpix.ini")));

    const QString entryPath = installed("share/applications/layerpix.desktop");
    const QString entry = QString::fromStdString(ReadBytes(entryPath.toStdString()));
    EXPECT_TRUE(entry.contains("\nExec=layerpix %F\n")) << entry.toStdString();
    const QStringList types = QRegularExpression("\nMimeType=(.*)\n").match(entry).captured(1).split(u';');
    for (const char* type : {"image/bmp", "image/gif", "image/vnd.microsoft.icon", "image/jpeg", "image/png"})
        EXPECT_TRUE(types.contains(QLatin1String(type))) << type;
    if (!OnPath("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup installs it)";
    const RunResult validation = RunToEnd("desktop-file-validate", {entryPath});
    EXPECT_EQ(std::pair(validation.exitCode, validation.output + validation.errors), std::pair(0, QByteArray()));
}
