// layerpix-compose run as a real process on real files, and against the window's own save.
#include "core/document/Document.h"
#include "support/Controls.h"
#include "support/FolderSnapshot.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Each test runs its own copy of the program, in "program/", so it has its own settings file
// beside it, and its own configuration folder; a copy that failed fails every run.
class ComposeCommand : public testing::Test {
protected:
    ComposeCommand()
    {
        QFile::copy(LAYERPIX_COMPOSE, Path("program/layerpix-compose"));
        qputenv("XDG_CONFIG_HOME", Path("config/").toUtf8());
    }
    ~ComposeCommand() override { qunsetenv("XDG_CONFIG_HOME"); }

    // The path of `relative` in the test's folder, its folder made.
    QString Path(const QString& relative) const
    {
        QDir().mkpath(QFileInfo(root_.filePath(relative)).path());
        return root_.filePath(relative);
    }
    QString Write(const QString& relative, const QByteArray& bytes) const { return WriteFile(Path(relative), bytes); }
    // A picture in the format its extension names.
    QString WritePicture(const QString& relative, const QImage& picture) const
    {
        return Write(relative, EncodedPicture(picture, QFileInfo(relative).suffix().toLatin1()));
    }
    QString Background(const QString& name, int w = 20, int h = 20) const
    {
        return WritePicture("in/" + name, NoisePicture(w, h, qHash(name)));
    }
    std::string ReadFile(const QString& relative) const { return ReadBytes(root_.filePath(relative).toStdString()); }
    std::vector<std::string> Entries(const QString& folder) const { return Names(root_.filePath(folder).toStdString()); }

