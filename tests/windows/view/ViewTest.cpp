// "合成" and the composite view it loads: the drag, the window's fit and zoom, nudges, the
// copy and saving on real files (names, rungs and file formats have their own tests).
#include "support/FolderSnapshot.h"
#include "windows/WindowFixture.h"
#include "windows/view/frmView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
class View : public WindowTest {
protected:
    // "合成" with `foreground` on `background` at (20, 10); activated, the view fits itself.
    frmView& Show(const QImage& foreground, const QImage& background)
    {
        Holder(0).SetPicture(foreground);
        Holder(1).SetPicture(background);
        document.FrontX = 20, document.FrontY = 10;
        Click("BTN", 0);
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.View()));
        return *form.View();
    }
    PictureBox& Board() { return Find<PictureBox>(*form.View(), "Board"); }
    const QImage& Composite() { return Board().surface().Image(); }
    Shape& Marker() { return Find<Shape>(*form.View(), "Shape1"); }
    QPoint Front() const { return {document.FrontX, document.FrontY}; }
    void Place(QPoint at)
    {
        document.FrontX = at.x(), document.FrontY = at.y();
        form.View()->Compose();
    }
};

// Nothing composes while either picture is missing; a closed view has freed itself and the
// next "合成" loads another. The foreground is opaque: the composite is it pasted.
TEST_F(View, ComposeNeedsBothPicturesAndReusesAShownView)
{
    for (const int missing : {0, 1}) {
        Holder(missing).SetPicture(std::nullopt);
        Holder(1 - missing).SetPicture(missing ? front : back);
        Click("BTN", 0);
        EXPECT_EQ(form.View(), nullptr) << "slot " << missing << " missing";
    }
    frmView* const first = &Show(front, back);
    EXPECT_EQ(&Show(front, back), first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(form.View(), nullptr);
    EXPECT_EQ(Show(front, back).size(), back.size());
    QImage pasted = back;
    QPainter(&pasted).drawImage(20, 10, front);
    EXPECT_TRUE(SamePixels(pasted, Composite()));
}

// The marker's edges are part of it; halves round to even; a grab far beyond 16 bits from
// the corner of a very wide foreground lands exactly too.
TEST_F(View, ADragGrabsTheMarkerEdgesIncludedAndLandsWhereReleased)
{
    frmView& view = Show(front, back);
    const QImage wide = NoisePicture(40000, 1, 2), wideBack = GradientPicture(40000, 1);
    const struct { bool wide; QPointF press, release; QPoint lands; } rows[] = {   // narrow: from (20, 10)
        {false, {20, 10}, {25, 12}, {25, 12}}, {false, {60, 40}, {70, 41}, {30, 11}},
        {false, {60, 25}, {50, 25}, {10, 10}}, {false, {40, 40}, {40, 45}, {20, 15}},
        {false, {61, 25}, {70, 30}, {20, 10}}, {false, {19, 25}, {30, 30}, {20, 10}},
        {false, {40, 41}, {50, 50}, {20, 10}}, {false, {40, 9}, {50, 20}, {20, 10}},
        {false, {20, 10}, {30.5, 11.5}, {30, 12}},
        {true, {35000, 0}, {35010, 0}, {10, 0}}, {true, {40000, 1}, {40003, 1}, {3, 0}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "press at " << row.press.x() << ", " << row.press.y());
        const QImage& picture = row.wide ? wide : front;
        Holder(0).SetPicture(picture);
        Holder(1).SetPicture(row.wide ? wideBack : back);
        Place(row.wide ? QPoint(0, 0) : QPoint(20, 10));
        view.Board_MouseDown(1, 0, float(row.press.x()), float(row.press.y()));
        view.Board_MouseUp(1, 0, float(row.release.x()), float(row.release.y()));
        EXPECT_EQ(std::pair(Front(), Marker().Bounds()), std::pair(row.lands, QRect(row.lands, picture.size())));
        EXPECT_TRUE(PixelIs(Composite(), row.lands.x(), row.lands.y(), picture.pixel(0, 0)));
    }
    // Chosen in the main window's menu, the drag shows the foreground under the pointer
    // before the release.
    for (const bool live : {false, true}) {
        if (live)
            form.findChild<QAction*>("mnuLiveDrag")->trigger();
        Holder(0).SetPicture(front);
        Holder(1).SetPicture(back);
        Place({20, 10});
        QTest::mousePress(&Board(), Qt::LeftButton, {}, QPoint(25, 15));
        QTest::mouseMove(&Board(), QPoint(55, 45));
        QCoreApplication::processEvents();
        EXPECT_EQ(bool(PixelIs(Composite(), 50, 40, front.pixel(0, 0))), live);
        QTest::mouseRelease(&Board(), Qt::LeftButton, {}, QPoint(55, 45));
        EXPECT_TRUE(Front() == QPoint(50, 40) && PixelIs(Composite(), 50, 40, front.pixel(0, 0)));
    }
}

// A right-button release saves through the save dialog. A name of spaces saves nothing (not
// even relative to the working folder, the test's own here); an empty file is replaced without
// a question, another only after Yes. A file already there survives a failed save, whose
// reason is the system's, in Japanese.
TEST_F(View, SavingAsksBeforeReplacingAndReportsFailures)
{
    Show(front, back);
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    const auto save = [this](const QString& typed, std::int32_t filter, const std::deque<int>& answers = {}) {
        dialogs->messages.clear();
        dialogs->messageAnswers = answers;
        dialogs->saveAnswers.push_back(FileDialogAnswer{true, folder.filePath(typed), filter});
        QTest::mouseRelease(&Board(), Qt::RightButton, {}, QPoint(5, 5));
        QStringList said;
        for (const MessageBoxRequest& message : dialogs->messages)
            said << message.text;
        return said;
    };
    const auto shows = [this](const QString& name) {
        return SamePixels(Composite(), QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB32));
    };
    save("   ", 1);
    Write("empty.BMP", QByteArray());
    EXPECT_EQ(save("empty", 2), QStringList());
    EXPECT_TRUE(shows("empty.BMP"));
    Write("kept.PNG", QByteArray("old"));
    EXPECT_EQ(save("kept", 4, {IDNO}), QStringList("上書きしますか？\r\n" + folder.filePath("kept.PNG")));
    EXPECT_EQ(ReadBytes(folder.filePath("kept.PNG").toStdString()), "old");
    save("kept", 4, {IDYES});
    EXPECT_TRUE(shows("kept.PNG"));
    EXPECT_EQ(Names(folder.path().toStdString()), (std::vector<std::string>{"empty.BMP", "kept.PNG"}));
    QDir::setCurrent(working);

    const struct { std::int16_t jpegRate, pngRate; QString typed, reason; std::int32_t filter; bool exists; } rows[] = {
        {300, 1, "over.JPG", "300", 3, true}, {50, 7, "seven.PNG", "圧縮率", 4, true},
        {50, 1, "missing/pic.BMP", "", 2, false}};
    for (const auto& row : rows) {
        settings.JpegRate = row.jpegRate, settings.PngRate = row.pngRate;
        if (row.exists)
            Write(row.typed, QByteArray("old"));
        const QStringList said = save(row.typed, row.filter, row.exists ? std::deque{IDYES, IDOK} : std::deque{IDOK});
        EXPECT_TRUE(said.size() == 1 + row.exists && said.last().startsWith(folder.filePath(row.typed) + "\r\n")
                    && said.last().contains(row.reason)) << said.join(u'|').toStdString();
        EXPECT_EQ(ReadBytes(folder.filePath(row.typed).toStdString()), row.exists ? "old" : "<unreadable>");
    }
    Write("plain", QByteArray("x"));
    EXPECT_EQ(save("plain/inner", 2, {IDOK}), QStringList(QStringLiteral("20:フォルダーではありません")));
}

