// The real program on a real X server: Xvfb for the screen, xdotool for the pointer and the
// keys, xwd for screenshots and xclip for the clipboard. Without an X server the test is skipped.
#include "StartedProgram.h"
#include "core/compose/ExpectedComposite.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
constexpr QRgb Key = qRgb(255, 0, 255);   // the transparent colour; 0x00FF00FF as stored
constexpr int Rate = 60;                  // the foreground's weight in percent

// Where the main window's fixed layout places its controls; the panes inside their border.
constexpr QPoint FrontPaneInside(88 + 2, 24 + 2);
constexpr QPoint BackPaneInside(88 + 2, 240 + 2);
constexpr QPoint ComposeButton(8 + 24, 448 + 12);
constexpr QPoint CloseButton(264 + 24, 448 + 12);

QImage Foreground()
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Key);
    QPainter painter(&picture);
    painter.fillRect(4, 3, 16, 24, QColor(200, 40, 10));
    painter.fillRect(20, 3, 16, 24, QColor(20, 180, 90));
    painter.fillRect(16, 12, 8, 6, QColor::fromRgb(Key));
    return picture;
}

// The one-pixel outline of `frame` painted in one colour, so the blinking marker drawn over
// the composite on screen compares equal whatever colour it has at the moment.
QImage WithoutOutline(QImage picture, QRect frame)
{
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    return picture;
}

class OnXServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "xwd", "xclip"})
            if (!OnPath(QString::fromLatin1(tool)))
                GTEST_SKIP() << "No X server can be driven here: " << tool
                             << " is not installed (scripts/setup installs it)";
        ASSERT_TRUE(folder.isValid());
        server = std::make_unique<StartedProgram>(
            "Xvfb", QStringList{"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, Environment({}));
        const std::optional<QByteArray> number = server->ReadLine(20s);
        if (!number || number->isEmpty())
            GTEST_SKIP() << "No X server can start here: Xvfb named no display ("
                         << server->Errors().trimmed().toStdString() << ")";
        display = QStringLiteral(":") + QString::fromLatin1(*number);
    }

    // Only what the programs need, so no desktop of the machine running the test leaks in.
    StartOptions Environment(const QString& displayName) const
    {
        StartOptions options{QProcessEnvironment(), folder.path()};
        for (const auto& [name, value] : {std::pair{"PATH", qEnvironmentVariable("PATH")}, {"LANG", QString("C.UTF-8")},
                                          {"HOME", folder.path()}, {"XDG_RUNTIME_DIR", folder.path()},   // mode 0700
                                          {"QT_QPA_PLATFORM", QString("xcb")}, {"DISPLAY", displayName}})
            options.environment.insert(QString::fromLatin1(name), value);
        return options;
    }

    RunResult Tool(const QString& program, const QStringList& arguments)
    {
        return RunToEnd(program, arguments, 15s, Environment(display));
    }
    int Xdotool(const QStringList& arguments) { return Tool("xdotool", arguments).exitCode; }

    // The visible window whose title is `title`, once it is on screen; empty if none comes.
    QString Window(const QString& title)
    {
        QString id;
        Eventually([&] {
            const RunResult found =
                Tool("xdotool", {"search", "--onlyvisible", "--name", QStringLiteral("^%1$").arg(title)});
            id = QString::fromLatin1(found.output.split('\n').first().trimmed());
            return found.exitCode == 0 && !id.isEmpty();
        });
        return id;
    }

    // The window as `xwd` dumps it (the X Window Dump format: a header of 32-bit big-endian
    // fields, the colour map, the pixels); null unless the pixels are 32-bit true colour in
    // the order of QImage's RGB32, as they are for one window of the default visual.
    QImage Shot(const QString& window)
    {
        const QByteArray dump = Tool("xwd", {"-id", window, "-silent"}).output;
        const auto field = [&dump](int i) {
            return dump.size() < 100 ? 0 : qFromBigEndian<quint32>(dump.constData() + 4 * i);
        };
        // The format, byte order, bits per pixel, visual class and colour masks.
        if (field(2) != 2 || field(7) != 0 || field(11) != 32 || field(13) != 4 || field(14) != 0xFF0000 ||
            field(15) != 0xFF00 || field(16) != 0xFF)
            return {};
        const qint64 pixels = field(0) + qint64(field(19)) * 12, stride = field(12);
        const int width = int(field(4)), height = int(field(5));
        if (pixels + stride * height > dump.size())
            return {};
        return QImage(reinterpret_cast<const uchar*>(dump.constData() + pixels), width, height, stride,
                      QImage::Format_RGB32).copy();
    }

    // Polls `window` until it shows `expected` at `at` (the marker's outline `frame`, in the
    // picture's coordinates, left out); the last comparison's result otherwise.
    ::testing::AssertionResult Shows(const QString& window, const QImage& expected, QPoint at, QRect frame = {})
    {
        ::testing::AssertionResult last = ::testing::AssertionFailure() << "no screenshot";
        Eventually([&] {
            QImage shown = Shot(window).copy(QRect(at, expected.size()));
            last = frame.isEmpty() ? SamePixels(expected, shown)
                                   : SamePixels(WithoutOutline(expected, frame), WithoutOutline(shown, frame));
            return bool(last);
        });
        return last;
    }

    // Moves the pointer to `at` in `window`, then does `then` there.
    void PointerAt(const QString& window, QPoint at, const QStringList& then)
    {
        ASSERT_EQ(Xdotool(MoveTo(window, at) + then), 0);
    }
    static QStringList MoveTo(const QString& window, QPoint at)
    {
        return {"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y())};
    }

    QString Path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }

    QTemporaryDir folder;
    QString display;
    // Declared in this order so the program ends before its X server.
    std::unique_ptr<StartedProgram> server;
    std::unique_ptr<StartedProgram> program;
};

