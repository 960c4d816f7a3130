// The settings file's defaults, numbers and place, on real files in temporary folders.
#include "core/settings/SettingsLocation.h"
#include "core/settings/SettingsNumber.h"
#include "core/settings/SettingsFolder.h"

#include "core/settings/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>

namespace {

TEST(SettingsNumber, RoundsHalvesToEvenChecksTheWidthAndRefusesOtherForms)
{
    const std::tuple<const char*, int, const char*> rows[] = { // text, bits, result
        {" +0050.0 ", 16, "50"},    {"50.5", 16, "50"},         {"51.5", 16, "52"},
        {"-2.5", 16, "-2"},         {"-0.5", 16, "0"},          {"0.5000001", 16, "1"},
        {"32767.4", 16, "32767"},   {"32767.5", 16, "overflow"}, {"-32768.5", 16, "-32768"},
        {"-32769", 16, "overflow"}, {"-2147483648", 32, "-2147483648"},
        {"-2147483648.6", 32, "overflow"}, {"99999999999999999999999", 32, "overflow"},
        {"", 16, "mismatch"},       {"12abc", 16, "mismatch"},  {"1e3", 16, "mismatch"},
        {"&H10", 16, "mismatch"},   {"1,000", 32, "mismatch"},  {"- 5", 16, "mismatch"},
        {"--5", 16, "mismatch"},    {".", 16, "mismatch"},      {"１２", 16, "mismatch"}};
    for (const auto& [text, bits, expected] : rows) {
        const std::int64_t limit = std::int64_t{1} << (bits - 1);
        const SettingsNumber n = ParseSettingsNumber(QString::fromUtf8(text), -limit, limit - 1);
        const std::string got = n.error == SettingsNumberError::None ? std::to_string(n.value)
                                : n.error == SettingsNumberError::Overflow ? "overflow"
                                                                           : "mismatch";
        EXPECT_EQ(got, expected) << '"' << text << "\" in " << bits << " bits";
    }
}

using SettingsFile = SettingsFolder;

TEST_F(SettingsFile, WritesTheDefaultsAndKeepsHandWrittenLines)
{
    LoadSettings(program.path());
    SaveSettings();
    EXPECT_EQ(ReadIni().toStdString(), "[Image]\nFront=\nBack=\n[Param]\nTransColor=0\n"
              "TransRate=100\n[JPEG]\nRate=50\nPrgrs=0\n[PNG]\nRate=1\n");

    WriteIni("; kept\n[Options]\nGIF=0\n[image]\nFRONT = /a.png\nZoom=3\n");
    LoadSettings(program.path());
    EXPECT_EQ(Settings.GifOption, 0);
    Settings.GifOption = 1;
    Settings.Back = "/b.png";
    SaveSettings();
    EXPECT_EQ(ReadIni().toStdString(),
              "; kept\n[Options]\nGIF=0\n[image]\nFRONT=/a.png\nZoom=3\nBack=/b.png\n"
              "[Param]\nTransColor=0\nTransRate=100\n[JPEG]\nRate=50\nPrgrs=0\n[PNG]\nRate=1\n");
}

TEST_F(SettingsFile, NumbersAreWrittenBackPlainAndKeepTheirWidths)
{
    const std::tuple<QByteArray, const char*, const char*, const char*> rows[] = {
        {"[JPEG]\nRate=75.5\n", "JPEG", "Rate", "76"},
        {"[Param]\nTransColor=2147483647\n", "Param", "TransColor", "2147483647"},
        {"[Param]\nTransRate=32767\n", "Param", "TransRate", "100"}};
    for (const auto& [file, section, key, writtenBack] : rows) {
        WriteIni(file);
        LoadSettings(program.path());
        SaveSettings();
        EXPECT_EQ(GetProfileString(Ini(), section, key), writtenBack) << file.toStdString();
    }
}

TEST_F(SettingsFile, AFolderThatCannotHoldTheFileGivesWayToTheUserConfigFolder)
{
    const QString userIni = configHome.filePath(qAppName() + "/Layerpix.ini");
    WriteIni("");
    ASSERT_TRUE(QDir().mkpath(program.filePath("taken/Layerpix.ini")));
    // A missing folder, a file taken for a folder, a folder where the file should be.
    for (const QString& folder : {program.filePath("missing"), Ini(), program.filePath("taken")})
        EXPECT_EQ(SettingsFilePath(folder), userIni) << folder.toStdString();
    EXPECT_TRUE(QFileInfo(userIni).dir().exists());
    EXPECT_EQ(SettingsFilePath(program.path() + "/"), Ini());
}

} // namespace