// A composite of three and a half screens and a few pixels: the fit lies below 1/3, off the
// rungs; shown at actual pixels, the window fills the screen and scrolls.
class Zoom : public View {
protected:
    void SetUp() override
    {
        View::SetUp();
        const QSize screen = form.screen()->availableGeometry().size();
        composite = QSize(screen.width() * 7 / 2 + 7, screen.height() * 7 / 2 + 3);
        Show(front, GradientPicture(composite.width(), composite.height()));
        ASSERT_EQ(form.View()->frameGeometry().size(), screen);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers held = Qt::ControlModifier) { QTest::keyClick(&Board(), key, held); }
    // As from the window system, so a turn the board leaves goes on to the scroll area.
    void Wheel(int delta, Qt::KeyboardModifiers held = Qt::ControlModifier, QPoint at = QPoint(30, 30))
    {
        QWheelEvent wheel(at, Board().mapToGlobal(at), {}, {0, delta}, Qt::NoButton, held, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(&Board(), &wheel);
    }
    QSize Shown(double zoom) const { return (QSizeF(composite) * zoom).toSize(); }

    QSize composite;
};

// Keys and whole notches step between the fit and actual pixels; Ctrl+wheel keeps the point
// under the pointer; what the view leaves scrolls. The user cannot resize the window. The
// mouse speaks composite pixels at every zoom, the marker is drawn at the zoom, and a double
// click copies the whole composite at full size.
TEST_F(Zoom, KeysAndTheWheelStepBetweenTheWholeCompositeAndActualPixels)
{
    EXPECT_EQ(form.View()->minimumSize(), form.View()->maximumSize());
    Key(Qt::Key_0);
    const double fit = Board().Zoom();
    ASSERT_LT(fit, 1.0 / 3);
    EXPECT_EQ(form.View()->size(), Shown(fit)) << "the whole composite, no scroll bars";
    const struct { const char* what; std::function<void()> act; double zoom; } steps[] = {
        {"Ctrl+1", [&] { Key(Qt::Key_1); }, 1.0}, {"Ctrl+wheel towards the user", [&] { Wheel(-120); }, 0.5},
        {"half a notch", [&] { Wheel(-60); }, 0.5}, {"the other half", [&] { Wheel(-60); }, 1.0 / 3},
        {"Ctrl+plus", [&] { Key(Qt::Key_Plus); }, 0.5}, {"Ctrl+minus", [&] { Key(Qt::Key_Minus); }, 1.0 / 3},
        {"Ctrl+=", [&] { Key(Qt::Key_Equal); }, 0.5}, {"two notches away", [&] { Wheel(240); }, 2.0},
        {"eight steps in", [&] { for (int i = 0; i < 8; ++i) Key(Qt::Key_Plus); }, 8.0},
        {"Ctrl+1", [&] { Key(Qt::Key_1); }, 1.0}};
    for (const auto& step : steps) {
        step.act();
        EXPECT_EQ(std::pair(Board().Zoom(), Board().size()), std::pair(step.zoom, Shown(step.zoom))) << step.what;
        EXPECT_EQ(form.View()->windowTitle(), step.zoom == 1.0 ? QStringLiteral("合成画像")
                  : QStringLiteral("合成画像 %1%").arg(std::lround(step.zoom * 100))) << step.what;
    }
    QScrollBar &across = *form.View()->findChild<QScrollArea*>()->horizontalScrollBar(),
               &down = *form.View()->findChild<QScrollArea*>()->verticalScrollBar();
    across.setValue(300), down.setValue(200);
    Wheel(-120, Qt::ControlModifier, QPoint(390, 260));   // the pointer at (90, 60)
    const int scrolled = down.value();
    EXPECT_EQ(QPoint(across.value(), scrolled), QPoint(390, 260) / 2 - QPoint(90, 60));
    Wheel(-120, {});
    const int wheeled = down.value();
    Key(Qt::Key_PageDown, {});
    EXPECT_TRUE(scrolled < wheeled && wheeled < down.value());
    ASSERT_EQ(Board().Zoom(), 0.5);
    const QPoint grab(30, 18), corner(62, -2);   // the marker moved by (42, -12)
    QTest::mousePress(&Board(), Qt::LeftButton, {}, grab / 2);
    QTest::mouseMove(&Board(), (grab + corner - QPoint(20, 10)) / 2);
    EXPECT_EQ(Marker().Bounds().topLeft(), corner);
    QTest::mouseRelease(&Board(), Qt::LeftButton, {}, (grab + corner - QPoint(20, 10)) / 2);
    EXPECT_EQ(std::pair(Front(), Marker().geometry()), std::pair(corner, QRect(corner / 2, QSize(20, 15))));
    QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
    QTest::mouseDClick(&Board(), Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasText());
    EXPECT_TRUE(SamePixels(Composite(), QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32)));
    // Ctrl+1 keeps the composite point under the pointer; zoomed in, each pixel is a sharp
    // square of screen pixels.
    QWidget& viewport = *form.View()->findChild<QScrollArea*>()->viewport();
    QCursor::setPos(viewport.mapToGlobal(QPoint(100, 80)));
    const QPoint under = (QPoint(across.value(), down.value()) + QPoint(100, 80)) * 2;
    Key(Qt::Key_1);
    EXPECT_EQ(QPoint(across.value(), down.value()) + QPoint(100, 80), under);
    Key(Qt::Key_Plus);
    const QImage shown = Board().grab(QRect(under, QSize(40, 40))).toImage();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(shown.pixel(x, y), shown.pixel(x & ~1, y & ~1)) << x << ',' << y;
}

