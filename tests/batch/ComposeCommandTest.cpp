// layerpix-compose run as a real process on real files.
#include "batch/CommandFolder.h"

#include <algorithm>

namespace {

std::string Text(const CommandFolder::Result& result)
{
    return "exit " + std::to_string(result.exitCode) + "\nout: " + result.out.toStdString() +
           "\nerr: " + result.err.toStdString();
}

class ComposeCommand : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.IsValid()); }

    // Runs with the logo as the foreground and `out` as the output folder.
    CommandFolder::Result Compose(const QString& out, const QStringList& arguments,
                                  const QByteArray& input = {}, bool onTerminal = false) const
    {
        return folder.Run(QStringList{"--foreground", logo, "-o", folder.Path(out)} + arguments,
                          input, onTerminal);
    }
    QString Background(const QString& name, int width, int height, std::uint32_t seed) const
    {
        return folder.SavePicture(NoisePicture(width, height, seed), "in/" + name);
    }

    CommandFolder folder;
    QString logo = folder.SavePicture(KeyedLogo(40, 30), QStringLiteral("in/logo.png"));
};

TEST_F(ComposeCommand, ExitStatusSaysWhetherEverythingWasWrittenOrTheCommandCouldNotStart)
{
    const QString photo = Background("photo.jpg", 60, 40, 1);
    const QString textFile = folder.WriteFile("plain.txt", "not a folder");
    const QStringList composeInto{"--foreground", "%1", "-o", "out", "%2"};
    const struct {
        QStringList arguments;   // %1 is the logo, %2 the photo, %3 a plain file
        const char* settings;    // the settings file beside the program, if any: read, not changed
        int exitCode;
        const char* out;   // what standard output starts with
        const char* err;   // a part of standard error; "" when it must be empty
    } rows[] = {
        {{}, nullptr, 2, "", "layerpix-compose: no foreground: give --foreground PICTURE\n"
                             "Try 'layerpix-compose --help'."},
        {{"--foreground", "%1", "-o", "out", "--list", "nowhere.txt"}, nullptr, 2, "",
         "nowhere.txt: "},
        {{"--foreground", "%1", "-o", "%3", "%2"}, nullptr, 2, "",
         "the output folder cannot be made"},
        {composeInto + QStringList{"--key", "000000"}, "[Param]\nTransColor=99999999999\n", 2, "",
         "overflow in the settings file"},
        {composeInto, "[JPEG]\nRate=300\n", 2, "", "[JPEG] Rate=300 in the settings file"},
        {{"--help"}, nullptr, 0, "Usage: layerpix-compose --foreground PICTURE", ""},
        {{"--version"}, nullptr, 0, "layerpix-compose ", ""},
        {composeInto, nullptr, 0, "", ""},
    };
    for (const auto& row : rows) {
        QStringList arguments;
        for (const QString& argument : row.arguments)
            arguments << QString(argument).replace("%1", logo).replace("%2", photo).replace("%3", textFile);
        SCOPED_TRACE(arguments.join(u' ').toStdString() + (row.settings ? row.settings : ""));
        QFile::remove(folder.Path("program/Layerpix.ini"));
        if (row.settings)
            folder.WriteFile("program/Layerpix.ini", row.settings);
        const auto result = folder.Run(arguments);
        EXPECT_EQ(result.exitCode, row.exitCode) << Text(result);
        EXPECT_TRUE(result.out.startsWith(row.out)) << Text(result);
        EXPECT_TRUE(*row.err ? result.err.contains(row.err) : result.err.isEmpty()) << Text(result);
        if (row.settings) {
            EXPECT_EQ(folder.ReadFile("program/Layerpix.ini"), QByteArray(row.settings));
        }
    }
    EXPECT_EQ(folder.Entries("out"), QStringList{"photo.jpg"});
    // Without a settings file the program makes none, beside it or in the configuration folder.
    EXPECT_FALSE(QFileInfo::exists(folder.Path("program/Layerpix.ini")));
    EXPECT_TRUE(folder.Entries("config").isEmpty());
}

// A list file (blank lines and CR LF ends skipped), standard input and named backgrounds join;
// an empty list composes nothing.
TEST_F(ComposeCommand, ListsJoinTheNamedBackgroundsAndNothingIsReplacedWithoutOverwrite)
{
    const QString a = Background("a.jpg", 20, 20, 9), b = Background("b.png", 20, 20, 10);
    const QString c = Background("c.bmp", 20, 20, 11), d = Background("d.jpg", 20, 20, 12);
    const QString list = folder.WriteFile("list.txt", a.toUtf8() + "\r\n\n" + b.toUtf8() + "\n");
    auto result = Compose("out", {"--list", list, "--list", "-", d}, c.toUtf8());
    EXPECT_EQ(result.exitCode, 0) << Text(result);
    EXPECT_EQ(folder.Entries("out"), (QStringList{"a.jpg", "b.png", "c.bmp", "d.jpg"}));
    result = Compose("none", {"--list", "-"});
    EXPECT_EQ(result.exitCode, 0) << Text(result);
    EXPECT_TRUE(folder.Entries("none").isEmpty());

    // An existing file stays unless --overwrite; the other background is still written.
    folder.WriteFile("kept/a.jpg", "old");
    result = Compose("kept", {a, d});
    EXPECT_EQ(result.exitCode, 1) << Text(result);
    EXPECT_TRUE(result.err.contains(folder.Path("kept/a.jpg").toUtf8() + ": exists already"))
        << Text(result);
    EXPECT_EQ(folder.ReadFile("kept/a.jpg"), "old");
    EXPECT_EQ(folder.ReadFile("kept/d.jpg"), folder.ReadFile("out/d.jpg"));
    result = Compose("kept", {"--overwrite", a});
    EXPECT_EQ(result.exitCode, 0) << Text(result);
    EXPECT_EQ(folder.ReadFile("kept/a.jpg"), folder.ReadFile("out/a.jpg"));
}

