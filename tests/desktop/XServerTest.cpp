// The real program on a real X server, driven as a person drives it: Xvfb for the screen,
// xdotool for the pointer and the keys, xwd for screenshots and xclip for the clipboard.
// The program runs from a folder of its own with a prepared settings file beside it and
// the background named on its command line. Without an X server the test is skipped.
#include "StartedProgram.h"
#include "XwdImage.h"
#include "support/PixelAssert.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr QRgb Key = qRgb(255, 0, 255);      // the transparent colour, magenta
constexpr int KeyColorRef = 0x00FF00FF;      // the same as the settings file stores it
constexpr int Rate = 60;                     // the foreground's weight in percent

// Where the main window's controls lie in its client area, as its fixed layout places them.
constexpr QPoint FrontPaneInside(88 + 2, 24 + 2);   // inside the pane's 3-D border
constexpr QPoint BackPaneInside(88 + 2, 240 + 2);
constexpr QPoint ComposeButton(8 + 24, 448 + 12);
constexpr QPoint CloseButton(264 + 24, 448 + 12);

// A 40 x 30 picture on the transparent colour: two coloured blocks, a hole of key colour.
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

// 160 x 120 pixels, no two neighbours alike.
QImage Background()
{
    QImage picture(160, 120, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 7) % 256, (y * 5 + x) % 256, (x * y) % 256));
    return picture;
}

