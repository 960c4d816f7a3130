// The real program on a real X server: Xvfb for the screen, xdotool for the pointer and the
// keys (through XTEST), xclip for the clipboard and XGetImage for what the screen shows.
#include "StartedProgram.h"
#include "support/FolderSnapshot.h"
#include "support/TestPictures.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Last: Xlib's macros clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {
class OnXServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "xclip"})
            if (!OnPath(tool))
                GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";
        server = std::make_unique<StartedProgram>(
            "Xvfb", QStringList{"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        QTest::qWaitFor([this] { return server->process.canReadLine(); }, 20000);
        const QString display = ":" + server->process.readLine().trimmed();
        ASSERT_NE(display, ":") << "Xvfb named no display: " << server->process.readAllStandardError().toStdString();
        // Only what the programs need, so no desktop of the machine running the test leaks in.
        for (const auto& [name, value] : {std::pair{"HOME", folder.path()}, {"XDG_RUNTIME_DIR", folder.path()},
                                          {"LANG", "C.UTF-8"}, {"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", display}})
            environment.insert(name, value);
    }
    RunResult Tool(const QString& name, const QStringList& arguments)
    {
        return RunToEnd(name, arguments, 15s, environment, folder.path());
    }
    // The visible window called `title`, once it is on screen.
    QString Window(const QString& title)
    {
        const QStringList search{"search", "--sync", "--onlyvisible", "--name", '^' + title + '$'};
        return Tool("xdotool", search).output.split('\n')[0];
    }
    // Moves the pointer to `at` in `window`, then does `then` there.
    void PointerAt(const QString& window, QPoint at, const QStringList& then)
    {
        const QStringList move{"mousemove", "--window", window, QString::number(at.x()), QString::number(at.y())};
        ASSERT_EQ(Tool("xdotool", move + then).exitCode, 0);
    }

    // Whether the client area of `window` is `expected`, leaving out the pixels of `outline`
    // (the marker's blinking edge).
    bool Shows(const QString& window, const QImage& expected, QRect outline)
    {
        Display* x = XOpenDisplay(environment.value("DISPLAY").toLatin1().constData());
        XWindowAttributes area{};
        XImage* shot = x && XGetWindowAttributes(x, window.toULong(), &area) && area.width == expected.width()
                               && area.height == expected.height()
                           ? XGetImage(x, window.toULong(), 0, 0, area.width, area.height, AllPlanes, ZPixmap)
                           : nullptr;
        bool same = shot != nullptr;
        for (int y = 0; same && y < expected.height(); ++y)
            for (int x0 = 0; same && x0 < expected.width(); ++x0)
                same = (outline.contains(x0, y) && !outline.adjusted(1, 1, -1, -1).contains(x0, y))
                       || (XGetPixel(shot, x0, y) & 0xFFFFFF) == (expected.pixel(x0, y) & 0xFFFFFF);
        if (shot)
            XDestroyImage(shot);
        if (x)
            XCloseDisplay(x);
        return same;
    }

    QTemporaryDir folder;
    QProcessEnvironment environment;
    std::unique_ptr<StartedProgram> server, program;   // the program ends first, then its server
};

// A fresh program (its foreground opaque) opens the background named on its command line and
// the foreground typed into its path field. The composite after the drag is what the real
// clipboard and the file saved through the real dialog hold; the settings file written at the
// end keeps the named path made absolute and the typed one as typed.
TEST_F(OnXServer, OpenComposeDragCopySaveAndClose)
{
    const QImage front = NoisePicture(40, 30, 2), back = NoisePicture(160, 120, 3);
    ASSERT_TRUE(front.save(folder.filePath("front.png")) && back.save(folder.filePath("back.bmp")));
    ASSERT_TRUE(QFile::copy(LAYERPIX_EXECUTABLE, folder.filePath("layerpix")));
    program = std::make_unique<StartedProgram>(folder.filePath("layerpix"), QStringList{"back.bmp"}, environment,
                                               folder.path());
    const QString main = Window("Layerpix");
    ASSERT_FALSE(main.isEmpty()) << "no window: " << program->process.readAllStandardError().toStdString();
    PointerAt(main, {190, 17}, {"click", "1", "type", "--delay", "30", "front.png\r"});   // \r types Return

    // 合成, then the marker dragged by its middle 50 pixels right and 40 down; a double click away
    // from it copies the composite as PNG, a right-button release opens the save dialog.
    PointerAt(main, {32, 460}, {"click", "1"});
    const QString view = Window("合成画像");
    QImage composed = back.copy();
    QPainter(&composed).drawImage(0, 0, front);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shows(view, composed, QRect(0, 0, 40, 30)); }, 15000));
    PointerAt(view, {20, 15}, {"mousedown", "1", "mousemove", "--window", view, "45", "35", "mousemove", "--window",
                               view, "70", "55", "mouseup", "1"});
    PointerAt(view, {10, 100}, {"click", "--repeat", "2", "--delay", "80", "1"});
    QImage placed = back.copy();
    QPainter(&placed).drawImage(50, 40, front);
    const QStringList paste{"-selection", "clipboard", "-t", "image/png", "-o"};
    EXPECT_TRUE(QTest::qWaitFor([&] { return QImage::fromData(Tool("xclip", paste).output) == placed; }, 15000));
    PointerAt(view, {10, 100}, {"click", "3"});
    ASSERT_FALSE(Window("ファイルの保存").isEmpty());
    ASSERT_EQ(Tool("xdotool", {"type", "--delay", "30", "result.png\r"}).exitCode, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QImage(folder.filePath("result.png")) == placed; }, 15000));

    PointerAt(main, {288, 460}, {"click", "1"});   // 閉じる
    EXPECT_TRUE(QTest::qWaitFor([&] { return program->process.state() == QProcess::NotRunning; }, 15000)
                && program->process.exitStatus() == QProcess::NormalExit && program->process.exitCode() == 0);
    const std::string stored = ReadBytes(folder.filePath("Layerpix.ini").toStdString());
    EXPECT_EQ(stored.find("[Image]\nFront=front.png\nBack=" + folder.filePath("back.bmp").toStdString() + "\n"), 0u)
        << stored;
}
} // namespace
