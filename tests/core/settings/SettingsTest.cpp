// The settings file's numbers, contents and place, on real files in temporary folders; files
// shared by two instances or closed to the user in forked copies of the test process.
#include "core/settings/ProfileFile.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsLocation.h"
#include "core/settings/SettingsNumber.h"
#include "support/ChildProcess.h"
#include "support/FolderSnapshot.h"

#include <QSize>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
namespace fs = std::filesystem;

TEST(SettingsNumber, RoundsHalvesToEvenChecksTheRangeAndRefusesOtherForms)
{
    const std::pair<const char*, const char*> rows[] = {   // within 16 bits
        {" +0050.0 ", "50"}, {"50.5", "50"}, {"51.5", "52"}, {"-2.5", "-2"}, {"-0.5", "0"}, {"0.5000001", "1"},
        {"32767.4", "32767"}, {"32767.5", "overflow"}, {"-32768.5", "-32768"}, {"-32769", "overflow"},
        {"99999999999999999999999", "overflow"}, {"", "type mismatch"}, {"1e3", "type mismatch"},
        {"&H10", "type mismatch"}, {"1,000", "type mismatch"}, {"- 5", "type mismatch"}, {"１２", "type mismatch"}};
    for (const auto& [text, expected] : rows) {
        const Result<std::int64_t> n = ParseSettingsNumber(QString::fromUtf8(text), -32768, 32767);
        EXPECT_EQ(n ? std::to_string(*n) : n.failure().english, expected) << '"' << text << '"';
    }
}

// A program folder for the settings file, and a user configuration folder for when it cannot.
class SettingsFolder : public testing::Test {
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8()); }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QString Ini() const { return program.filePath("Layerpix.ini"); }
    SettingsRecord Load() const { return LoadSettings(program.path()).value_or({}).settings; }
    void WriteIni(const std::string& bytes) const { std::ofstream(Ini().toStdString(), std::ios::binary) << bytes; }
    std::string ReadIni() const { return ReadBytes(Ini().toStdString()); }
    std::string Snapshot() const { return FolderSnapshot(program.path().toStdString()); }

    QTemporaryDir program, configHome;
};

// A hand-written file, in the earlier program's Shift-JIS too, keeps every line the program does
// not change, even bytes that are no character (read as U+FFFD); of repeated keys and sections
// the first counts. A new key goes after its section's last, in the file's line ends; numbers
// are written plain, within their widths, the rate within 0 to 100.
TEST_F(SettingsFolder, ReadsAndEditsAHandWrittenFileLineByLine)
{
    WriteIni("\xEF\xBB\xBF; kept\r\nTransRate=5\r\n[Options]\r\nGIF=0\r\n[image]\r\n"
             "  FRONT = C:\\\x8e\xca\xff\x85\x40\x8e.png \r\nZoom=a=b\r\n;Back=/old.png\r\n  # Back=/older.png\r\n"
             "[ Param ]\r\nTransColor\r\nTransColor=2147483647\r\nTransRate=32767\r\nTransRate=1\r\n[options]\r\n"
             "GIF=1\r\n[JPEG]\r\nRate=75.5");
    SettingsRecord settings = Load();
    EXPECT_EQ(std::tuple(settings.Front, settings.Back, settings.TransColor, settings.TransRate, settings.JpegRate,
                         settings.PngRate, settings.GifOption),
              std::tuple(QString("C:\\写\uFFFD\uFFFD@\uFFFD.png"), QString(), 2147483647, 100, 76, 1, 0));
    settings.GifOption = 1;
    settings.Back = "/背景.png";
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_EQ(ReadIni(), "\xEF\xBB\xBF; kept\r\nTransRate=5\r\n[Options]\r\nGIF=0\r\n[image]\r\n"
                         "FRONT=C:\\\x8e\xca\xff\x85\x40\x8e.png\r\nZoom=a=b\r\nBack=/背景.png\r\n;Back=/old.png\r\n"
                         "  # Back=/older.png\r\n[ Param ]\r\nTransColor\r\nTransColor=2147483647\r\nTransRate=100\r\n"
                         "TransRate=1\r\n[options]\r\nGIF=1\r\n[JPEG]\r\nRate=76\r\nPrgrs=0\r\n[PNG]\r\nRate=1\r\n");
    // The window's size joins the file only once it was kept.
    settings.WindowWidth = 500, settings.WindowHeight = 600;
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_TRUE(ReadIni().ends_with("[PNG]\r\nRate=1\r\n[Window]\r\nWidth=500\r\nHeight=600\r\n"));
    const SettingsRecord kept = Load();
    EXPECT_EQ(QSize(kept.WindowWidth, kept.WindowHeight), QSize(500, 600));
    // So do the menu's choices, once chosen; a tolerance beyond 100 reads as 100.
    EXPECT_EQ(std::tuple(kept.Alpha, kept.KeyTolerance, kept.KeepJpegBlocks),
              std::tuple(std::optional<std::int16_t>(), std::optional<std::int16_t>(), std::optional<std::int16_t>()));
    settings.Alpha = 0, settings.KeyTolerance = 250, settings.LiveDrag = 1, settings.KeepJpegBlocks = 0;
    ASSERT_TRUE(SaveSettings(settings));
    EXPECT_TRUE(ReadIni().find("[Options]\r\nGIF=0\r\nAlpha=0\r\nKeyTolerance=250\r\nLiveDrag=1\r\nKeepJpegBlocks=0\r\n")
                != std::string::npos);
    const SettingsRecord chosen = Load();
    EXPECT_EQ(std::tuple(chosen.Alpha.value_or(-1), AlphaChosen(chosen), KeyToleranceChosen(chosen), LiveDragChosen(chosen),
                         chosen.KeepJpegBlocks),
              std::tuple(0, false, 100, true, std::optional<std::int16_t>(0)));
}

