// Opening pictures into the source panes: which loader a file reaches, what a failed load
// leaves behind, the edges of the picture limit, and the panes driven as a person does.
#include "SourcesTestSupport.h"

#include "app/FrontPosition.h"
#include "app/Settings.h"
#include "platform/SystemColors.h"
#include "support/BadPictureFiles.h"
#include "support/PixelAssert.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "ui/frmMain.h"

#include <QBuffer>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <QtEndian>

namespace {
class SourcePanes : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings = SettingsRecord{};
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    const Surface& Holder(int slot) { return form.PicImg[slot]->surface(); }
    const QImage& Pane(int slot) { return form.AREA[slot]->surface().Image(); }
    // The pane shows the picture from (x, y) on.
    ::testing::AssertionResult PaneShows(int slot, const QImage& picture, int x, int y)
    {
        const QSize view = Pane(slot).size().boundedTo(picture.size() - QSize(x, y));
        return SamePixels(picture.copy(QRect(QPoint(x, y), view)), Pane(slot).copy(QRect(QPoint(), view)));
    }
    // Drags `data` onto `target` and drops it there; false when the widget refuses the
    // drag or the drop.
    static bool Drop(QWidget* target, const QMimeData& data)
    {
        QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }
    static bool DropFiles(QWidget* target, const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        return Drop(target, data);
    }

    PictureFolder folder;
    frmMain form;
};

TEST_F(SourcePanes, TheNameEndingPicksTheLoaderAndAnUnreadablePngIsNotRetried)
{
    const struct {
        const char* name;
        const char* format;
        QSize size;
        std::int16_t status;
    } cases[] = {
        {"lower.png", "PNG", {300, 200}, 0},
        {"mixed.pNg", "PNG", {40, 30}, 0},
        {"wide.PNG", "PNG", {65536 + 100, 2}, 0}, // the header's whole 32-bit width counts
        {"bitmap.PNG", "BMP", {40, 30}, 1},       // only the general loader reads a BMP
        {"png-inside.dat", "PNG", {40, 30}, 0},   // the general loader goes by content
        {"photo.jpeg", "JPG", {40, 30}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage picture = GradientPicture(c.size.width(), c.size.height());
        const QString path = folder.Write(c.name, picture, c.format);
        ASSERT_EQ(form.LoadSourceImage(path, 1), c.status);
        if (c.status == 0) {
            EXPECT_TRUE(SamePixels(picture, Holder(1).Image(), c.format[0] == 'J' ? 12 : 0));
            EXPECT_EQ(form.FLD[1]->text(), path);
        }
    }
}

// A PNG file whose header states `width` x `height` over the data of a 100 x 100 picture.
QByteArray PngStating(quint32 width, quint32 height)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    EXPECT_TRUE(buffer.open(QIODevice::WriteOnly) && NoisePicture(100, 100, 2).save(&buffer, "PNG"));
    qToBigEndian(width, bytes.data() + 16);
    qToBigEndian(height, bytes.data() + 20);
    return bytes;
}

TEST_F(SourcePanes, AFailedOpenLeavesSlotPaneScrollBarsPathAndPositionAsTheyWere)
{
    QStringList failing = BadPicturePaths(folder.dir);
    for (const BadPictureFile& file : BadPictureFiles())
        failing << folder.WriteBytes(file.name, file.bytes);
    failing << folder.WriteBytes("huge.png", PngStating(20000, 20000))
            << folder.WriteBytes("max.png", PngStating(0x7FFFFFFF, 0x7FFFFFFF))
            << folder.WriteBytes("wrapping.png", PngStating(0xFFFFFFFF, 1));
    // PNG files too short to state a size.
    const QByteArray head = QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(16, '\x01');
    for (int length = 0; length < head.size(); ++length)
        failing << folder.WriteBytes(QStringLiteral("short%1.png").arg(length), head.left(length));
    const std::vector<BadPictureFile> good = GoodPictureFiles();
    for (qsizetype i = 0; i < failing.size(); ++i) {
        SCOPED_TRACE(failing[i].toStdString());
        const std::int16_t slot = std::int16_t(i % 2);
        PrepareUsedSlot(form, slot, folder);
        form.FLD[slot]->setText(QStringLiteral("typed but not opened"));
        const SlotSnapshot before = Snapshot(form, slot);
        EXPECT_EQ(form.LoadSourceImage(failing[i], slot), 1);
        form.OpenSourcePicture(failing[i], slot);
        EXPECT_TRUE(SlotUnchanged(before, form, slot));
        // The next good file opens as usual.
        const BadPictureFile& next = good[std::size_t(i) % good.size()];
        form.OpenSourcePicture(folder.WriteBytes(next.name, next.bytes), slot);
        EXPECT_EQ(Holder(slot).Image().size(), QSize(40, 30));
        EXPECT_EQ(form.FLD[slot]->text(), folder.dir.filePath(next.name));
    }
}

