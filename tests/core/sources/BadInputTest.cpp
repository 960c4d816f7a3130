// Files and paths that must not open, through the loader each name picks: each fails without
// a picture, whatever it states, and a good file still opens afterwards.
#include "core/sources/SourcePicture.h"
#include "support/BadPictureFiles.h"
#include "support/ChildProcess.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
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
        const LoadedPicture loaded = LoadSourcePicture(bad[i], Qt::white);
        EXPECT_TRUE(!loaded && !loaded.failure().english.empty() && !loaded.failure().japanese.empty());
        const QString next = Write(folder, good[std::size_t(i) % good.size()]);
        const LoadedPicture opened = LoadSourcePicture(next, Qt::white);
        EXPECT_TRUE(opened && *opened) << next.toStdString();
    }
}

TEST(BadInput, AFileThatCannotBeReadFails)
{
    QTemporaryDir folder;
    ::chmod(QFile::encodeName(folder.path()), 0755);
    const QString path = Write(folder, GoodPictureFiles()[0]);
    ASSERT_EQ(::chmod(QFile::encodeName(path), 0), 0);
    const ChildOutcome outcome = RunInChild([&] {
        if (!ActAsAnOrdinaryUser())
            return kNoOrdinaryUser;
        const LoadedPicture loaded = LoadSourcePicture(path, Qt::white);
        return loaded ? "opened" : loaded.failure().english;
    });
    if (outcome.output == kNoOrdinaryUser)
        GTEST_SKIP() << "root could not give up its privileges to test permissions";
    EXPECT_NE(outcome.output.find("Permission denied"), std::string::npos) << outcome.output;
}
} // namespace