// Bad pictures among good ones, composed by one job and by four: each bad one is named with
// its reason, and leaves nothing behind; the good ones give the same files either way.
TEST_F(ComposeCommand, BadPicturesAreNamedAndSeveralJobsWriteTheSameFilesAsOne)
{
    QStringList backgrounds;
    for (int i = 0; i < 9; ++i) {
        const char* kinds[] = {".jpg", ".png", ".bmp"};
        backgrounds << Background(QStringLiteral("p%1").arg(i) + kinds[i % 3], 30 + 17 * i,
                                  70 - 5 * i, std::uint32_t(20 + i));
    }
    ASSERT_TRUE(QDir().mkpath(folder.Path("in/folder.jpg")));
    const QStringList bad{folder.Path("in/missing.jpg"),
                          folder.WriteFile("in/corrupt.png", "\x89PNG\r\n\x1a\n but nothing after"),
                          folder.WriteFile("in/corrupt.jpg", "\xFF\xD8\xFF not really"),
                          folder.WriteFile("in/empty.bmp", ""), folder.Path("in/folder.jpg")};
    for (qsizetype i = 0; i < bad.size(); ++i)
        backgrounds.insert(2 * i + 1, bad[i]);
    const QStringList options{"--key", "FF00FF", "--rate", "55", "--at", "12,-5"};
    const auto one = Compose("one", options + QStringList{"--jobs", "1"} + backgrounds);
    const auto four = Compose("four", options + QStringList{"--jobs", "4"} + backgrounds);
    EXPECT_EQ(one.exitCode, 1) << Text(one);
    EXPECT_EQ(four.exitCode, 1) << Text(four);
    for (const QString& path : bad)
        EXPECT_TRUE(one.err.contains("layerpix-compose: " + path.toUtf8() + ": ")) << Text(one);
    EXPECT_EQ(one.err.count('\n'), bad.size()) << Text(one);
    // Four jobs report each failure as it happens, so in whatever order the jobs meet them.
    const auto lines = [](const QByteArray& text) {
        QList<QByteArray> sorted = text.split('\n');
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    };
    EXPECT_EQ(lines(four.err), lines(one.err));
    // The foreground is read while the first backgrounds are: when it fails, it is the only
    // failure told, even beside bad backgrounds and outputs in the way, and nothing is written.
    for (const auto& [out, jobs] : {std::pair{"one", "1"}, {"fresh", "4"}}) {
        const auto result = folder.Run(QStringList{"--foreground", bad[1], "-o", folder.Path(out), "--jobs", jobs} +
                                       backgrounds);
        EXPECT_EQ(result.exitCode, 1) << Text(result);
        EXPECT_TRUE(result.err.startsWith("layerpix-compose: " + bad[1].toUtf8() + ": ")) << Text(result);
        EXPECT_EQ(result.err.count('\n'), 1) << Text(result);
    }
    EXPECT_TRUE(folder.Entries("fresh").isEmpty());
    const QStringList written = folder.Entries("one");
    EXPECT_EQ(written.size(), 9);
    EXPECT_EQ(folder.Entries("four"), written);
    for (const QString& name : written)
        EXPECT_EQ(folder.ReadFile("four/" + name), folder.ReadFile("one/" + name)) << name.toStdString();
    EXPECT_EQ(QImage(folder.Path("one/p8.bmp")).size(), QSize(30 + 17 * 8, 70 - 5 * 8));
}

// On a terminal, for more than one picture only, and removed at the end.
TEST_F(ComposeCommand, TheProgressLineShowsOnATerminalForMoreThanOnePicture)
{
    const QStringList three{Background("a.jpg", 20, 20, 30), Background("b.jpg", 20, 20, 31),
                            Background("c.jpg", 20, 20, 32)};
    const auto terminal = Compose("out", QStringList{"--overwrite"} + three, {}, true);
    EXPECT_EQ(terminal.exitCode, 0);
    EXPECT_TRUE(terminal.err.contains("] 1/3 ") && terminal.err.contains("] 3/3 ") &&
                terminal.err.endsWith("\r\x1b[K")) << Text(terminal);
    for (const auto& quiet : {Compose("out", {"--overwrite", three[0]}, {}, true),
                              Compose("out", QStringList{"--overwrite"} + three)}) {
        EXPECT_EQ(quiet.exitCode, 0);
        EXPECT_TRUE(quiet.err.isEmpty()) << Text(quiet);
    }
}

} // namespace
