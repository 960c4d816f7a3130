// Writing the settings file on disk: a failed write says why and leaves the old file whole.
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

class ProfileFileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteProfileString(stored, "Image", "Front", "/k.png")); }
    QByteArray Stored() const
    {
        QFile file(stored);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    const QByteArray kOld = "[Image]\nFront=/k.png\n";
    QTemporaryDir dir;
    const QString stored = dir.filePath("stored.ini");
};

TEST_F(ProfileFileTest, FailedWritesNameTheFileAndLeaveTheOldOne)
{
    ASSERT_TRUE(QDir().mkpath(dir.filePath("folder.ini/inside")));
    const std::pair<QString, QString> rows[] = {
        {dir.filePath("folder.ini"), "x"},
        {dir.filePath("missing/settings.ini"), "x"},
        {stored, "two\nlines"}, // could not be read back
    };
    for (const auto& [file, value] : rows) {
        QString error;
        EXPECT_FALSE(WriteProfileString(file, "Image", "Front", value, &error));
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(file))) << error.toStdString();
    }
    EXPECT_EQ(Stored(), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"stored.ini"});
}

TEST_F(ProfileFileTest, AWriteCutShortByAFullDiskLeavesTheOldFile)
{
    // Every write past 64 bytes fails, as on a full disk.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit nearlyFull{64, saved.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &nearlyFull);
    QString error;
    const bool written = WriteProfileString(stored, "Image", "Front", QString(200, u'a'), &error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Stored(), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"stored.ini"});
}

} // namespace
