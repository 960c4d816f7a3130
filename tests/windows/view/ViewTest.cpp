// The composite view: the drag, the window's fit and zoom, nudges, the copy and saving on
// real files (the formats of names and filters have their own test).
#include "support/FolderSnapshot.h"
#include "support/PixelAssert.h"
#include "windows/view/ViewFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

namespace {
using View = ViewFixture;

// The marker's edges are part of it; halves round to even; a grab far beyond 16 bits from
// the corner of a very wide foreground lands exactly too. The window fits the composite.
TEST_F(View, ADragGrabsTheMarkerEdgesIncludedAndLandsWhereReleased)
{
    EXPECT_EQ(view->size(), back.size());
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
        document.PicImg[0].SetPicture(picture);
        document.PicImg[1].SetPicture(row.wide ? wideBack : back);
        document.FrontX = row.wide ? 0 : 20, document.FrontY = row.wide ? 0 : 10;
        view->Compose();
        view->Board_MouseDown(1, 0, float(row.press.x()), float(row.press.y()));
        view->Board_MouseUp(1, 0, float(row.release.x()), float(row.release.y()));
        EXPECT_EQ(Front(), row.lands);
        EXPECT_EQ(Marker(), QRect(row.lands, picture.size()));
        EXPECT_TRUE(PixelIs(Composite(), row.lands.x(), row.lands.y(), picture.pixel(0, 0)));
    }
}

QPoint Scaled(QPoint p, double zoom) { return QPoint(int(std::lround(p.x() * zoom)), int(std::lround(p.y() * zoom))); }

// A composite larger than the screen, seen whole at a smaller zoom.
class Zoom : public ViewFixture {
protected:
    // Three and a half screens and a few pixels: the fit lies below 1/3, off the rungs.
    void SetUp() override
    {
        ViewFixture::SetUp();
        const QSize screen = view->screen()->availableGeometry().size();
        composite = QSize(screen.width() * 7 / 2 + 7, screen.height() * 7 / 2 + 3);
        Show(front, GradientPicture(composite.width(), composite.height()));
        ASSERT_EQ(Board().size(), composite);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) { QTest::keyClick(&Board(), key, modifiers); }
    // As from the window system, so a turn the board leaves goes on to the scroll area.
    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::ControlModifier, QPoint at = QPoint(30, 30))
    {
        QWheelEvent wheel(at, Board().mapToGlobal(at), {}, {0, delta}, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        qApp->notify(&Board(), &wheel);
    }
    QScrollBar& Bar(Qt::Orientation way)
    {
        auto* area = view->findChild<QScrollArea*>();
        return *(way == Qt::Horizontal ? area->horizontalScrollBar() : area->verticalScrollBar());
    }
    QSize Shown(double z) const { return QSize(std::lround(composite.width() * z), std::lround(composite.height() * z)); }

    QSize composite;
};

// Shown at actual pixels, the composite fills the screen and scrolls; keys and whole notches
// step between the fit and actual pixels (the rungs have their own test); Ctrl+wheel keeps
// the point under the pointer; what the view leaves scrolls.
TEST_F(Zoom, KeysAndTheWheelStepBetweenTheWholeCompositeAndActualPixels)
{
    const QSize screen = view->screen()->availableGeometry().size();
    EXPECT_EQ(view->frameGeometry().size(), screen) << "actual pixels, scrolled";
    EXPECT_EQ(view->minimumSize(), view->maximumSize()) << "the user cannot resize it";
    Key(Qt::Key_0);
    const double fit = Board().Zoom();
    ASSERT_LT(fit, 1.0 / 3);
    EXPECT_EQ(view->size(), Shown(fit)) << "the whole composite, no scroll bars";
    const QSize outer = view->frameGeometry().size();
    EXPECT_TRUE(outer.width() <= screen.width() && outer.height() <= screen.height());
    EXPECT_TRUE(outer.width() == screen.width() || outer.height() == screen.height());
    const struct { const char* what; std::function<void()> act; double zoom; } steps[] = {
        {"Ctrl+1", [&] { Key(Qt::Key_1); }, 1.0}, {"Ctrl+wheel towards the user", [&] { Wheel(-120); }, 0.5},
        {"half a notch", [&] { Wheel(-60); }, 0.5}, {"the other half", [&] { Wheel(-60); }, 1.0 / 3},
        {"Ctrl+plus", [&] { Key(Qt::Key_Plus); }, 0.5}, {"Ctrl+minus", [&] { Key(Qt::Key_Minus); }, 1.0 / 3},
        {"two notches away", [&] { Wheel(240); }, 1.0}};
    for (const auto& step : steps) {
        step.act();
        EXPECT_DOUBLE_EQ(Board().Zoom(), step.zoom) << step.what;
        EXPECT_EQ(Board().size(), Shown(step.zoom)) << step.what;
    }
    Bar(Qt::Horizontal).setValue(300);
    Bar(Qt::Vertical).setValue(200);
    Wheel(-120, Qt::ControlModifier, QPoint(390, 260));   // the pointer at (90, 60)
    EXPECT_EQ(QPoint(Bar(Qt::Horizontal).value(), Bar(Qt::Vertical).value()), QPoint(390, 260) / 2 - QPoint(90, 60));
    for (const bool wheel : {true, false}) {
        const int before = Bar(Qt::Vertical).value();
        wheel ? Wheel(-120, {}) : Key(Qt::Key_PageDown, {});
        EXPECT_GT(Bar(Qt::Vertical).value(), before);
    }
    EXPECT_DOUBLE_EQ(Board().Zoom(), 0.5);
}