// A missing folder, a file taken for a folder, a folder where the file should be.
TEST_F(SettingsFolder, AFolderThatCannotHoldTheFileGivesWayToTheUserConfigFolder)
{
    QCoreApplication::setApplicationName("Layerpix");   // as both programs name themselves
    WriteIni("");
    ASSERT_TRUE(QDir().mkpath(program.filePath("taken/Layerpix.ini")));
    for (const QString& folder : {program.filePath("missing"), Ini(), program.filePath("taken")})
        EXPECT_EQ(SettingsFilePath(folder), configHome.filePath("Layerpix/Layerpix.ini")) << folder.toStdString();
    EXPECT_TRUE(QDir(configHome.filePath("Layerpix")).exists());
    EXPECT_EQ(SettingsFilePath(program.path() + "/"), Ini());
}

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
    fs::permissions(program.path().toStdString(), fs::perms::all);
    const std::string ini = Ini().toStdString();
    const std::pair<fs::perms, std::string> rows[] = {
        {fs::perms(0222), ini + " 0: cannot open " + ini + ": Permission denied"},
        {fs::perms(0444), ini + " 255: cannot replace " + ini + ": Permission denied"}};
    for (const auto& [mode, expected] : rows) {
        WriteIni("[Param]\nTransColor=255\n");
        fs::permissions(ini, mode);
        const std::string before = Snapshot();
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
        EXPECT_EQ(Snapshot(), before);
    }
}

// An entry that would not read back is refused, naming it, and nothing is written. A pipe where
// the file belongs reads as empty without waiting for a writer (a save onto one SafeFile's test
// refuses); a file far too large is not read.
TEST_F(SettingsFolder, WhatCannotBeStoredOrReadIsNeverWritten)
{
    WriteIni("; mine\n[PNG]\nRate=0\n");
    const std::string before = Snapshot();
    const Result<void> saved = SaveSettings({Ini(), "", "a\rb"});
    EXPECT_EQ(saved ? "saved" : saved.failure().english, Ini().toStdString() + ": the entry [Image] Back cannot be stored");
    EXPECT_EQ(Snapshot(), before);
    const QString pipe = program.filePath("pipe.ini"), huge = program.filePath("huge.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0644), 0);
    std::ofstream(huge.toStdString()).close();
    fs::resize_file(huge.toStdString(), 65 << 20);
    EXPECT_EQ(ReadProfileFile(pipe).value_or("<failed>"), "");
    EXPECT_FALSE(ReadProfileFile(huge));
}
} // namespace
