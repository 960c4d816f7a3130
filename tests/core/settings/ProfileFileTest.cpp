// The settings file on disk when it is something a settings file should not be: every entry is
// written in one replacement or none is, and a file that cannot be read is never replaced.
#include "core/settings/ProfileFile.h"
#include "support/FolderSnapshot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {
const QList<ProfileEntry> kEntries = {{"Image", "Front", "/写真/前.png"}, {"Param", "TransColor", "255"}, {"PNG", "Rate", "2"}};

TEST(ProfileFile, OneEntryThatCannotBeStoredKeepsEveryOtherFromBeingWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Layerpix.ini");
    std::ofstream(path.toStdString()) << "; mine\n[PNG]\nRate=0\n";
    const std::string before = FolderSnapshot(dir.path().toStdString());
    QList<ProfileEntry> refused = kEntries;
    refused.insert(1, {"Image", "Back", "two\nlines"});
    const Result<void> written = WriteProfileStrings(path, refused);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.failure().english, path.toStdString() + ": the entry [Image] Back cannot be stored");
    EXPECT_EQ(FolderSnapshot(dir.path().toStdString()), before);
}

// A pipe and a file far too large: reading gives nothing (and never waits for a writer of the
// pipe), and nothing replaces them. (A file the user may not read is a settings file test.)
TEST(ProfileFile, WhatCannotBeReadIsNeverReplaced)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe.ini"), huge = dir.filePath("huge.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0644), 0);
    std::ofstream(huge.toStdString()).close();
    std::filesystem::resize_file(huge.toStdString(), 65 << 20);
    const std::string before = FolderSnapshot(dir.path().toStdString());
    for (const auto& [path, reason] : {std::pair{pipe, ": not a plain file"},
                                       {huge, ": larger than a settings file can be (64 MiB)"}}) {
        const Result<void> written = WriteProfileStrings(path, kEntries);
        ASSERT_FALSE(written);
        EXPECT_TRUE(QString::fromStdString(written.failure().english).endsWith(path + reason))
            << written.failure().english;
        EXPECT_EQ(ReadProfileFile(path).value_or("unreadable"), path == pipe ? "" : "unreadable");
    }
    EXPECT_EQ(FolderSnapshot(dir.path().toStdString()), before);
}
} // namespace