TEST_F(OnXServer, OpenComposeDragCopySaveAndClose)
{
    const QImage front = Foreground(), back = NoisePicture(160, 120, 3);
    ASSERT_TRUE(front.save(Path("front.png")) && back.save(Path("back.bmp")));
    // The restored background gives way to the one on the command line.
    QFile settings(Path("Layerpix.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Image]\nFront=" + Path("front.png").toUtf8() + "\nBack=" + Path("old.bmp").toUtf8() +
                   "\n[Param]\nTransColor=16711935\nTransRate=" + QByteArray::number(Rate) + "\n");
    settings.close();
    ASSERT_TRUE(QFile::copy(QStringLiteral(LAYERPIX_EXECUTABLE), Path("layerpix")));
    program = std::make_unique<StartedProgram>(Path("layerpix"), QStringList{"back.bmp"}, Environment(display));
    ASSERT_TRUE(program->Started());

    // Both panes show their pictures, the background the one named on the command line.
    const QString main = Window(QStringLiteral("Layerpix"));
    ASSERT_FALSE(main.isEmpty()) << "no Layerpix window: " << program->Errors().toStdString();
    EXPECT_TRUE(Shows(main, front, FrontPaneInside));
    EXPECT_TRUE(Shows(main, back, BackPaneInside));

    // Compose: the view fits the composite, the foreground at (0, 0) under the marker.
    PointerAt(main, ComposeButton, {"click", "1"});
    const QString view = Window(QStringLiteral("合成画像"));
    ASSERT_FALSE(view.isEmpty());
    EXPECT_EQ(Shot(view).size(), back.size());
    EXPECT_TRUE(Shows(view, ExpectedComposite(front, back, {0, 0}, Rate, Key), {0, 0}, QRect({0, 0}, front.size())));

    // Drag the marker by its middle 50 pixels right and 40 down; the release composes there.
    PointerAt(view, {20, 15}, QStringList{"mousedown", "1"} + MoveTo(view, {35, 25}) + MoveTo(view, {55, 45}) +
                                  MoveTo(view, {70, 55}) + QStringList{"mouseup", "1"});
    const QImage placed = ExpectedComposite(front, back, {50, 40}, Rate, Key);
    EXPECT_TRUE(Shows(view, placed, {0, 0}, QRect({50, 40}, front.size())));

    // A double click away from the marker copies the composite, marker-free, as PNG.
    PointerAt(view, {10, 100}, {"click", "--repeat", "2", "--delay", "80", "1"});
    QImage copied;
    Eventually([&] {
        copied = QImage::fromData(Tool("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}).output, "PNG");
        return copied.size() == back.size();
    });
    EXPECT_TRUE(SamePixels(placed, copied));

    // A right-button release opens the save dialog; the typed name lands in the working folder.
    PointerAt(view, {10, 100}, {"click", "3"});
    ASSERT_FALSE(Window(QStringLiteral("ファイルの保存")).isEmpty());
    ASSERT_EQ(Xdotool({"type", "--delay", "30", "result.png"}), 0);
    ASSERT_EQ(Xdotool({"key", "Return"}), 0);
    QImage saved;
    EXPECT_TRUE(Eventually([&] { return !(saved = QImage(Path("result.png"))).isNull(); }))
        << "nothing saved as result.png";
    EXPECT_TRUE(SamePixels(placed, saved));

    // "閉じる" ends the program and stores the paths as absolute ones, and the options.
    PointerAt(main, CloseButton, {"click", "1"});
    ASSERT_TRUE(program->WaitForExit(15s)) << "Layerpix still runs after 閉じる";
    EXPECT_EQ(program->ExitCode(), 0);
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    for (const QByteArray& line : {"Front=" + Path("front.png").toUtf8(), "Back=" + Path("back.bmp").toUtf8(),
                                   QByteArray("TransColor=16711935"), QByteArray("TransRate=60")})
        EXPECT_TRUE(stored.contains(line + '\n')) << line.toStdString() << " not in\n" << stored.toStdString();
}
} // namespace
