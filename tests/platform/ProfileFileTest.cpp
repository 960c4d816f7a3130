// The settings file on disk when it is something a settings file should not be: every entry is
// written in one replacement or none is, and a file that cannot be read is never replaced.
#include "platform/ProfileFile.h"
#include "support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

const QList<ProfileEntry> kEntries = {
    {"Image", "Front", "/写真/前.png"}, {"Param", "TransColor", "255"}, {"PNG", "Rate", "2"}};

class ProfileFile : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()), 0755), 0);
    }
    QString Path(const char* name) const { return dir.filePath(name); }
    QByteArray Read(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(100) : QByteArray("<unreadable>");
    }
    QStringList Names() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

TEST_F(ProfileFile, EveryEntryIsWrittenInOneReplacementOrNoneIs)
{
    const QString path = Path("Layerpix.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; mine\n[PNG]\nRate=0\n");
    file.close();

    QString error;
    QList<ProfileEntry> refused = kEntries;
    refused.insert(1, {"Image", "Back", "two\nlines"});
    EXPECT_FALSE(WriteProfileStrings(path, refused, &error));
    EXPECT_EQ(error, QDir::toNativeSeparators(path) + ": the entry [Image] Back cannot be stored");
    EXPECT_EQ(Read(path), "; mine\n[PNG]\nRate=0\n");

    EXPECT_TRUE(WriteProfileStrings(path, kEntries, &error));
    EXPECT_EQ(Read(path), "; mine\n[PNG]\nRate=2\n[Image]\nFront=/写真/前.png\n[Param]\n"
                          "TransColor=255\n");
    EXPECT_EQ(Names(), QStringList{"Layerpix.ini"});
}

// A pipe, a file far too large and a file the user may not read: reading gives nothing (and
// never waits for a writer of the pipe), and nothing replaces them.
TEST_F(ProfileFile, WhatCannotBeReadIsNeverReplaced)
{
    const QString pipe = Path("pipe.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0666), 0);
    const QString huge = Path("huge.ini");
    const int fd = ::open(QFile::encodeName(huge), O_WRONLY | O_CREAT, 0666);
    ASSERT_EQ(::ftruncate(fd, 65 * 1024 * 1024), 0);
    ::close(fd);
    const QString unreadable = Path("unreadable.ini");
    QFile file(unreadable);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[PNG]\nRate=0\n");
    file.close();
    ASSERT_EQ(::chmod(QFile::encodeName(unreadable), 0222), 0);

    const std::pair<QString, QString> rows[] = {
        {pipe, ": not a plain file"},
        {huge, ": larger than a settings file can be (64 MiB)"},
        {unreadable, ": Permission denied"},
    };
    for (const auto& [path, reason] : rows) {
        SCOPED_TRACE(path.toStdString());
        const ChildOutcome outcome = RunInChild([&, path = path] {
            if (!ActAsAnOrdinaryUser())
                return kNoOrdinaryUser;
            QString error;
            const bool written = WriteProfileStrings(path, kEntries, &error);
            const bool found = GetProfileString(path, "PNG", "Rate").has_value();
            return (written ? "written" : error.toStdString()) + (found ? ", found" : "");
        });
        if (outcome.output == kNoOrdinaryUser)
            GTEST_SKIP() << "root could not give up its privileges to test permissions";
        EXPECT_TRUE(QString::fromStdString(outcome.output)
                        .endsWith(QDir::toNativeSeparators(path) + reason))
            << outcome.output;
    }
    EXPECT_EQ(QFileInfo(huge).size(), 65 * 1024 * 1024);
    EXPECT_TRUE(QFileInfo(pipe).isReadable() && !QFileInfo(pipe).isFile());
    ::chmod(QFile::encodeName(unreadable), 0644);
    EXPECT_EQ(Read(unreadable), "[PNG]\nRate=0\n");
    EXPECT_EQ(Names(), (QStringList{"huge.ini", "pipe.ini", "unreadable.ini"}));
}

} // namespace
