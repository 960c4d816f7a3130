#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Lowers this process's file size limit, as a full disk would stop a write, until destroyed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit saved_{};
};

class ProfileFileTest : public testing::Test {
protected:
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(ProfileFileTest, FailedWritesReportAndLeaveTheOldFile)
{
    const QString folderAsTarget = Path("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folderAsTarget + "/inside"));
    const QString storedFile = Path("stored.ini");
    const QByteArray stored = "[Image]\nFront=/kept.png\n";
    WriteBytes(storedFile, stored);

    struct Row {
        const char* name;
        QString file;
        QString value;
    };
    const Row rows[] = {
        {"target is a folder", folderAsTarget, "x"},
        {"folder missing", Path("missing/settings.ini"), "x"},
        {"value cannot be stored", storedFile, "two\nlines"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QString error;
        EXPECT_FALSE(WriteProfileString(row.file, "Image", "Front", row.value, &error));
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(row.file))) << error.toStdString();
    }
    EXPECT_TRUE(QFileInfo(folderAsTarget + "/inside").isDir());
    EXPECT_FALSE(QFileInfo::exists(Path("missing")));
    EXPECT_EQ(ReadBytes(storedFile), stored);
}

TEST_F(ProfileFileTest, WriteCutShortByAFullDiskLeavesTheOldFile)
{
    const QString file = Path("settings.ini");
    const QByteArray stored = "[Image]\nFront=/kept.png\n";
    WriteBytes(file, stored);
    QString error;
    bool written = true;
    {
        const FileSizeLimit limit(64);
        written = WriteProfileString(file, "Image", "Front", QString(200, u'a'), &error);
    }
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReadBytes(file), stored);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"settings.ini"});
}

} // namespace