    struct Result { int exitCode = -1; QByteArray out, err; };   // -1: it crashed or hung
    Result Run(const QStringList& arguments, const QByteArray& input = {}) const
    {
        QProcess process;
        process.setWorkingDirectory(root_.path());
        process.start(root_.filePath("program/layerpix-compose"), arguments);
        process.write(input);
        process.closeWriteChannel();
        const bool ended = process.waitForFinished(120'000);   // a hung program fails the test, not blocks it
        return {ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }
    // Runs with the logo as the foreground and `out` as the output folder.
    Result Compose(const QString& out, const QStringList& arguments, const QByteArray& input = {}) const
    {
        return Run(QStringList{"--foreground", logo, "-o", Path(out)} + arguments, input);
    }

    QTemporaryDir root_;
    QString logo = WritePicture("in/logo.png", NoisePicture(40, 30, 1));
};

// The settings file beside the program is read and never written; none is made.
TEST_F(ComposeCommand, ExitStatusSaysWhetherEverythingWasWrittenOrTheCommandCouldNotStart)
{
    const QString photo = Background("photo.jpg", 60, 40), plainFile = Write("plain.txt", "not a folder");
    const QStringList composeInto{"--foreground", logo, "-o", "out", photo};
    const struct { QStringList arguments; const char* settings; int exitCode; const char* err; } rows[] = {
        {{}, nullptr, 2, "layerpix-compose: no foreground: give --foreground PICTURE\nTry 'layerpix-compose --help'."},
        {{"--foreground", logo, "-o", "out", "--list", "nowhere.txt"}, nullptr, 2, "nowhere.txt: "},
        {{"--foreground", logo, "-o", plainFile, photo}, nullptr, 2, "cannot make the folder"},
        {composeInto, "[Param]\nTransColor=99999999999\n", 2, "overflow in the settings file"},
        {composeInto, "[PNG]\nRate=0\n", 0, ""}};   // off a terminal, no progress line
    for (const auto& row : rows) {
        QFile::remove(Path("program/Layerpix.ini"));
        if (row.settings)
            Write("program/Layerpix.ini", row.settings);
        const auto result = Run(row.arguments);
        EXPECT_TRUE(result.exitCode == row.exitCode && result.out.isEmpty()
                    && (*row.err ? result.err.contains(row.err) : result.err.isEmpty()))
            << row.arguments.join(u' ').toStdString() << "\n" << result.err.toStdString();
        EXPECT_EQ(ReadFile("program/Layerpix.ini"), row.settings ? row.settings : "<unreadable>");
    }
    EXPECT_EQ(Entries("out"), std::vector<std::string>{"photo.jpg"});
    EXPECT_TRUE(Entries("config").empty());
}

// A list file (blank lines and CR LF ends skipped), standard input and named backgrounds join,
// each written in its own format under its base name; a second of a name is refused, an existing
// file kept unless --overwrite, and the rest are still written. An empty list composes nothing.
TEST_F(ComposeCommand, ListsJoinTheNamedBackgroundsAndNothingIsReplacedWithoutOverwrite)
{
    const QString a = Background("a.jpg"), b = Background("b.png"), c = Background("c.bmp"), d = Background("d.JPEG");
    const QString list = Write("list.txt", a.toUtf8() + "\r\n\n" + b.toUtf8() + "\n");
    const auto joined = Compose("out", {"--list", list, "--list", "-", d, a}, c.toUtf8());
    EXPECT_TRUE(joined.exitCode == 1 && joined.err.count('\n') == 1
                && joined.err.contains("a.jpg: gives the same file ")) << joined.err.toStdString();
    EXPECT_EQ(Entries("out"), (std::vector<std::string>{"a.jpg", "b.png", "c.bmp", "d.jpg"}));
    EXPECT_TRUE(Compose("none", {"--list", "-"}).exitCode == 0 && Entries("none").empty());

    Write("kept/a.jpg", "old");
    const auto kept = Compose("kept", {a, b});
    EXPECT_TRUE(kept.exitCode == 1 && kept.err.contains(Path("kept/a.jpg").toUtf8() + ": exists already"))
        << kept.err.toStdString();
    EXPECT_EQ(ReadFile("kept/a.jpg") + ReadFile("kept/b.png"), "old" + ReadFile("out/b.png"));
    EXPECT_TRUE(Compose("kept", {"--overwrite", a}).exitCode == 0 && ReadFile("kept/a.jpg") == ReadFile("out/a.jpg"));
}

// Bad pictures among good ones, by one job and by four: each is named, the good ones give the same
// files either way. A foreground that fails is the only failure told, and nothing is written.
TEST_F(ComposeCommand, BadPicturesAreNamedAndSeveralJobsWriteTheSameFilesAsOne)
{
    const QStringList bad{Path("in/missing.jpg"), Write("in/corrupt.png", "\x89PNG\r\n\x1a\n but nothing after"),
                          Write("in/corrupt.jpg", "\xFF\xD8\xFF not really"), Write("in/empty.bmp", ""),
                          Path("in/folder.jpg/")};   // Path makes the folder
    QStringList backgrounds;
    for (int i = 0; i < 9; ++i)   // a bad one after each of the first good ones
        backgrounds << Background(QString("p%1.%2").arg(i).arg(QStringList{"jpg", "png", "bmp"}[i % 3]), 30 + 17 * i,
                                  70 - 5 * i) << bad.mid(i, 1);
    const QStringList options = QStringList{"--rate", "55", "--at", "12,-5"} + backgrounds;
    const auto one = Compose("one", QStringList{"--jobs", "1"} + options);
    const auto four = Compose("four", QStringList{"--jobs", "4"} + options);
    const QList<QByteArray> told = one.err.split('\n'), toldByFour = four.err.split('\n');   // as they happen
    EXPECT_TRUE(one.exitCode == 1 && four.exitCode == 1 && told.size() == bad.size() + 1
                && QSet(told.begin(), told.end()) == QSet(toldByFour.begin(), toldByFour.end()))
        << one.err.toStdString() << four.err.toStdString();
    for (const QString& path : bad)
        EXPECT_TRUE(one.err.contains("layerpix-compose: " + path.toUtf8() + ": ")) << path.toStdString();
    EXPECT_EQ(Entries("one").size(), 9);
    EXPECT_EQ(FolderSnapshot(Path("four").toStdString()), FolderSnapshot(Path("one").toStdString()));

    for (const char* jobs : {"1", "4"}) {
        const auto result = Run(QStringList{"--foreground", bad[1], "-o", Path("fresh"), "--jobs", jobs} + backgrounds);
        EXPECT_TRUE(result.exitCode == 1 && result.err.startsWith("layerpix-compose: " + bad[1].toUtf8() + ": ")
                    && result.err.count('\n') == 1) << result.err.toStdString();
    }
    EXPECT_TRUE(Entries("fresh").empty());
}

// The same composite saved through the real main window and composite view and written by the
// command is the same file, in each format. (That the command reads its settings as typed, the
// options table shows.) A keyed logo's half-transparent band lets the holders' background show.
TEST_F(ComposeCommand, TheWindowAndTheCommandWriteTheSameFile)
{
    QImage keyed = NoisePicture(48, 36, 7).convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 48 * 36; ++i)
        if (i % 48 < 12 || i >= 48 * 30)
            keyed.setPixel(i % 48, i / 48, i >= 48 * 30 ? qRgba(10, 200, 90, 100) : qRgb(255, 0, 255));
    WritePicture("in/keyed.png", keyed);
    WritePicture("in/keyed.bmp", keyed.convertToFormat(QImage::Format_RGB32));
    constexpr ColorRef kMagenta = RGB(255, 0, 255);
    // The save dialog's filter for the format forces its extension.
    const struct { QString front, back, format; int filter; SettingsRecord s; std::int32_t x, y; } cases[] = {
        {"in/keyed.png", "in/photo.jpg", "jpg", 3, {{}, {}, {}, kMagenta, 0, 1, -1, 1}, -7, 13},
        {"in/keyed.png", "in/photo.png", "png", 4, {{}, {}, {}, kMagenta, 100, 50, 0, 2}, 100, 80},
        {"in/keyed.bmp", "in/photo.png", "png", 4, {{}, {}, {}, RGB(1, 2, 3), 45, 50, 0, 0}, 3, 4},
        {"in/keyed.png", "in/photo.bmp", "bmp", 2, {{}, {}, {}, kMagenta, 35, 50, 0, 1}, -20, -20}};
    for (const auto& [front, back, format, filter, s, x, y] : cases) {
        const QString out = QString("%1 on %2 at %3,%4/").arg(front, back).arg(x).arg(y).replace("in/", "");
        SCOPED_TRACE(out.toStdString());
        WritePicture(back, GradientPicture(120, 90));
        Document document(s);
        frmMain main(document);
        ScriptedDialogsScope dialogs;
        ASSERT_EQ(main.LoadSourceImage(Path(front), 0) + main.LoadSourceImage(Path(back), 1), 0);
        std::tie(document.FrontX, document.FrontY) = std::tuple(x, y);
        main.BTN_Click(0);
        ASSERT_NE(main.View(), nullptr);
        dialogs->saveAnswers.push_back({true, Path("window/" + out + "composite"), filter});
        QTest::mouseRelease(&Find<PictureBox>(*main.View(), "Board"), Qt::RightButton, {}, QPoint(5, 5));
        const std::string window = ReadFile("window/" + out + "composite." + format.toUpper());
        EXPECT_TRUE(window.size() > 100 && dialogs->messages.empty());

        const ColorRef key = s.TransColor;   // the same values typed on the command line; "--" ends the options
        const auto result = Run({"--foreground", Path(front), "-o", Path("command/" + out), Path(back),
                                 "--format", format, "--at", QString("%1,%2").arg(x).arg(y),
                                 "--rate", QString::number(s.TransRate),
                                 "--key", QString::asprintf("%02x%02x%02x", RedOf(key), GreenOf(key), BlueOf(key)),
                                 "--jpeg-rate", QString::number(s.JpegRate), "--png-rate", QString::number(s.PngRate),
                                 s.JpegPrgrs != 0 ? "--progressive" : "--"});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        EXPECT_TRUE(ReadFile("command/" + out + QFileInfo(back).completeBaseName() + "." + format) == window);
    }
}
} // namespace
