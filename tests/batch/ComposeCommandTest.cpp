// layerpix-compose run as a real process on real files, and against the window's own save.
#include "core/document/Document.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {
// One composite for the window and the command: pictures, settings (key, rate, JPEG and PNG), place.
struct Case {
    const char *front, *back, *format;   // the command's --format
    SettingsRecord settings;
    std::int32_t x, y;
};
void PrintTo(const Case& c, std::ostream* out) { *out << c.front << " on " << c.back << " at " << c.x << "," << c.y; }

// Each test runs its own copy of the program, in "program/", so it has its own settings file
// beside it, and its own configuration folder; a copy that failed fails every run.
class ComposeCommand : public testing::TestWithParam<Case> {
protected:
    ComposeCommand()
    {
        QDir(root_.path()).mkpath("config");
        QFile::copy(LAYERPIX_COMPOSE, Path("program/layerpix-compose"));
    }
    QString Path(const QString& relative) const
    {
        QDir().mkpath(QFileInfo(root_.filePath(relative)).path());
        return root_.filePath(relative);
    }
    QString WriteFile(const QString& relative, const QByteArray& bytes) const
    {
        QFile file(Path(relative));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    // A picture in the format its extension names.
    QString WritePicture(const QString& relative, const QImage& picture) const
    {
        return WriteFile(relative, EncodedPicture(picture, QFileInfo(relative).suffix().toLatin1()));
    }
    QString Background(const QString& name, int width = 20, int height = 20) const
    {
        return WritePicture("in/" + name, NoisePicture(width, height, qHash(name)));
    }
    QByteArray ReadFile(const QString& relative) const
    {
        QFile file(root_.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
    }
    QStringList Entries(const QString& relative) const
    {
        return QDir(root_.filePath(relative)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    struct Result {
        int exitCode = -1;   // -1: it crashed or hung
        QByteArray out, err;
    };
    Result Run(const QStringList& arguments, const QByteArray& input = {}) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", root_.filePath("config"));
        process.setProcessEnvironment(environment);
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
using ComposeIdentity = ComposeCommand;

// The settings file beside the program is read and never written; none is made.
TEST_F(ComposeCommand, ExitStatusSaysWhetherEverythingWasWrittenOrTheCommandCouldNotStart)
{
    const QString photo = Background("photo.jpg", 60, 40), plainFile = WriteFile("plain.txt", "not a folder");
    const QStringList composeInto{"--foreground", logo, "-o", "out", photo};
    const struct { QStringList arguments; const char* settings; int exitCode; const char* err; } rows[] = {
        {{}, nullptr, 2, "layerpix-compose: no foreground: give --foreground PICTURE\nTry 'layerpix-compose --help'."},
        {{"--foreground", logo, "-o", "out", "--list", "nowhere.txt"}, nullptr, 2, "nowhere.txt: "},
        {{"--foreground", logo, "-o", plainFile, photo}, nullptr, 2, "the output folder cannot be made"},
        {composeInto, "[Param]\nTransColor=99999999999\n", 2, "overflow in the settings file"},
        {composeInto, "[PNG]\nRate=0\n", 0, ""}};   // off a terminal, no progress line
    for (const auto& row : rows) {
        QFile::remove(Path("program/Layerpix.ini"));
        if (row.settings)
            WriteFile("program/Layerpix.ini", row.settings);
        const auto result = Run(row.arguments);
        EXPECT_TRUE(result.exitCode == row.exitCode && result.out.isEmpty()
                    && (*row.err ? result.err.contains(row.err) : result.err.isEmpty()))
            << row.arguments.join(u' ').toStdString() << "\n" << result.err.toStdString();
        EXPECT_EQ(ReadFile("program/Layerpix.ini"), row.settings ? row.settings : "<missing>");
    }
    EXPECT_EQ(Entries("out"), QStringList{"photo.jpg"});
    EXPECT_TRUE(Entries("config").isEmpty());
}

// A list file (blank lines and CR LF ends skipped), standard input and named backgrounds join,
// each written in its own format under its base name; a second of a name is refused, an existing
// file kept unless --overwrite, and the rest are still written. An empty list composes nothing.
TEST_F(ComposeCommand, ListsJoinTheNamedBackgroundsAndNothingIsReplacedWithoutOverwrite)
{
    const QString a = Background("a.jpg"), b = Background("b.png"), c = Background("c.bmp"), d = Background("d.JPEG");
    const QString list = WriteFile("list.txt", a.toUtf8() + "\r\n\n" + b.toUtf8() + "\n");
    const auto joined = Compose("out", {"--list", list, "--list", "-", d, a}, c.toUtf8());
    EXPECT_TRUE(joined.exitCode == 1 && joined.err.count('\n') == 1
                && joined.err.contains("a.jpg: gives the same file ")) << joined.err.toStdString();
    EXPECT_EQ(Entries("out"), (QStringList{"a.jpg", "b.png", "c.bmp", "d.jpg"}));
    EXPECT_TRUE(Compose("none", {"--list", "-"}).exitCode == 0 && Entries("none").isEmpty());

    WriteFile("kept/a.jpg", "old");
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
    const QStringList bad{Path("in/missing.jpg"), WriteFile("in/corrupt.png", "\x89PNG\r\n\x1a\n but nothing after"),
                          WriteFile("in/corrupt.jpg", "\xFF\xD8\xFF not really"), WriteFile("in/empty.bmp", ""),
                          Path("in/folder.jpg")};
    QDir().mkpath(bad.last());
    const QStringList kinds{"jpg", "png", "bmp"};
    QStringList backgrounds;
    for (int i = 0; i < 9; ++i) {
        backgrounds << Background(QString("p%1.").arg(i) + kinds[i % 3], 30 + 17 * i, 70 - 5 * i);
        if (i < bad.size())
            backgrounds << bad[i];
    }
    const QStringList options = QStringList{"--rate", "55", "--at", "12,-5"} + backgrounds;
    const auto one = Compose("one", QStringList{"--jobs", "1"} + options);
    const auto four = Compose("four", QStringList{"--jobs", "4"} + options);
    const QList<QByteArray> told = one.err.split('\n'), toldByFour = four.err.split('\n');   // as they happen
    EXPECT_TRUE(one.exitCode == 1 && four.exitCode == 1 && told.size() == bad.size() + 1
                && QSet(told.begin(), told.end()) == QSet(toldByFour.begin(), toldByFour.end()))
        << one.err.toStdString() << four.err.toStdString();
    for (const QString& path : bad)
        EXPECT_TRUE(one.err.contains("layerpix-compose: " + path.toUtf8() + ": ")) << path.toStdString();
    EXPECT_TRUE(Entries("one").size() == 9 && Entries("four") == Entries("one"));
    for (const QString& name : Entries("one"))
        EXPECT_EQ(ReadFile("four/" + name), ReadFile("one/" + name)) << name.toStdString();

    for (const char* jobs : {"1", "4"}) {
        const auto result = Run(QStringList{"--foreground", bad[1], "-o", Path("fresh"), "--jobs", jobs} + backgrounds);
        EXPECT_TRUE(result.exitCode == 1 && result.err.startsWith("layerpix-compose: " + bad[1].toUtf8() + ": ")
                    && result.err.count('\n') == 1) << result.err.toStdString();
    }
    EXPECT_TRUE(Entries("fresh").isEmpty());
}

// The same composite saved through the real main window and composite view and written by the
// command is the same file. (That the command reads its settings as typed, the options table shows.)
TEST_P(ComposeIdentity, TheWindowAndTheCommandWriteTheSameFile)
{
    const Case& c = GetParam();
    const SettingsRecord& s = c.settings;
    // A keyed logo whose half-transparent band lets the holders' background show through.
    QImage keyed = NoisePicture(48, 36, 7).convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&keyed);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(0, 0, 12, 30, Qt::magenta);
    painter.fillRect(0, 30, 48, 6, QColor(10, 200, 90, 100));
    painter.end();
    WritePicture("in/keyed.png", keyed);
    WritePicture("in/keyed.bmp", keyed.convertToFormat(QImage::Format_RGB32));
    WritePicture(c.back, GradientPicture(120, 90));

    Document document(s);
    frmMain main(document);
    ScriptedDialogsScope dialogs;
    ASSERT_EQ(main.LoadSourceImage(Path(c.front), 0) + main.LoadSourceImage(Path(c.back), 1), 0);
    std::tie(document.FrontX, document.FrontY) = std::tuple(c.x, c.y);
    main.BTN_Click(0);
    ASSERT_NE(main.View(), nullptr);
    const QString format = c.format;   // the save dialog's filter for it forces its extension
    dialogs->saveAnswers.push_back({true, Path("window/composite"), format == "bmp" ? 2 : format == "jpg" ? 3 : 4});
    QTest::mouseRelease(&Find<PictureBox>(*main.View(), "Board"), Qt::RightButton, {}, QPoint(5, 5));
    const QByteArray window = ReadFile("window/composite." + format.toUpper());
    EXPECT_TRUE(window.size() > 100 && dialogs->messages.empty());

    // The same values typed on the command line.
    const ColorRef key = s.TransColor;
    QStringList typed{"--foreground", Path(c.front), "-o", Path("command"), Path(c.back), "--format", format,
                      "--at", QString("%1,%2").arg(c.x).arg(c.y), "--rate", QString::number(s.TransRate),
                      "--key", QString::asprintf("%02x%02x%02x", RedOf(key), GreenOf(key), BlueOf(key)),
                      "--jpeg-rate", QString::number(s.JpegRate), "--png-rate", QString::number(s.PngRate)};
    if (s.JpegPrgrs != 0)
        typed << "--progressive";
    const auto result = Run(typed);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_TRUE(ReadFile("command/" + QFileInfo(c.back).completeBaseName() + "." + format) == window);
}

constexpr ColorRef kMagenta = RGB(255, 0, 255);
INSTANTIATE_TEST_SUITE_P(EveryFormat, ComposeIdentity,
    testing::Values(Case{"in/keyed.png", "in/photo.jpg", "jpg", {{}, {}, {}, kMagenta, 0, 1, -1, 1}, -7, 13},
                    Case{"in/keyed.png", "in/photo.png", "png", {{}, {}, {}, kMagenta, 100, 50, 0, 2}, 100, 80},
                    Case{"in/keyed.bmp", "in/photo.png", "png", {{}, {}, {}, RGB(1, 2, 3), 45, 50, 0, 0}, 3, 4},
                    Case{"in/keyed.png", "in/photo.bmp", "bmp", {{}, {}, {}, kMagenta, 35, 50, 0, 1}, -20, -20}));
} // namespace