// Keys whose codes once equalled the arrows' and Ctrl+0's ('%', ''', '&', '(', Ctrl+F1) must
// neither nudge nor fit, and are left to the scroll area.
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
        document.FrontX = 20, document.FrontY = 10;
        view->Compose();
        EXPECT_EQ(view->Board_KeyDown(row.key, row.modifiers), row.used);
        const QPoint placed = QPoint(20, 10) + row.step;
        EXPECT_EQ(std::pair(Front(), Marker().topLeft()), std::pair(placed, placed));
        EXPECT_EQ(Board().Zoom() < 1.0, row.fits);
        const QString caption = QStringLiteral(" (%1, %2)").arg(placed.x()).arg(placed.y());
        EXPECT_TRUE(row.step.isNull() || view->windowTitle().endsWith(caption)) << view->windowTitle().toStdString();
        QCoreApplication::processEvents();
        EXPECT_TRUE(PixelIs(Composite(), placed.x(), placed.y(), front.pixel(0, 0)));
    }
}

// The mouse speaks composite pixels at every zoom; the marker is drawn at the zoom.
TEST_F(Zoom, ADragLandsWhereItWouldAtActualPixels)
{
    const QPoint grab(30, 18), step(42, -12), corner = QPoint(20, 10) + step;
    for (const int notches : {0, -1, -2}) {   // zoom 1, 1/2, 1/3
        Key(Qt::Key_1);
        Wheel(120 * notches);
        const double zoom = Board().Zoom();
        document.FrontX = 20, document.FrontY = 10;
        view->Compose();
        QTest::mousePress(&Board(), Qt::LeftButton, {}, Scaled(grab, zoom));
        QTest::mouseMove(&Board(), Scaled(grab + step, zoom));
        EXPECT_EQ(Marker().topLeft(), corner) << notches;
        QTest::mouseRelease(&Board(), Qt::LeftButton, {}, Scaled(grab + step, zoom));
        EXPECT_EQ(Front(), corner) << notches;
        EXPECT_EQ(Find<Shape>(*view, "Shape1").geometry(),
                  QRect(Scaled(corner, zoom), Scaled(corner + QPoint(40, 30), zoom) - QPoint(1, 1)));
    }
}

TEST_F(Zoom, ADoubleClickCopiesTheWholeCompositeAtFullSize)
{
    Key(Qt::Key_0);
    QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
    QTest::mouseDClick(&Board(), Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasText());
    EXPECT_TRUE(SamePixels(Composite(), QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32)));
}

using Strings = std::vector<std::string>;

class SaveComposite : public ViewFixture {
protected:
    void Save(const QString& typed, std::int32_t filter)
    {
        dialogs->saveAnswers.push_back(FileDialogAnswer{true, folder.filePath(typed), filter});
        QTest::mouseRelease(&Board(), Qt::RightButton, {}, QPoint(5, 5));
    }
    std::string Bytes(const QString& name) const { return ReadBytes(folder.filePath(name).toStdString()); }
    Strings Saved() const { return Names(folder.path().toStdString()); }
    ::testing::AssertionResult Shows(const QString& name)
    {
        return SamePixels(Composite(), QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB32));
    }
};

// A name of spaces saves nothing; an empty file is replaced without a question.
TEST_F(SaveComposite, AnExistingFileIsReplacedOnlyAfterYes)
{
    Save("   ", 1);
    Write("empty.BMP", {});
    Save("empty", 2);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(Shows("empty.BMP"));
    Write("kept.PNG", "old");
    dialogs->messageAnswers = {IDNO, IDYES};
    Save("kept", 4);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.endsWith(folder.filePath("kept.PNG")));
    EXPECT_EQ(dialogs->messages[0].type & 0xF, MB_YESNO);
    EXPECT_EQ(Bytes("kept.PNG"), "old");
    Save("kept", 4);
    EXPECT_TRUE(Shows("kept.PNG"));
    EXPECT_EQ(Saved(), (Strings{"empty.BMP", "kept.PNG"}));
}

// A file already there survives a failed save.
TEST_F(SaveComposite, FailuresAreReportedAndKeepTheExistingFile)
{
    const struct { std::int16_t jpegRate, pngRate; const char *typed, *reason; std::int32_t filter; bool exists; } rows[] = {
        {300, 1, "over.JPG", "300", 3, true}, {50, 7, "seven.PNG", "圧縮率", 4, true}, {50, 1, "missing/pic.BMP", "", 2, false}};
    for (const auto& row : rows) {
        settings.JpegRate = row.jpegRate, settings.PngRate = row.pngRate;
        dialogs->messages.clear();
        if (row.exists) {
            Write(row.typed, "old");
            dialogs->messageAnswers.push_back(IDYES);
        }
        dialogs->messageAnswers.push_back(IDOK);
        Save(row.typed, row.filter);
        ASSERT_EQ(dialogs->messages.size(), row.exists ? 2u : 1u) << row.typed;
        const QString report = dialogs->messages.back().text;
        EXPECT_TRUE(report.startsWith(folder.filePath(row.typed) + "\r\n") && report.contains(QString::fromUtf8(row.reason)))
            << report.toStdString();
        EXPECT_EQ(Bytes(row.typed), row.exists ? "old" : "<unreadable>");
    }
    Write("plain", "x");
    dialogs->messages.clear();
    dialogs->messageAnswers.push_back(IDOK);
    Save("plain/inner", 2);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, QStringLiteral("20:フォルダーではありません"));
    EXPECT_EQ(Saved(), (Strings{"over.JPG", "plain", "seven.PNG"}));
}
} // namespace