TEST_F(SourcePanes, FiftyMegapixelPicturesLoadThroughBothRoutes)
{
    // Plain, so both writers finish fast; a marked block in two corners shows a lost row.
    QImage picture(8672, 5776, QImage::Format_RGB32);
    picture.fill(qRgb(40, 90, 160));
    QPainter(&picture).fillRect(0, 0, 16, 16, QColor(250, 250, 250));
    QPainter(&picture).fillRect(picture.width() - 16, picture.height() - 16, 16, 16, QColor(250, 0, 0));
    for (const char* format : {"JPG", "PNG"}) {
        SCOPED_TRACE(format);
        ASSERT_EQ(form.LoadSourceImage(folder.Write(QStringLiteral("camera.") + format, picture, format), 1), 0);
        ASSERT_EQ(Holder(1).Image().size(), picture.size());
        for (const QPoint p : {QPoint(8, 8), QPoint(4000, 3000), QPoint(8663, 5767)})
            EXPECT_TRUE(SamePixels(picture.copy(QRect(p, QSize(1, 1))), Holder(1).Image().copy(QRect(p, QSize(1, 1))),
                                   format[0] == 'J' ? 6 : 0));
    }
}

TEST_F(SourcePanes, ScrollBarsAppearOnlyForPicturesLongerThanThePane)
{
    // The pane's inner area is 205 x 173; a range beyond 16 bits is cut to 32767.
    const struct {
        int width, height;
        int hMax, vMax; // -1: the bar is hidden
    } cases[] = {
        {205, 173, -1, -1},          {206, 174, 1, 1},            {10, 400, -1, 227},
        {205 + 32767, 3, 32767, -1}, {205 + 32768, 3, 32767, -1}, {3, 173 + 40000, -1, 32767},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        form.OpenSourcePicture(folder.Write("sized.png", NoisePicture(c.width, c.height, 2), "PNG"), 0);
        for (auto [bar, max] : {std::pair{form.HSCR[0], c.hMax}, {form.VSCR[0], c.vMax}}) {
            EXPECT_EQ(bar->isHidden() ? -1 : bar->maximum(), max);
            EXPECT_EQ(bar->value(), 0);
        }
    }
}

TEST_F(SourcePanes, ThePaneFollowsItsScrollBarsAndAnotherPictureStartsAtItsTopLeft)
{
    const QImage picture = NoisePicture(400, 300, 2);
    form.OpenSourcePicture(folder.Write("big.bmp", picture, "BMP"), 1);
    form.HSCR[1]->SetValue(195);
    form.VSCR[1]->SetValue(127);
    EXPECT_TRUE(PaneShows(1, picture, 195, 127));
    // Scrolling draws the held picture with its colour replacements.
    form.PicImg[1]->surface().hDC().setPixel(200, 130, qRgb(1, 2, 3));
    form.HSCR[1]->SetValue(194);
    EXPECT_TRUE(PixelIs(Pane(1), 6, 3, qRgb(1, 2, 3)));

    const QImage small = NoisePicture(50, 40, 3);
    form.OpenSourcePicture(folder.Write("small.bmp", small, "BMP"), 1);
    EXPECT_TRUE(PaneShows(1, small, 0, 0));
    // Beyond the smaller picture the pane shows its background, not the last picture.
    EXPECT_TRUE(PixelIs(Pane(1), 204, 172, COLOR_BTNFACE.rgb()));
}

TEST_F(SourcePanes, EnterOpensTheTypedPathWhateverTheShiftStateAndAnEmptyPathEmptiesTheSlot)
{
    const QString path = folder.Write("typed.bmp", NoisePicture(400, 300, 2), "BMP");
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, std::int16_t> presses[] = {
        {Qt::Key_Return, Qt::NoModifier, 0}, {Qt::Key_Return, Qt::ShiftModifier, 1}, {Qt::Key_Enter, Qt::KeypadModifier, 0}};
    for (const auto& [key, modifiers, slot] : presses) {
        SCOPED_TRACE(testing::Message() << key << " " << modifiers << " slot " << slot);
        FrontX = -40;
        form.FLD[slot]->setText(path);
        QTest::keyClick(form.FLD[slot], key, modifiers);
        EXPECT_TRUE(Holder(slot).HasPicture());
        EXPECT_EQ(FrontX, 0);
        FrontX = -40;
        form.FLD[slot]->clear();
        QTest::keyClick(form.FLD[slot], key, modifiers);
        EXPECT_FALSE(Holder(slot).HasPicture());
        // The holder keeps its size and shows its background; so does the pane.
        EXPECT_TRUE(PixelIs(Holder(slot).Image(), 399, 299, Holder(slot).BackColor().rgb()));
        EXPECT_TRUE(PixelIs(Pane(slot), 204, 172, Holder(slot).BackColor().rgb()));
        EXPECT_EQ(FrontX, 0);
    }
}

