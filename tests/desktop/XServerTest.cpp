// The real program on a real X server: Xvfb for the screen, xdotool for the pointer and the
// keys (through XTEST), xwd for screenshots and xclip for the clipboard.
#include "StartedProgram.h"
#include "support/ExpectedComposite.h"
#include "support/FolderSnapshot.h"
#include "support/PixelAssert.h"
#include "support/TestPictures.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {
class OnXServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "xwd", "xclip"})
            if (!OnPath(tool))
                GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";
        const QStringList screen{"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
        server = std::make_unique<StartedProgram>("Xvfb", screen);
        for (int i = 0; i < 20 && !server->process.canReadLine(); ++i)
            server->process.waitForReadyRead(1000);
        display = ":" + server->process.readLine().trimmed();
        ASSERT_NE(display, ":") << "Xvfb named no display: " << server->process.readAllStandardError().toStdString();
    }

    // Only what the programs need, so no desktop of the machine running the test leaks in.
    StartOptions Environment() const
    {
        StartOptions options{QProcessEnvironment(), folder.path()};
        for (const auto& [name, value] : {std::pair{"PATH", qEnvironmentVariable("PATH")}, {"HOME", folder.path()},
                                          {"LANG", QString("C.UTF-8")}, {"XDG_RUNTIME_DIR", folder.path()},
                                          {"QT_QPA_PLATFORM", QString("xcb")}, {"DISPLAY", display}})
            options.environment.insert(name, value);
        return options;
    }
    RunResult Tool(const QString& name, const QStringList& arguments)
    {
        return RunToEnd(name, arguments, 15s, Environment());
    }
    // The visible window called `title`, once it is on screen.
    QString Window(const QString& title)
    {
        QByteArray id;
        const auto shown = [&] {
            return !(id = Tool("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"}).output).isEmpty();
        };
        return QTest::qWaitFor(shown, 15000) ? QString::fromLatin1(id.split('\n')[0]) : QString();
    }
    // The window as xwd dumps it: big-endian header fields and a colour map before the pixels. Null
    // unless they are 32-bit true colour in QImage's RGB32 order, as one window of the default visual is.
    QImage Shot(const QString& window)
    {
        const QByteArray dump = Tool("xwd", {"-id", window, "-silent"}).output;
        const auto field = [&](int i) { return dump.size() < 100 ? 0 : qFromBigEndian<quint32>(dump.data() + 4 * i); };
        const qint64 pixels = field(0) + qint64(field(19)) * 12, stride = field(12), height = field(5);
        if (field(2) != 2 || field(7) != 0 || field(11) != 32 || field(14) != 0xFF0000 || field(16) != 0xFF
            || pixels + stride * height > dump.size())
            return {};
        const auto* bits = reinterpret_cast<const uchar*>(dump.constData() + pixels);
        return QImage(bits, int(field(4)), int(height), stride, QImage::Format_RGB32).copy();
    }
    // Polls the composite view until it shows `expected`, leaving out the outline of the marker,
    // whose colour blinks.
    ::testing::AssertionResult Shows(const QString& view, QImage expected, QRect marker)
    {
        ::testing::AssertionResult last = ::testing::AssertionFailure();
        const auto same = [&] {
            QImage shown = Shot(view).copy(expected.rect());
            for (QImage* picture : {&expected, &shown})
                QPainter(picture).drawRect(marker.adjusted(0, 0, -1, -1));
            return bool(last = SamePixels(expected, shown));
        };
        return QTest::qWaitFor(same, 15000) ? ::testing::AssertionSuccess() : last;
    }
    // Moves the pointer to `at` in `window`, then does `then` there.
    void PointerAt(const QString& window, QPoint at, const QStringList& then)
    {
        const QStringList move{"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y())};
        ASSERT_EQ(Tool("xdotool", move + then).exitCode, 0);
    }

    QTemporaryDir folder;
    QString display;
    std::unique_ptr<StartedProgram> server, program;   // the program ends first, then its server
};

// With the settings a new program starts with: black is the key, the foreground opaque.
TEST_F(OnXServer, OpenComposeDragCopySaveAndClose)
{
    QImage front(40, 30, QImage::Format_RGB32);
    front.fill(Qt::black);
    QPainter(&front).fillRect(4, 3, 32, 24, Qt::darkCyan);
    const QImage back = NoisePicture(160, 120, 3);
    ASSERT_TRUE(front.save(folder.filePath("front.png")) && back.save(folder.filePath("back.bmp")));
    ASSERT_TRUE(QFile::copy(LAYERPIX_EXECUTABLE, folder.filePath("layerpix")));
    program = std::make_unique<StartedProgram>(folder.filePath("layerpix"), QStringList{"front.png", "back.bmp"},
                                               Environment());
    const QString main = Window("Layerpix");
    ASSERT_FALSE(main.isEmpty()) << "no window: " << program->process.readAllStandardError().toStdString();

    // 合成 composes: the view fits the composite, the foreground at (0, 0) under the marker.
    PointerAt(main, {32, 460}, {"click", "1"});
    const QString view = Window("合成画像");
    EXPECT_TRUE(Shows(view, ExpectedComposite(front, back, {0, 0}, 100, qRgb(0, 0, 0)), {{0, 0}, front.size()}));
    EXPECT_EQ(Shot(view).size(), back.size());

    // The marker dragged by its middle 50 pixels right and 40 down; the release composes there.
    PointerAt(view, {20, 15}, {"mousedown", "1", "mousemove", "--window", view, "45", "35", "mousemove", "--window",
                               view, "70", "55", "mouseup", "1"});
    const QImage placed = ExpectedComposite(front, back, {50, 40}, 100, qRgb(0, 0, 0));
    EXPECT_TRUE(Shows(view, placed, {{50, 40}, front.size()}));

    // A double click away from the marker copies the composite, marker-free, as PNG.
    PointerAt(view, {10, 100}, {"click", "--repeat", "2", "--delay", "80", "1"});
    const QStringList paste{"-selection", "clipboard", "-t", "image/png", "-o"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return QImage::fromData(Tool("xclip", paste).output) == placed; }, 15000));

    // A right-button release opens the save dialog; the typed name lands in the working folder.
    PointerAt(view, {10, 100}, {"click", "3"});
    ASSERT_FALSE(Window("ファイルの保存").isEmpty());
    ASSERT_EQ(Tool("xdotool", {"type", "--delay", "30", "result.png"}).exitCode, 0);
    ASSERT_EQ(Tool("xdotool", {"key", "Return"}).exitCode, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QImage(folder.filePath("result.png")) == placed; }, 15000));

    // 閉じる ends the program, which keeps the pictures' paths, made absolute, in its settings file.
    PointerAt(main, {288, 460}, {"click", "1"});
    ASSERT_TRUE(program->WaitForExit(15s) && program->process.exitCode() == 0);
    const std::string stored = ReadBytes(folder.filePath("Layerpix.ini").toStdString());
    for (const QString& line : {"Front=" + folder.filePath("front.png"), "Back=" + folder.filePath("back.bmp")})
        EXPECT_NE(stored.find((line + "\n").toStdString()), std::string::npos) << stored;
}
} // namespace
