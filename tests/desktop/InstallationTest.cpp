// The installation as `cmake --install` lays it out in a temporary prefix: the programs, the
// menu entry as a desktop reads it, the icons the windows carry too, and where an installed
// program keeps its settings.
#include "StartedProgram.h"
#include "support/PixelAssert.h"
#include "windows/controls/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {
class Installation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        const RunResult install =
            RunToEnd(LAYERPIX_CMAKE, {"--install", LAYERPIX_BUILD_DIR, "--prefix", Installed({})}, 60s);
        ASSERT_TRUE(install.finished && install.exitCode == 0) << install.errors.toStdString();
    }

    QString Installed(const QString& path) const { return folder.filePath("prefix/" + path); }

    QTemporaryDir folder;
};

TEST_F(Installation, LaysOutTheProgramsTheMenuEntryAndTheIcons)
{
    EXPECT_TRUE(QFileInfo(Installed("share/icons/hicolor/scalable/apps/layerpix.svg")).isFile());
    for (const QString name : {"layerpix", LAYERPIX_HAS_COMPOSE ? "layerpix-compose" : "layerpix"})
        EXPECT_TRUE(QFileInfo(Installed("bin/" + name)).isExecutable()) << name.toStdString();
    const RunResult version = RunToEnd(Installed("bin/layerpix"), {"--version"});
    EXPECT_TRUE(version.output.startsWith("layerpix ")) << version.errors.toStdString();

    // Each bitmap icon has its size, is the one the windows carry and is not blank: a
    // see-through corner and the dark corner of the marker's ring.
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(testing::Message() << size << " pixels");
        const QString file = QStringLiteral("share/icons/hicolor/%1x%1/apps/layerpix.png").arg(size);
        const QImage installed = QImage(Installed(file)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(installed.size(), QSize(size, size));
        EXPECT_TRUE(AppIcon().pixmap(installed.size()).toImage().convertToFormat(QImage::Format_ARGB32) == installed);
        EXPECT_EQ(qAlpha(installed.pixel(0, 0)), 0);
        EXPECT_TRUE(PixelIs(installed, size * 14 / 16, size * 14 / 16, qRgb(0x16, 0x16, 0x16)));
    }

    const QString entryPath = Installed("share/applications/layerpix.desktop");
    QFile file(entryPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(file.readAll());
    const auto key = [&entry](const char* name) {
        return QRegularExpression(QStringLiteral("^%1=(.*)$").arg(name), QRegularExpression::MultilineOption)
            .match(entry)
            .captured(1);
    };
    const QStringList mimeTypes = key("MimeType").split(u';', Qt::SkipEmptyParts);
    for (const char* type : {"image/bmp", "image/gif", "image/vnd.microsoft.icon", "image/jpeg", "image/png"})
        EXPECT_TRUE(mimeTypes.contains(QLatin1String(type))) << type;
    // A file manager hands every chosen file, as an absolute path, to one program, which
    // takes one as the background and two as the foreground and the background.
    EXPECT_EQ(key("Exec"), QStringLiteral("layerpix %F"));
    if (!OnPath("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup installs it)";
    const RunResult validation = RunToEnd("desktop-file-validate", {entryPath});
    EXPECT_EQ(validation.exitCode, 0);
    EXPECT_EQ(validation.output + validation.errors, QByteArray());
}

// The installed program, and a copy in a folder it may not write, keep their settings in the
// user's configuration folder; a copy in a folder it may write keeps them beside itself, as
// the test on the X server shows. Root may write anywhere, so there the copy runs as nobody.
TEST_F(Installation, SettingsStayOutOfFoldersTheProgramMustNotOrCannotWrite)
{
    const bool root = geteuid() == 0;
    const auto privateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(folder.path(), privateFolder | QFile::ReadOther | QFile::ExeOther);
    const QString locked = folder.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_TRUE(QFile::copy(LAYERPIX_EXECUTABLE, locked + "/layerpix"));
    if (!root)
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const std::pair<QString, bool> rows[] = {{Installed("bin"), false}, {locked, root}};
    for (const auto& [programFolder, asNobody] : rows) {
        SCOPED_TRACE(programFolder.toStdString());
        const QString home = folder.filePath(programFolder == locked ? "home-locked" : "home");
        ASSERT_TRUE(QDir().mkpath(home));
        QFile::setPermissions(home, privateFolder);   // also the runtime folder Qt checks
        if (asNobody) {
            ASSERT_EQ(chown(QFile::encodeName(home).constData(), 65534, 65534), 0);
        }
        StartOptions options{QProcessEnvironment(), {}, asNobody};
        for (const auto& [name, value] : {std::pair{"HOME", home}, {"XDG_RUNTIME_DIR", home},
                                          {"QT_QPA_PLATFORM", QString("offscreen")}, {"LANG", QString("C.UTF-8")}})
            options.environment.insert(QString::fromLatin1(name), value);
        const QString users = home + "/.config/Layerpix/Layerpix.ini";
        StartedProgram program(programFolder + "/layerpix", {}, options);
        ASSERT_TRUE(program.Started());
        EXPECT_TRUE(Eventually([&] { return QFileInfo(users).size() > 0; }))
            << "no " << users.toStdString() << "; " << program.Errors().toStdString();
        EXPECT_FALSE(QFileInfo::exists(programFolder + "/Layerpix.ini"));
    }
}
} // namespace