TEST_F(SourcePanes, DroppedFilesOpenInTurnAndTheLastThatOpensStays)
{
    const QStringList paths = {folder.Write("a.bmp", NoisePicture(10, 10, 2), "BMP"),
                               folder.Write("b.png", NoisePicture(20, 20, 2), "PNG"),
                               folder.Write("c.jpg", NoisePicture(30, 30, 2), "BMP"),
                               folder.WriteBytes("broken.png", "not a picture")};
    ASSERT_TRUE(DropFiles(form.FLD[0], paths.mid(0, 3)));
    EXPECT_TRUE(PaneShows(0, NoisePicture(30, 30, 2), 0, 0));
    EXPECT_EQ(form.FLD[0]->text(), paths[2]);
    // When the last does not open, the one before it stays: each was opened in turn.
    ASSERT_TRUE(DropFiles(form.FLD[0], {paths[0], paths[1], paths[3]}));
    EXPECT_EQ(Holder(0).Image().size(), QSize(20, 20));
    EXPECT_EQ(form.FLD[0]->text(), paths[1]);
}

// Only a file list opens anything; dragged text is not typed into the path field either.
TEST_F(SourcePanes, ADropWithoutAFileListIsRefused)
{
    form.FLD[0]->setText(QStringLiteral("fg.png"));
    QMimeData text;
    text.setText(QStringLiteral("DROPPED TEXT"));
    for (QWidget* target : {static_cast<QWidget*>(form.FLD[0]), static_cast<QWidget*>(form.AREA[0])})
        EXPECT_FALSE(Drop(target, text));
    EXPECT_EQ(form.FLD[0]->text(), QStringLiteral("fg.png"));
    EXPECT_FALSE(Holder(0).HasPicture());
}

TEST_F(SourcePanes, ADropOnTheLowerPaneOpensTheBackgroundAndGifsOnlyWithOptionOne)
{
    const QString gif = folder.Write("anim.gif", NoisePicture(60, 40, 2), "BMP");
    for (const auto [gifOption, opened] : {std::pair<std::int16_t, bool>{0, false}, {1, true}}) {
        SCOPED_TRACE(testing::Message() << "option " << gifOption);
        form.OpenSourcePicture(QString(), 1);
        Settings.GifOption = gifOption;
        ASSERT_TRUE(DropFiles(form.AREA[1], {gif}));
        EXPECT_EQ(form.FLD[1]->text(), opened ? gif : QString());
        EXPECT_EQ(Holder(1).HasPicture(), opened);
    }
}

TEST_F(SourcePanes, TheBrowseButtonsOfferTheFilterOfTheGifOptionAndCancelChangesNothing)
{
    const QString path = folder.Write("browsed.bmp", NoisePicture(20, 20, 2), "BMP");
    const QString withGif = QStringLiteral("*.bmp;*.gif;*.ico;*.jpg;*.png");
    const std::tuple<std::int16_t, std::int16_t, QString> cases[] = {
        {0, 0, QStringLiteral("*.bmp;*.ico;*.jpg;*.png")}, {1, 1, withGif}, {2, 0, withGif}};
    for (const auto& [gifOption, slot, patterns] : cases) {
        SCOPED_TRACE(testing::Message() << "option " << gifOption);
        ScriptedDialogsScope dialogs;
        dialogs->openAnswers.push_back({true, path, 1});
        Settings.GifOption = gifOption;
        form.OpenSourcePicture(QString(), slot);
        QTest::mouseClick(form.DBTN[slot], Qt::LeftButton);
        ASSERT_EQ(dialogs->openRequests.size(), 1u);
        const FileDialogRequest& request = dialogs->openRequests[0];
        EXPECT_EQ(request.filterPattern, QStringLiteral("画像ファイル") + QChar(0) + patterns + QChar(0));
        EXPECT_EQ(request.title, QStringLiteral("背景の画像"));
        EXPECT_EQ(request.flags, 4100);
        EXPECT_EQ(form.FLD[slot]->text(), path);
    }
    const SlotSnapshot before = Snapshot(form, 1);
    ScriptedDialogsScope dialogs;
    dialogs->openAnswers.push_back({false, QString(), 0});
    QTest::mouseClick(form.DBTN[1], Qt::LeftButton);
    EXPECT_TRUE(SlotUnchanged(before, form, 1));
}

} // namespace
