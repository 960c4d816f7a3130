// The settings file shared by two program instances saving at once, and one the user may not
// read or write. Each instance runs in a process of its own.
#include "core/settings/SettingsFolder.h"
#include "support/ChildProcess.h"
#include "support/FolderSnapshot.h"

#include <algorithm>
#include <sys/stat.h>

namespace {

using SettingsFiles = SettingsFolder;

// Two sets that differ in every key, and in the length of every text.
const SettingsRecord kSets[] = {
    {.IniPath = {}, .Front = "/a/写真.png", .Back = "/a/back.png", .TransColor = 1,
     .TransRate = 10, .JpegRate = 11, .JpegPrgrs = 0, .PngRate = 0},
    {.IniPath = {}, .Front = "/pictures of the other instance/front.bmp",
     .Back = "/b/背景.bmp", .TransColor = 16777215, .TransRate = 90, .JpegRate = 99,
     .JpegPrgrs = -1, .PngRate = 2},
};

// Two instances saving different values in every key at the same moment, many times over:
// whenever it is read, the file holds the whole set of one of them, with the lines they do
// not write as they were; never a mix of the two and never a cut file.
TEST_F(SettingsFiles, TwoInstancesSavingAtOnceLeaveTheWholeSetOfOne)
{
    const QByteArray handWritten =
        "; my settings\r\n[Options]\r\nGIF=0\r\n[Image]\r\nFront=/old.png\r\n";
    std::vector<QByteArray> expected;
    for (const SettingsRecord& set : kSets) {
        WriteIni(handWritten);
        SettingsRecord settings = set;
        settings.IniPath = Ini();
        ASSERT_TRUE(SaveSettings(settings));
        expected.push_back(ReadIni());
    }
    ASSERT_NE(expected[0], expected[1]);
    WriteIni(expected[0]);

    const auto instance = [this](const SettingsRecord& set) {
        return [this, set] {
            SettingsRecord settings = set;
            settings.IniPath = Ini();
            for (int round = 0; round < 150; ++round)
                if (const Result<void> saved = SaveSettings(settings); !saved)
                    return saved.failure().english;
            return std::string("saved");
        };
    };
    Child first(instance(kSets[0]));
    Child second(instance(kSets[1]));
    for (int reads = 1; !first.Ended() || !second.Ended(); ++reads) {
        const QByteArray now = ReadIni();
        ASSERT_NE(std::find(expected.begin(), expected.end(), now), expected.end())
            << "read " << reads << ":\n" << now.toStdString();
    }
    EXPECT_EQ(first.Wait().output, "saved");
    EXPECT_EQ(second.Wait().output, "saved");
    EXPECT_NE(std::find(expected.begin(), expected.end(), ReadIni()), expected.end());
    EXPECT_EQ(Names(program.path().toStdString()), std::vector<std::string>{"Layerpix.ini"});
}

// Start-up as an ordinary user: a settings file that cannot be read gives the defaults and is
// never replaced; a read-only one is read and stays as it is. Neither stops the program, and
// neither moves the settings elsewhere.
TEST_F(SettingsFiles, AFileTheUserMayNotReadOrWriteStaysAsItWas)
{
    ASSERT_EQ(::chmod(QFile::encodeName(program.path()), 0777), 0);
    const QByteArray stored = "[Param]\nTransColor=255\n";
    const std::pair<mode_t, std::string> rows[] = {
        {0222, "beside, colour 0: cannot open " + Ini().toStdString() + ": Permission denied"},
        {0444, "beside, colour 255: cannot replace " + Ini().toStdString() + ": Permission denied"},
    };
    for (const auto& [mode, expected] : rows) {
        SCOPED_TRACE(testing::Message() << std::oct << mode);
        WriteIni(stored);
        ASSERT_EQ(::chmod(QFile::encodeName(Ini()), mode), 0);
        const ChildOutcome outcome = RunInChild([this] {
            if (!ActAsAnOrdinaryUser())
                return kNoOrdinaryUser;
            SettingsRecord settings = Load();
            const char* place = settings.IniPath == Ini() ? "beside" : "elsewhere";
            const std::int32_t loaded = settings.TransColor;
            settings.TransColor = 7;
            const Result<void> saved = SaveSettings(settings);
            return std::string(place) + ", colour " + std::to_string(loaded) + ": "
                   + (saved ? std::string() : saved.failure().english);
        });
        if (outcome.output == kNoOrdinaryUser)
            GTEST_SKIP() << "root could not give up its privileges to test permissions";
        EXPECT_EQ(outcome.output, expected);
        ASSERT_EQ(::chmod(QFile::encodeName(Ini()), 0644), 0);
        EXPECT_EQ(ReadIni(), stored);
        EXPECT_EQ(Names(program.path().toStdString()), std::vector<std::string>{"Layerpix.ini"});
    }
}

} // namespace
