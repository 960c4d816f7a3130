// The installation as `cmake --install` lays it out in a temporary prefix: the programs, the
// menu entry as a desktop reads it, the icons the windows carry too, and where an installed
// program keeps its settings.
#include "StartedProgram.h"
#include "windows/controls/AppIcon.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {
class Installation : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QStringList install{"--install", LAYERPIX_BUILD_DIR, "--prefix", Installed("")};
        const RunResult installed = RunToEnd(LAYERPIX_CMAKE, install, 60s);
        ASSERT_EQ(installed.exitCode, 0) << installed.errors.toStdString();
    }
    QString Installed(const QString& path) const { return folder.filePath("prefix/" + path); }

    QTemporaryDir folder;
};

// A file manager hands every chosen file, as an absolute path, to one program, which takes one
// as the background and two as the foreground and the background.
TEST_F(Installation, LaysOutTheProgramsTheMenuEntryAndTheIcons)
{
    EXPECT_TRUE(RunToEnd(Installed("bin/layerpix"), {"--version"}).output.startsWith("layerpix "));
    EXPECT_TRUE(!LAYERPIX_HAS_COMPOSE || QFileInfo(Installed("bin/layerpix-compose")).isExecutable());
    EXPECT_TRUE(QFileInfo(Installed("share/icons/hicolor/scalable/apps/layerpix.svg")).isFile());
    for (const int size : {16, 32, 48, 256}) {
        const QImage icon(Installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/layerpix.png").arg(size)));
        const QImage carried = AppIcon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(icon.convertToFormat(QImage::Format_ARGB32) == carried) << size;
    }
    const QString entryPath = Installed("share/applications/layerpix.desktop");
    QFile file(entryPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(file.readAll());
    const auto key = [&entry](const QString& name) {
        return QRegularExpression("^" + name + "=(.*)$", QRegularExpression::MultilineOption).match(entry).captured(1);
    };
    for (const char* type : {"image/bmp", "image/gif", "image/vnd.microsoft.icon", "image/jpeg", "image/png"})
        EXPECT_TRUE(key("MimeType").split(u';').contains(QLatin1String(type))) << type;
    EXPECT_EQ(key("Exec"), "layerpix %F");
    if (!OnPath("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup installs it)";
    const RunResult validation = RunToEnd("desktop-file-validate", {entryPath});
    EXPECT_EQ(validation.exitCode, 0);
    EXPECT_EQ((validation.output + validation.errors).toStdString(), "");
}

// The installed program, and a copy in a folder it may not write, keep their settings in the
// user's configuration folder; a copy in a folder it may write keeps them beside itself, as the
// test on the X server shows. Root may write anywhere, so there the copy runs as nobody.
TEST_F(Installation, SettingsStayOutOfFoldersTheProgramMustNotOrCannotWrite)
{
    const auto privateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(folder.path(), privateFolder | QFile::ReadOther | QFile::ExeOther);
    const QString locked = folder.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(locked) && QFile::copy(LAYERPIX_EXECUTABLE, locked + "/layerpix"));
    QFile::setPermissions(locked, readOnly);
    for (const auto& [programFolder, asNobody] : {std::pair{Installed("bin"), false}, {locked, geteuid() == 0}}) {
        const QString home = folder.filePath(programFolder == locked ? "home-locked" : "home");
        ASSERT_TRUE(QDir().mkpath(home) && QFile::setPermissions(home, privateFolder));   // the runtime folder too
        ASSERT_TRUE(!asNobody || chown(QFile::encodeName(home).constData(), 65534, 65534) == 0);
        StartOptions options{QProcessEnvironment(), {}, asNobody};
        for (const auto& [name, value] : {std::pair{"HOME", home}, {"XDG_RUNTIME_DIR", home},
                                          {"LANG", QString("C.UTF-8")}, {"QT_QPA_PLATFORM", QString("offscreen")}})
            options.environment.insert(name, value);
        StartedProgram program(programFolder + "/layerpix", {}, options);
        const QString settings = home + "/.config/Layerpix/Layerpix.ini";
        EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(settings).size() > 0; }, 15000))
            << programFolder.toStdString() << ": " << program.process.readAllStandardError().toStdString();
        EXPECT_FALSE(QFileInfo::exists(programFolder + "/Layerpix.ini"));
    }
}
} // namespace
