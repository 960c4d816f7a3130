// The settings file's defaults, numbers and place, on real files in temporary folders.
#include "core/settings/SettingsLocation.h"
#include "core/settings/SettingsNumber.h"
#include "core/settings/SettingsFolder.h"

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
        {"", 16, "type mismatch"},       {"12abc", 16, "type mismatch"},  {"1e3", 16, "type mismatch"},
        {"&H10", 16, "type mismatch"},   {"1,000", 32, "type mismatch"},  {"- 5", 16, "type mismatch"},
        {"--5", 16, "type mismatch"},    {".", 16, "type mismatch"},      {"１２", 16, "type mismatch"}};
    for (const auto& [text, bits, expected] : rows) {
        const std::int64_t limit = std::int64_t{1} << (bits - 1);
        const Result<std::int64_t> n = ParseSettingsNumber(QString::fromUtf8(text), -limit, limit - 1);
        const std::string got = n ? std::to_string(*n) : n.failure().english;
        EXPECT_EQ(got, expected) << '"' << text << "\" in " << bits << " bits";
    }
}

using SettingsFile = SettingsFolder;

TEST_F(SettingsFile, WritesTheDefaultsAndKeepsHandWrittenLines)
{
    ASSERT_TRUE(SaveSettings(Load()));
    EXPECT_EQ(ReadIni().toStdString(), "[Image]\nFront=\nBack=\n[Param]\nTransColor=0\n"
              "TransRate=100\n[JPEG]\nRate=50\nPrgrs=0\n[PNG]\nRate=1\n");

    WriteIni("; kept\n[Options]\nGIF=0\n[image]\nFRONT = /a.png\nZoom=3\n");
    SettingsRecord settings = Load();
    EXPECT_EQ(settings.GifOption, 0);
    settings.GifOption = 1;
    settings.Back = "/b.png";
    ASSERT_TRUE(SaveSettings(settings));
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
        ASSERT_TRUE(SaveSettings(Load()));
        EXPECT_EQ(ReadIniString(ReadIni(), section, key, "missing"), writtenBack) << file.toStdString();
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
