// Settings files shared by two instances, closed to the user, or none at all; in forked copies.
#include "core/settings/ProfileFile.h"
#include "core/settings/SettingsFolder.h"
#include "support/ChildProcess.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>

namespace {
// Two instances save sets differing in every key and text length, at once, many times: whenever
// read, the file holds one whole set and the lines they do not write; never a mix, never cut.
TEST_F(SettingsFolder, TwoInstancesSavingAtOnceLeaveTheWholeSetOfOne)
{
    const SettingsRecord sets[] = {
        {Ini(), "/a/写真.png", "/a/back.png", 1, 10, 11, 0, 0},
        {Ini(), "/pictures of the other instance/front.bmp", "/b/背景.bmp", 16777215, 90, 99, -1, 2}};
    std::vector<std::string> whole;
    for (const SettingsRecord& set : sets) {
        WriteIni("; my settings\r\n[Options]\r\nGIF=0\r\n[Image]\r\nFront=/old.png\r\n");
        ASSERT_TRUE(SaveSettings(set));
        whole.push_back(ReadIni());
    }
    const auto instance = [](const SettingsRecord& set) {
        for (int round = 0; round < 150; ++round)
            if (const Result<void> saved = SaveSettings(set); !saved)
                return saved.failure().english;
        return std::string("saved");
    };
    Child first([&] { return instance(sets[0]); }), second([&] { return instance(sets[1]); });
    while (!first.Ended() || !second.Ended())
        ASSERT_NE(std::find(whole.begin(), whole.end(), ReadIni()), whole.end()) << ReadIni();
    EXPECT_EQ(first.Wait().output + ", " + second.Wait().output, "saved, saved");
    EXPECT_EQ(Names(program.path().toStdString()), std::vector<std::string>{"Layerpix.ini"});
}

// Start-up as an ordinary user: a file that cannot be read gives the defaults and is never
// replaced, a read-only one is read and kept; the settings stay there and nothing is left behind.
TEST_F(SettingsFolder, AFileTheUserMayNotReadOrWriteStaysAsItWas)
{
    ASSERT_EQ(::chmod(QFile::encodeName(program.path()), 0777), 0);
    const std::string ini = Ini().toStdString();
    const std::pair<mode_t, std::string> rows[] = {{0222, ini + " 0: cannot open " + ini + ": Permission denied"},
                                                   {0444, ini + " 255: cannot replace " + ini + ": Permission denied"}};
    for (const auto& [mode, expected] : rows) {
        WriteIni("[Param]\nTransColor=255\n");
        ASSERT_EQ(::chmod(QFile::encodeName(Ini()), mode), 0);
        const ChildOutcome outcome = RunInChild([this] {
            if (!ActAsAnOrdinaryUser())
                return kNoOrdinaryUser;
            SettingsRecord settings = Load();
            const std::string loaded = settings.IniPath.toStdString() + " " + std::to_string(settings.TransColor);
            settings.TransColor = 7;
            const Result<void> saved = SaveSettings(settings);
            return loaded + ": " + (saved ? std::string() : saved.failure().english);
        });
        if (outcome.output == kNoOrdinaryUser)
            GTEST_SKIP() << "root could not give up its privileges to test permissions";
        EXPECT_EQ(outcome.output, expected);
        ASSERT_EQ(::chmod(QFile::encodeName(Ini()), 0644), 0);
        EXPECT_EQ(ReadIni(), "[Param]\nTransColor=255\n");
        EXPECT_EQ(Names(program.path().toStdString()), std::vector<std::string>{"Layerpix.ini"});
    }
}

// An entry that would not read back, a pipe and a file far too large: the save fails naming the
// file and writes nothing; reading the pipe never waits for a writer.
TEST_F(SettingsFolder, WhatCannotBeStoredOrReadIsNeverWritten)
{
    WriteIni("; mine\n[PNG]\nRate=0\n");
    const QString pipe = program.filePath("pipe.ini"), huge = program.filePath("huge.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0644), 0);
    std::ofstream(huge.toStdString()).close();
    std::filesystem::resize_file(huge.toStdString(), 65 << 20);
    const std::string before = FolderSnapshot(program.path().toStdString());
    const std::tuple<QString, const char*, QString> rows[] = {
        {Ini(), "a\rb", ": the entry [Image] Back cannot be stored"}, {pipe, "", ": not a plain file"},
        {huge, "", ": larger than a settings file can be (64 MiB)"}};
    for (const auto& [path, back, reason] : rows) {
        const Result<void> saved = SaveSettings({path, "", back});
        EXPECT_TRUE(!saved && saved.failure().english.ends_with((path + reason).toStdString())) << reason.toStdString();
    }
    EXPECT_EQ(ReadProfileFile(pipe).value_or("<failed>"), "");
    EXPECT_FALSE(ReadProfileFile(huge));
    EXPECT_EQ(FolderSnapshot(program.path().toStdString()), before);
}
} // namespace