// Keys whose codes once equalled the arrows' and Ctrl+0's ('%', ''', '&', '(', Ctrl+F1) must
// neither nudge nor fit, and are left to the scroll area. A nudge shows the place in the caption.
TEST_F(Zoom, OnlyTheArrowsNudgeAndOnlyCtrl0Fits)
{
    const struct { int key; Qt::KeyboardModifiers modifiers; bool used; QPoint step; bool fits; } rows[] = {
        {Qt::Key_Left, {}, true, {-1, 0}, false}, {Qt::Key_Right, Qt::KeypadModifier, true, {1, 0}, false},
        {Qt::Key_Up, Qt::ShiftModifier, true, {0, -10}, false}, {Qt::Key_Down, Qt::ShiftModifier, true, {0, 10}, false},
        {Qt::Key_0, Qt::ControlModifier, true, {}, true}, {Qt::Key_Percent, Qt::ShiftModifier, false, {}, false},
        {Qt::Key_Apostrophe, {}, false, {}, false}, {Qt::Key_Ampersand, Qt::ShiftModifier, false, {}, false},
        {Qt::Key_ParenLeft, Qt::ShiftModifier, false, {}, false}, {Qt::Key_F1, Qt::ControlModifier, false, {}, false},
        {Qt::Key_Left, Qt::ControlModifier, false, {}, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.key << " with " << row.modifiers);
        Key(Qt::Key_1);
        Place({20, 10});
        EXPECT_EQ(form.View()->Board_KeyDown(row.key, row.modifiers), row.used);
        const QPoint placed = QPoint(20, 10) + row.step;
        EXPECT_EQ(std::tuple(Front(), Marker().Bounds().topLeft(), Board().Zoom() < 1),
                  std::tuple(placed, placed, row.fits));
        const QString caption = QStringLiteral(" (%1, %2)").arg(placed.x()).arg(placed.y());
        EXPECT_TRUE(row.step.isNull() || form.View()->windowTitle().endsWith(caption));
        QCoreApplication::processEvents();
        EXPECT_TRUE(PixelIs(Composite(), placed.x(), placed.y(), front.pixel(0, 0)));
    }
}
} // namespace
