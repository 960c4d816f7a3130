// Files and paths that must not open, through both loaders: each fails without a picture,
// whatever it states, and the loaders still open a good file afterwards.
#include "platform/PictureLoader.h"
#include "sources/PngRoute.h"
#include "sources/SourceNames.h"
#include "support/BadPictureFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// The loader a source slot uses for this name.
LoadedPicture LoadByName(const QString& path)
{
    return TakesPngRoute(path) ? ReadPngFile(path, Qt::white) : LoadPicture(path, Qt::white);
}

QString Write(const QTemporaryDir& folder, const BadPictureFile& file)
{
    QFile out(folder.filePath(file.name));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(file.bytes) == file.bytes.size());
    return out.fileName();
}

TEST(BadInput, EveryBadFileAndPathFailsAndTheNextGoodFileOpens)
{
    QTemporaryDir folder;
    QStringList bad = BadPicturePaths(folder);
    for (const BadPictureFile& file : BadPictureFiles())
        bad << Write(folder, file);
    const std::vector<BadPictureFile> good = GoodPictureFiles();
    for (qsizetype i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(bad[i].toStdString());
        const LoadedPicture loaded = LoadByName(bad[i]);
        EXPECT_EQ(loaded.outcome, LoadedPicture::Outcome::Failed);
        EXPECT_TRUE(loaded.picture.isNull());
        EXPECT_FALSE(loaded.reason.isEmpty());
        const QString next = Write(folder, good[std::size_t(i) % good.size()]);
        EXPECT_EQ(LoadByName(next).outcome, LoadedPicture::Outcome::Picture) << next.toStdString();
    }
}

TEST(BadInput, AFileThatCannotBeReadFails)
{
    QTemporaryDir folder;
    ::chmod(folder.path().toLocal8Bit().constData(), 0755);
    const QString path = Write(folder, GoodPictureFiles()[0]);
    ASSERT_EQ(::chmod(path.toLocal8Bit().constData(), 0), 0);
    if (::geteuid() != 0) {
        EXPECT_EQ(LoadByName(path).outcome, LoadedPicture::Outcome::Failed);
        return;
    }
    // Permissions do not stop root: load as an ordinary user in a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
        ::_exit(!dropped ? 2 : LoadByName(path).outcome == LoadedPicture::Outcome::Failed ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the file opened; 2: could not become an ordinary user";
}
} // namespace
