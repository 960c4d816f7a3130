// layerpix-compose run as a real process on real files, and against the window's own save.
#include "core/document/Document.h"
#include "support/Controls.h"
#include "support/ExifTags.h"
#include "support/FolderSnapshot.h"
#include "support/PixelAssert.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "windows/main/frmMain.h"
#include "windows/view/frmView.h"

#include <QColorSpace>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// What a hostile or unlucky user gives: pipes, devices, endless or broken lists, a repeated
// option, outputs that are the inputs, names with control characters or bytes that are not
// UTF-8, the file-size limit, a settings file too large to read. Each is refused at once with
// its reason, and the good pictures are still written.
TEST_F(ComposeCommand, HostileInputsAreRefusedWithTheirReasonAndTheRestGoOn)
{
    const QString photo = Background("photo.jpg"), pipe = Path("in/pipe.jpg");
    ::mkfifo(QFile::encodeName(pipe), 0644);
    const QString longLine = Write("long.txt", QByteArray(5000, 'a')), nul = Write("nul.txt", QByteArray("a\0b\n", 4));
    const QString escape = Background("\x1b[2Jred.bmp");
    const struct { QStringList arguments; int exitCode; const char* err; } rows[] = {
        {{pipe, photo}, 1, "in/pipe.jpg: not a plain file"},
        {{"--list", "/dev/zero"}, 2, "/dev/zero: a list is a plain file or a pipe, not a device or a socket"},
        {{"--list", longLine}, 2, "long.txt: line 1 is longer than 4096 bytes"},
        {{"--list", nul}, 2, "nul.txt: line 1 holds a NUL byte"},
        {{"--rate", "50", photo, "--rate=60"}, 2, "--rate given twice: give it once"},
        {{escape}, 1, "out/\\x1b[2Jred.bmp: exists already"}};
    Write("out/\x1b[2Jred.bmp", "old");
    for (const auto& row : rows) {
        const auto result = Compose("out", row.arguments);
        EXPECT_TRUE(result.exitCode == row.exitCode && result.err.contains(row.err) && !result.err.contains('\x1b'))
            << result.err.toStdString();
    }
    EXPECT_EQ(Entries("out"), (std::vector<std::string>{"\x1b[2Jred.bmp", "photo.jpg"}));
    const auto foreground = Run({"--foreground", pipe, "-o", Path("out"), photo});
    EXPECT_TRUE(foreground.exitCode == 1 && foreground.err.contains("pipe.jpg: not a plain file"));

    // --overwrite into the pictures' own folder replaces none of them, the foreground neither.
    const std::string before = FolderSnapshot(Path("in").toStdString());
    const auto own = Run({"--foreground", Path("in/photo.jpg"), "-o", Path("in"), "--overwrite", photo, escape});
    EXPECT_TRUE(own.exitCode == 1 && own.err.count("itself, which is never replaced") == 2) << own.err.toStdString();
    EXPECT_EQ(FolderSnapshot(Path("in").toStdString()), before);

    // Past the file-size limit a picture fails with the system's reason and the next is written.
    QProcess limited;
    limited.setChildProcessModifier([] {
        const rlimit fileSize{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
    });
    limited.start(Path("program/layerpix-compose"),
                  {"--foreground", logo, "-o", Path("limited"), "--format", "png", Background("big.bmp", 300, 300),
                   photo});
    ASSERT_TRUE(limited.waitForFinished(60'000));
    const QByteArray limitedErr = limited.readAllStandardError();
    EXPECT_TRUE(limited.exitStatus() == QProcess::NormalExit && limited.exitCode() == 1 &&
                limitedErr.contains("big.png: File too large")) << limitedErr.toStdString();
    EXPECT_EQ(Entries("limited"), std::vector<std::string>{"photo.png"});

    // A name that is not UTF-8 keeps its bytes, in the list and in -o.
    std::ofstream(Path("in").toStdString() + "/\xff.bmp") << ReadFile("in/photo.jpg");
    const std::string folder = Path("odd").toStdString() + "\xfe";
    const std::string list = Write("odd.txt", QByteArray::fromStdString(Path("in").toStdString() + "/\xff.bmp\n")).toStdString();
    const std::string program = Path("program/layerpix-compose").toStdString();
    const char* argv[] = {program.c_str(), "--foreground", logo.toUtf8().constData(), "--list", list.c_str(), "-o", folder.c_str(), nullptr};
    if (const pid_t child = ::fork(); child == 0) {
        ::execv(argv[0], const_cast<char**>(argv));
        ::_exit(127);
    } else {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(Names(folder), std::vector<std::string>{"\xff.bmp"});
    // Qt cannot remove what it cannot name.
    std::filesystem::remove_all(folder);
    std::filesystem::remove(Path("in").toStdString() + "/\xff.bmp");

    // A settings file too large to read stops the command rather than give it the defaults.
    QFile settings(Path("program/Layerpix.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.resize(65 << 20));
    settings.close();
    const auto unread = Compose("out", {photo});
    EXPECT_TRUE(unread.exitCode == 2 && unread.err.contains("the settings file cannot be read:")) << unread.err.toStdString();
}

// A logo held to the bottom-right corner at a tenth of each width lands in the corner of a
// landscape, a portrait and a photo that its EXIF orientation turns upright.
TEST_F(ComposeCommand, GravityAndScalePlaceTheLogoOnPhotosOfEverySize)
{
    QByteArray turned = EncodedPicture(GradientPicture(80, 60), "JPG");   // upright 60 x 80
    const char exif[] = "\xFF\xE1\x00\x22" "Exif\0\0" "MM\0\x2A\0\0\0\x08" "\0\x01" "\x01\x12\0\x03\0\0\0\x01\0\x06\0\0"
                        "\0\0\0\0";
    turned.insert(2, exif, sizeof exif - 1);
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    const auto result = Run({"--foreground", WritePicture("in/red.png", red), "--gravity", "se", "--margin", "5%,2",
                             "--scale", "10", "--format", "png", "-o", Path("out"), Background("wide.png", 200, 100),
                             Background("tall.png", 100, 200), Write("in/turned.jpg", turned)});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    for (const auto& [name, logo] : {std::pair{"wide.png", QRect(170, 88, 20, 10)}, {"tall.png", QRect(85, 193, 10, 5)},
                                     {"turned.png", QRect(51, 75, 6, 3)}}) {
        const QImage out(Path("out/") + name);
        QRect reds;
        for (int i = 0; i < out.width() * out.height(); ++i)
            if (out.pixel(i % out.width(), i / out.width()) == qRgb(255, 0, 0))
                reds |= QRect(i % out.width(), i / out.width(), 1, 1);
        EXPECT_EQ(reds, logo) << name;
    }
}

// Two commands writing the same names into one folder at once, without --overwrite: each file
// is written by one of them, whole, and the other says so; neither replaces the other's.
TEST_F(ComposeCommand, TwoCommandsAtOnceNeverReplaceEachOthersFiles)
{
    QStringList photos;
    for (int i = 0; i < 12; ++i)
        photos << Background(QString("p%1.png").arg(i), 64, 48);
    for (int round = 0; round < 20; ++round) {
        const QString out = Path(QString("race%1").arg(round));
        QProcess commands[2];
        for (int i = 0; i < 2; ++i)
            commands[i].start(Path("program/layerpix-compose"),
                              QStringList{"--foreground", logo, "--at", QString("%1,0").arg(i * 20), "-o", out} + photos);
        int refused = 0;
        for (QProcess& command : commands) {
            ASSERT_TRUE(command.waitForFinished(60'000));
            refused += int(command.readAllStandardError().count("exists already; --overwrite replaces it"));
        }
        EXPECT_EQ(refused, 12) << "round " << round;
        EXPECT_EQ(Entries(QString("race%1").arg(round)).size(), 12u);
    }
}

// The same composite saved through the real main window and composite view and written by the
// command is the same file, in each format. (That the command reads its settings as typed, the
// options table shows.) A keyed logo's half-transparent band lets the holders' background show.
// A camera photo's metadata goes into both, that of the background the view was composed from,
// even after another is opened; --strip writes the same pixels without it.
TEST_F(ComposeCommand, TheWindowAndTheCommandWriteTheSameFile)
{
    QImage keyed = NoisePicture(48, 36, 7).convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 48 * 36; ++i)
        if (i % 48 < 12 || i >= 48 * 30)
            keyed.setPixel(i % 48, i / 48, i >= 48 * 30 ? qRgba(10, 200, 90, 100) : qRgb(255, 0, 255));
    WritePicture("in/keyed.png", keyed);
    WritePicture("in/keyed.bmp", keyed.convertToFormat(QImage::Format_RGB32));
    Write("in/camera.jpg", TestDataFile("jpeg/pil_sample_rgb.jpg"));
    constexpr ColorRef kMagenta = RGB(255, 0, 255);
    // The save dialog's filter for the format forces its extension.
    const struct { QString front, back, format; int filter; SettingsRecord s; std::int32_t x, y; } cases[] = {
        {"in/keyed.png", "in/camera.jpg", "jpg", 3, {{}, {}, {}, kMagenta, 0, 1, -1, 1}, -7, 13},
        {"in/keyed.png", "in/camera.jpg", "png", 4, {{}, {}, {}, kMagenta, 70, 50, 0, 1}, 60, 50},
        {"in/keyed.png", "in/photo.png", "png", 4, {{}, {}, {}, kMagenta, 100, 50, 0, 2}, 100, 80},
        {"in/keyed.bmp", "in/photo.png", "png", 4, {{}, {}, {}, RGB(1, 2, 3), 45, 50, 0, 0}, 3, 4},
        {"in/keyed.png", "in/photo.bmp", "bmp", 2, {{}, {}, {}, kMagenta, 35, 50, 0, 1}, -20, -20},
        // The menu's choices: the foreground's own transparency, and the key's tolerance.
        {"in/keyed.png", "in/photo.png", "png", 4, {{}, {}, {}, kMagenta, 100, 50, 0, 1, 0, 0, 0, 1, {}}, 5, 6},
        {"in/keyed.png", "in/photo.bmp", "bmp", 2, {{}, {}, {}, kMagenta, 60, 50, 0, 1, 0, 0, 0, 1, 40}, 5, 6},
        {"in/keyed.bmp", "in/photo.png", "png", 4, {{}, {}, {}, kMagenta, 80, 50, 0, 1, 0, 0, 0, {}, 100}, 5, 6}};
    for (const auto& [front, back, format, filter, s, x, y] : cases) {
        const QString out = QString("%1 on %2 at %3,%4/").arg(front, back).arg(x).arg(y).replace("in/", "");
        SCOPED_TRACE(out.toStdString());
        if (back != "in/camera.jpg")
            WritePicture(back, GradientPicture(120, 90));
        Document document(s);
        frmMain main(document);
        ScriptedDialogsScope dialogs;
        ASSERT_EQ(main.LoadSourceImage(Path(front), 0) + main.LoadSourceImage(Path(back), 1), 0);
        std::tie(document.FrontX, document.FrontY) = std::tuple(x, y);
        main.BTN_Click(0);
        ASSERT_NE(main.View(), nullptr);
        ASSERT_EQ(main.LoadSourceImage(Path("in/keyed.bmp"), 1), 0);
        dialogs->saveAnswers.push_back({true, Path("window/" + out + "composite"), filter});
        QTest::mouseRelease(&Find<PictureBox>(*main.View(), "Board"), Qt::RightButton, {}, QPoint(5, 5));
        const std::string window = ReadFile("window/" + out + "composite." + format.toUpper());
        EXPECT_TRUE(window.size() > 100 && dialogs->messages.empty());

        const ColorRef key = s.TransColor;   // the same values typed on the command line
        QStringList arguments{"--foreground", Path(front), Path(back), "--format", format,
                              "--at", QString("%1,%2").arg(x).arg(y), "--rate", QString::number(s.TransRate),
                              "--key", QString::asprintf("%02x%02x%02x", RedOf(key), GreenOf(key), BlueOf(key)),
                              "--jpeg-rate", QString::number(s.JpegRate), "--png-rate", QString::number(s.PngRate),
                              "--fuzz", QString::number(KeyToleranceChosen(s))};
        if (s.JpegPrgrs != 0)
            arguments << "--progressive";
        if (AlphaChosen(s))
            arguments << "--alpha";
        const auto result = Run(arguments + QStringList{"-o", Path("command/" + out)});
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        const QString name = QFileInfo(back).completeBaseName() + "." + format;
        EXPECT_TRUE(ReadFile("command/" + out + name) == window);
        if (back != "in/camera.jpg")
            continue;
        const QByteArray file = QByteArray::fromStdString(window), photo = TestDataFile("jpeg/pil_sample_rgb.jpg");
        EXPECT_EQ(QImage::fromData(file).colorSpace().iccProfile(), QImage::fromData(photo).colorSpace().iccProfile());
        EXPECT_TRUE(format == "png" || (ExifTags(file)["0 0132"] == ExifTags(photo).at("0 0132") && !ExifTags(file).contains("thumbnail")));
        ASSERT_EQ(Run(arguments + QStringList{"--strip", "-o", Path("stripped/" + out)}).exitCode, 0);
        const QByteArray stripped = QByteArray::fromStdString(ReadFile("stripped/" + out + name));
        for (const char* mark : {"Exif", "eXIf", "ICC_PROFILE", "iCCP", "xap/1.0"})
            EXPECT_FALSE(stripped.contains(mark)) << mark;
        EXPECT_TRUE(SamePixels(QImage::fromData(stripped), QImage::fromData(file)));
    }
}

// With the JPEG blocks kept, the window and the command write the same file: the background's
// own outside the MCUs the logo touches. A background whose blocks cannot be kept is written
// whole, as without the choice.
TEST_F(ComposeCommand, KeepingTheJpegBlocksTheWindowAndTheCommandKeepTheBackgroundAroundTheLogo)
{
    const QImage photo = GradientPicture(120, 90);
    Write("in/photo.jpg", EncodedPicture(photo, "JPG"));
    WritePicture("in/photo.png", photo);
    for (const QString& back : {QString("in/photo.jpg"), QString("in/photo.png")}) {
        SCOPED_TRACE(back.toStdString());
        SettingsRecord s;
        s.KeepJpegBlocks = 1;
        Document document(s);
        frmMain main(document);
        ScriptedDialogsScope dialogs;
        ASSERT_EQ(main.LoadSourceImage(logo, 0) + main.LoadSourceImage(Path(back), 1), 0);
        std::tie(document.FrontX, document.FrontY) = std::tuple(37, 21);
        main.BTN_Click(0);
        ASSERT_NE(main.View(), nullptr);
        dialogs->saveAnswers.push_back({true, Path("window/" + back + "/composite"), 3});
        QTest::mouseRelease(&Find<PictureBox>(*main.View(), "Board"), Qt::RightButton, {}, QPoint(5, 5));
        const std::string window = ReadFile("window/" + back + "/composite.JPG");

        const QStringList arguments{Path(back), "--format", "jpg", "--at", "37,21"};
        EXPECT_EQ(Compose("kept/" + back, arguments + QStringList{"--keep-jpeg-blocks"}).exitCode, 0);
        EXPECT_EQ(Compose("whole/" + back, arguments).exitCode, 0);
        const std::string kept = ReadFile("kept/" + back + "/photo.jpg"), whole = ReadFile("whole/" + back + "/photo.jpg");
        EXPECT_TRUE(kept == window && dialogs->messages.empty());
        EXPECT_EQ(kept == whole, back.endsWith(".png"));
        if (back.endsWith(".png"))
            continue;
        // The logo covers 37..76 x 21..50: the 16-pixel MCUs 32..79 x 16..63, and the pixel
        // beyond them that the decoder's chroma upsampling mixes.
        const QImage before = QImage(Path(back)).convertToFormat(QImage::Format_RGB32);
        const QImage after = QImage::fromData(QByteArray::fromStdString(kept)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(after.size(), before.size());
        int changed = 0;
        for (int y = 0; y < before.height(); ++y)
            for (int x = 0; x < before.width(); ++x) {
                const bool mixed = QRect(31, 15, 50, 50).contains(x, y);
                if (!mixed)
                    ASSERT_EQ(before.pixel(x, y), after.pixel(x, y)) << x << "," << y;
                changed += before.pixel(x, y) != after.pixel(x, y);
            }
        EXPECT_GT(changed, 40 * 30 / 2);
        // Pictures opened after the composite was made change nothing of what its save keeps.
        ASSERT_EQ(main.LoadSourceImage(Background("other.png", 8, 8), 0) +
                  main.LoadSourceImage(WritePicture("in/other.jpg", photo.mirrored()), 1), 0);
        dialogs->saveAnswers.push_back({true, Path("later/composite"), 3});
        QTest::mouseRelease(&Find<PictureBox>(*main.View(), "Board"), Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_EQ(ReadFile("later/composite.JPG"), window);
        // A background file changed since it was opened is not read again: the composite
        // is written whole.
        Write("in/photo.jpg", EncodedPicture(photo.mirrored(), "JPG"));
        QFile changedFile(Path(back));
        ASSERT_TRUE(changedFile.open(QIODevice::ReadWrite) &&
                    changedFile.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        dialogs->saveAnswers.push_back({true, Path("changed/composite"), 3});
        QTest::mouseRelease(&Find<PictureBox>(*main.View(), "Board"), Qt::RightButton, {}, QPoint(5, 5));
        EXPECT_EQ(ReadFile("changed/composite.JPG"), whole);
    }
}
} // namespace
