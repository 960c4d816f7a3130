// The settings file's numbers, contents and place, on real files in temporary folders.
#include "core/settings/SettingsFolder.h"
#include "core/settings/SettingsLocation.h"
#include "core/settings/SettingsNumber.h"

#include <QCoreApplication>
#include <QDir>

namespace {
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

// A hand-written file, in the earlier program's Shift-JIS too, is read by the profile rules and
// keeps every line the program does not change: comments, a key before any section, lines
// without "=", repeated keys and sections (the first counts), other keys, the GIF option only a
// user sets, an unchanged value in its old bytes, even bytes that are no character (read as
// U+FFFD). A new key goes after its section's last key, in the file's line ends; numbers are
// written plain, within their widths, the rate within 0 to 100.
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
}

TEST_F(SettingsFolder, AFolderThatCannotHoldTheFileGivesWayToTheUserConfigFolder)
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