// The composite worked out here: where the foreground is not the key colour, each channel is
// the nearest whole number to (foreground * rate + background * (100 - rate)) / 100. With a
// rate of 60 the exact value never ends in one half, so no tie needs a rule.
QImage Composite(const QImage& back, const QImage& front, QPoint at)
{
    QImage composite = back;
    const auto blend = [](int b, int f) { return (f * Rate + b * (100 - Rate) + 50) / 100; };
    for (int y = 0; y < front.height(); ++y)
        for (int x = 0; x < front.width(); ++x) {
            const QPoint p = at + QPoint(x, y);
            const QRgb f = front.pixel(x, y);
            if (f == Key || !composite.valid(p))
                continue;
            const QRgb b = composite.pixel(p);
            composite.setPixel(p, qRgb(blend(qRed(b), qRed(f)), blend(qGreen(b), qGreen(f)),
                                       blend(qBlue(b), qBlue(f))));
        }
    return composite;
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
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("home/.config")));
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("runtime")));
        QFile::setPermissions(folder.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        StartOptions options;
        options.environment = Environment(QString());
        server = std::make_unique<StartedProgram>(
            QStringLiteral("Xvfb"),
            QStringList{"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
            options);
        const std::optional<QByteArray> number = server->ReadLine(20s);
        if (!number || number->isEmpty())
            GTEST_SKIP() << "No X server can start here: Xvfb named no display ("
                         << server->Errors().trimmed().toStdString() << ")";
        display = QStringLiteral(":") + QString::fromLatin1(*number);
    }

    // Only what the programs need, so no desktop of the machine running the test leaks in.
    QProcessEnvironment Environment(const QString& displayName) const
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("HOME"), folder.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           folder.filePath(QStringLiteral("home/.config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           folder.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (!displayName.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), displayName);
        return environment;
    }

    RunResult Tool(const QString& program, const QStringList& arguments)
    {
        StartOptions options;
        options.environment = Environment(display);
        return RunToEnd(program, arguments, 15s, options);
    }

    RunResult Xdotool(const QStringList& arguments)
    {
        return Tool(QStringLiteral("xdotool"), arguments);
    }

    // The client area of the visible window whose title is `title`, once it is on screen.
    std::optional<QRect> WaitForWindow(const QString& title)
    {
        QByteArray id;
        const bool shown = Eventually([&] {
            const RunResult found = Xdotool({"search", "--onlyvisible", "--name",
                                              QStringLiteral("^%1$").arg(title)});
            id = found.output.split('\n').first().trimmed();
            return found.exitCode == 0 && !id.isEmpty();
        });
        if (!shown)
            return std::nullopt;
        const RunResult geometry =
            Xdotool({"getwindowgeometry", "--shell", QString::fromLatin1(id)});
        const QString shell = QString::fromLatin1(geometry.output);
        const auto value = [&shell](const char* name) {
            const QRegularExpression line(QStringLiteral("^%1=(-?\\d+)$").arg(QLatin1String(name)),
                                          QRegularExpression::MultilineOption);
            return line.match(shell).captured(1).toInt();
        };
        return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
    }

    QImage Screen()
    {
        return ReadXwd(Tool(QStringLiteral("xwd"), {"-root", "-silent"}).output);
    }

    // Polls the screen until it shows `expected` at `at` (the marker's outline `frame`, in
    // the picture's coordinates, left out); the last comparison's result otherwise.
    ::testing::AssertionResult ScreenShows(const QImage& expected, QPoint at, QRect frame = {})
    {
        ::testing::AssertionResult last = ::testing::AssertionFailure() << "no screenshot";
        Eventually([&] {
            QImage shown = Screen().copy(QRect(at, expected.size()));
            last = frame.isEmpty() ? SamePixels(expected, shown)
                                   : SamePixels(WithoutOutline(expected, frame),
                                                WithoutOutline(shown, frame));
            return bool(last);
        });
        return last;
    }

    void Click(QPoint at, int button = 1)
    {
        ASSERT_EQ(Xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()),
                           "click", QString::number(button)})
                      .exitCode,
                  0);
    }

    QString Path(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }

    QByteArray SettingsText() const
    {
        QFile file(Path("Layerpix.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder;
    QString display;
    // Declared in this order so the program ends before its X server.
    std::unique_ptr<StartedProgram> server;
    std::unique_ptr<StartedProgram> program;
};

TEST_F(OnXServer, OpenComposeDragCopySaveAndClose)
{
    const QImage front = Foreground(), back = Background();
    QImage old(50, 50, QImage::Format_RGB32);
    old.fill(Qt::gray);
    ASSERT_TRUE(front.save(Path("front.png")));
    ASSERT_TRUE(back.save(Path("back.bmp")));
    ASSERT_TRUE(old.save(Path("old.bmp")));
    // The restored background is replaced by the one on the command line.
    QFile settings(Path("Layerpix.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(QStringLiteral("[Image]\nFront=%1\nBack=%2\n"
                                  "[Param]\nTransColor=%3\nTransRate=%4\n")
                       .arg(Path("front.png"), Path("old.bmp"))
                       .arg(KeyColorRef)
                       .arg(Rate)
                       .toUtf8());
    settings.close();
    ASSERT_TRUE(QFile::copy(QStringLiteral(LAYERPIX_EXECUTABLE), Path("layerpix")));

    StartOptions options;
    options.environment = Environment(display);
    options.folder = folder.path();
    program = std::make_unique<StartedProgram>(Path("layerpix"), QStringList{"back.bmp"}, options);
    ASSERT_TRUE(program->Started());

    // Both panes show their pictures, the background the one named on the command line.
    const std::optional<QRect> main = WaitForWindow(QStringLiteral("Layerpix"));
    ASSERT_TRUE(main) << "no Layerpix window: " << program->Errors().toStdString();
    EXPECT_TRUE(ScreenShows(front, main->topLeft() + FrontPaneInside));
    EXPECT_TRUE(ScreenShows(back, main->topLeft() + BackPaneInside));

    // Compose: the view fits the composite, the foreground at (0, 0) under the marker.
    Click(main->topLeft() + ComposeButton);
    const std::optional<QRect> view = WaitForWindow(QStringLiteral("合成画像"));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->size(), back.size());
    const QPoint board = view->topLeft();
    EXPECT_TRUE(ScreenShows(Composite(back, front, {0, 0}), board, QRect({0, 0}, front.size())));

    // Drag the marker by its middle 50 pixels right and 40 down; the release composes there.
    const auto at = [board](int x, int y) {
        return QStringList{QString::number(board.x() + x), QString::number(board.y() + y)};
    };
    ASSERT_EQ(Xdotool(QStringList{"mousemove"} + at(20, 15) + QStringList{"mousedown", "1"} +
                      QStringList{"mousemove"} + at(35, 25) +
                      QStringList{"mousemove"} + at(55, 45) +
                      QStringList{"mousemove"} + at(70, 55) + QStringList{"mouseup", "1"})
                  .exitCode,
              0);
    const QImage placed = Composite(back, front, {50, 40});
    EXPECT_TRUE(ScreenShows(placed, board, QRect({50, 40}, front.size())));

    // A double click away from the marker copies the composite, marker-free, as PNG.
    ASSERT_EQ(Xdotool(QStringList{"mousemove"} + at(10, 100) +
                      QStringList{"click", "--repeat", "2", "--delay", "80", "1"})
                  .exitCode,
              0);
    QImage copied;
    Eventually([&] {
        const RunResult clip = Tool(QStringLiteral("xclip"),
                                    {"-selection", "clipboard", "-t", "image/png", "-o"});
        copied = QImage::fromData(clip.output, "PNG");
        return copied.size() == back.size();
    });
    EXPECT_TRUE(SamePixels(placed, copied));

    // A right-button release opens the save dialog; the typed name lands in the working folder.
    Click(board + QPoint(10, 100), 3);
    ASSERT_TRUE(WaitForWindow(QStringLiteral("ファイルの保存")));
    ASSERT_EQ(Xdotool({"type", "--delay", "30", "result.png"}).exitCode, 0);
    ASSERT_EQ(Xdotool({"key", "Return"}).exitCode, 0);
    QImage saved;
    EXPECT_TRUE(Eventually([&] {
        saved = QImage(Path("result.png"));
        return !saved.isNull();
    })) << "nothing saved as result.png";
    EXPECT_TRUE(SamePixels(placed, saved));

    // "閉じる" ends the program and stores the paths as absolute ones, and the options.
    Click(main->topLeft() + CloseButton);
    ASSERT_TRUE(program->WaitForExit(15s)) << "Layerpix still runs after 閉じる";
    EXPECT_EQ(program->ExitCode(), 0);
    const QByteArray stored = SettingsText();
    for (const QByteArray& line :
         {"Front=" + Path("front.png").toUtf8(), "Back=" + Path("back.bmp").toUtf8(),
          QByteArray("TransColor=16711935"), QByteArray("TransRate=60")})
        EXPECT_TRUE(stored.contains(line + '\n')) << line.toStdString() << " not in\n"
                                                  << stored.toStdString();
}

} // namespace
