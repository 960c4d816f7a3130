// The installation as `cmake --install` lays it out in a temporary prefix: the programs, the
// menu entry as a desktop reads it, the icons the windows carry too, and where an installed
// program keeps its settings.
#include "StartedProgram.h"
#include "support/PixelAssert.h"
#include "ui/AppIcon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

class Installation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        const RunResult install = RunToEnd(
            QStringLiteral(LAYERPIX_CMAKE),
            {"--install", QStringLiteral(LAYERPIX_BUILD_DIR), "--prefix", Prefix()}, 60s);
        ASSERT_TRUE(install.finished && install.exitCode == 0) << install.errors.toStdString();
    }

    QString Prefix() const { return folder.filePath(QStringLiteral("prefix")); }
    QString Installed(const QString& path) const { return Prefix() + u'/' + path; }

    QTemporaryDir folder;
};

TEST_F(Installation, LaysOutTheProgramsTheMenuEntryAndTheIcons)
{
    struct Row {
        const char* path;
        int iconSize;   // 0: not a bitmap icon
    };
    const Row rows[] = {
        {"share/applications/layerpix.desktop", 0},
        {"share/icons/hicolor/scalable/apps/layerpix.svg", 0},
        {"share/icons/hicolor/16x16/apps/layerpix.png", 16},
        {"share/icons/hicolor/32x32/apps/layerpix.png", 32},
        {"share/icons/hicolor/48x48/apps/layerpix.png", 48},
        {"share/icons/hicolor/256x256/apps/layerpix.png", 256},
    };
    for (const Row& row : rows) {
        const QString path = Installed(QString::fromLatin1(row.path));
        ASSERT_TRUE(QFileInfo(path).isFile()) << row.path;
        if (row.iconSize) {
            EXPECT_EQ(QImage(path).size(), QSize(row.iconSize, row.iconSize)) << row.path;
        }
    }
    QStringList programs{"layerpix"};
    if (LAYERPIX_HAS_COMPOSE)
        programs.append(QStringLiteral("layerpix-compose"));
    for (const QString& name : programs)
        EXPECT_TRUE(QFileInfo(Installed(QStringLiteral("bin/") + name)).isExecutable())
            << name.toStdString();
    const RunResult version = RunToEnd(Installed(QStringLiteral("bin/layerpix")), {"--version"});
    EXPECT_TRUE(version.output.startsWith("layerpix ")) << version.errors.toStdString();
}

TEST_F(Installation, TheWindowsCarryTheInstalledIcon)
{
    const QIcon icon = AppIcon();
    for (int size : {16, 32, 48, 256}) {
        const QString file = QStringLiteral("share/icons/hicolor/%1x%1/apps/layerpix.png").arg(size);
        const QImage installed = QImage(Installed(file)).convertToFormat(QImage::Format_ARGB32);
        const QImage carried =
            icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(carried == installed) << size << " pixels";
        // Not blank: a see-through corner and the dark corner of the marker's ring.
        EXPECT_EQ(qAlpha(installed.pixel(0, 0)), 0) << size;
        const int ring = size * 14 / 16;
        EXPECT_TRUE(PixelIs(installed, ring, ring, qRgb(0x16, 0x16, 0x16))) << size;
    }
}

TEST_F(Installation, TheMenuEntryIsValidAndHandsOverEveryChosenPicture)
{
    const QString entryPath = Installed(QStringLiteral("share/applications/layerpix.desktop"));
    if (!OnPath(QStringLiteral("desktop-file-validate")))
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup installs it)";
    const RunResult validation = RunToEnd(QStringLiteral("desktop-file-validate"), {entryPath});
    EXPECT_EQ(validation.exitCode, 0);
    EXPECT_EQ(validation.output + validation.errors, QByteArray());

    QFile file(entryPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString entry = QString::fromUtf8(file.readAll());
    const auto key = [&entry](const char* name) {
        const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(QLatin1String(name)),
                                      QRegularExpression::MultilineOption);
        return line.match(entry).captured(1);
    };
    const QStringList mimeTypes = key("MimeType").split(u';', Qt::SkipEmptyParts);
    for (const char* type : {"image/bmp", "image/gif", "image/vnd.microsoft.icon", "image/jpeg",
                             "image/png"})
        EXPECT_TRUE(mimeTypes.contains(QLatin1String(type))) << type;

    // A file manager hands every chosen file, as an absolute path, to one program, which
    // takes one as the background and two as the foreground and the background.
    EXPECT_EQ(key("Exec"), QStringLiteral("layerpix %F"));
}

// A program run headless from `programFolder`, as the user nobody or as the test's own user,
// and whether its start-up save puts the settings beside it or in the user's folder.
struct Placement {
    const char* what;
    QString programFolder;
    bool asNobody;
    bool besideProgram;
};

TEST_F(Installation, SettingsStayOutOfFoldersTheProgramMustNotOrCannotWrite)
{
    // As root every folder can be written, so the folder the program cannot write is tried as
    // the user nobody; any other user finds it without write permission.
    const bool root = geteuid() == 0;
    const passwd* nobody = getpwnam("nobody");
    ASSERT_TRUE(!root || nobody);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadOther | QFile::ExeOther);
    const QString locked = folder.filePath(QStringLiteral("locked"));
    const QString open = folder.filePath(QStringLiteral("open"));
    for (const QString& copy : {locked, open}) {
        ASSERT_TRUE(QDir().mkpath(copy));
        ASSERT_TRUE(QFile::copy(QStringLiteral(LAYERPIX_EXECUTABLE), copy + "/layerpix"));
    }
    if (!root)
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                          QFile::ExeOther);
    const Placement rows[] = {
        {"the installed program", Installed(QStringLiteral("bin")), false, false},
        {"a copy in a folder it cannot write", locked, root, false},
        {"a copy in a folder it can write", open, false, true},
    };
    int run = 0;
    for (const Placement& row : rows) {
        const QString home = folder.filePath(QStringLiteral("home%1").arg(++run));
        const QString runtime = home + QStringLiteral("/runtime");
        ASSERT_TRUE(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        StartOptions options;
        if (row.asNobody) {
            for (const QString& path : {home, runtime})
                ASSERT_EQ(chown(path.toLocal8Bit().constData(), nobody->pw_uid, nobody->pw_gid), 0);
            options.user = nobody->pw_uid;
            options.group = nobody->pw_gid;
        }
        options.environment = QProcessEnvironment();
        options.environment.insert(QStringLiteral("HOME"), home);
        options.environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        options.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        options.environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        const QString beside = row.programFolder + QStringLiteral("/Layerpix.ini");
        const QString users = home + QStringLiteral("/.config/Layerpix/Layerpix.ini");

        StartedProgram program(row.programFolder + QStringLiteral("/layerpix"), {}, options);
        ASSERT_TRUE(program.Started()) << row.what;
        const QString expected = row.besideProgram ? beside : users;
        EXPECT_TRUE(Eventually([&] { return QFileInfo(expected).size() > 0; }))
            << row.what << ": no " << expected.toStdString() << "; "
            << program.Errors().toStdString();
        EXPECT_FALSE(QFileInfo::exists(row.besideProgram ? users : beside)) << row.what;
    }
}

} // namespace
