// The source panes driven as a person does: opening, failing to open, scrolling, dropping.
#include "core/document/FrontPosition.h"
#include "windows/system/Drops.h"
#include "core/surfaces/SystemColors.h"
#include "core/sources/SourceNames.h"
#include "support/BadPictureFiles.h"
#include "support/PixelAssert.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TestPictures.h"
#include "windows/main/MainWindowFixture.h"

#include <QDropEvent>
#include <QMimeData>

namespace {
class SourcePanes : public MainWindowTest {
protected:
    // `picture` in `format` ("BMP", "PNG"...) whatever the name's ending.
    QString Write(const QString& name, const QImage& picture, const char* format)
    {
        return Write(name, EncodedPicture(picture, format));
    }
    QString Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    const Surface& Holder(int slot) { return form.PicImg[slot]->surface(); }
    const QImage& Pane(int slot) { return form.AREA[slot]->surface().Image(); }
    ::testing::AssertionResult PaneShows(int slot, const QImage& picture, int x, int y)
    {
        const QSize view = Pane(slot).size().boundedTo(picture.size() - QSize(x, y));
        return SamePixels(picture.copy(QRect(QPoint(x, y), view)), Pane(slot).copy(QRect(QPoint(), view)));
    }
    auto SlotState(int slot)
    {
        const ScrollBar &h = *form.HSCR[slot], &v = *form.VSCR[slot];
        return std::tuple(Holder(slot).Picture().value_or(QImage()), Holder(slot).Image().copy(), Pane(slot).copy(),
                          form.FLD[slot]->text(), std::array<int, 8>{FrontX, FrontY, h.value(), h.maximum(),
                                                                     h.isHidden(), v.value(), v.maximum(), v.isHidden()});
    }
    // A slot with something to lose: scrolled, the foreground moved, a pixel recoloured, a path
    // typed. Returns everything a load may change in the slot.
    auto PrepareUsedSlot(std::int16_t slot)
    {
        form.OpenSourcePicture(Write("used.bmp", NoisePicture(300, 250, 1), "BMP"), slot);
        form.HSCR[slot]->SetValue(10);
        form.VSCR[slot]->SetValue(20);
        FrontX = 5, FrontY = 6;
        form.PicImg[slot]->surface().hDC().setPixel(1, 1, qRgb(1, 2, 3));
        form.FLD[slot]->setText(QStringLiteral("typed but not opened"));
        return SlotState(slot);
    }
    // Drags the files `paths`, or `text` when there are none, onto `target` and drops them there;
    // false when the widget refuses the drag or the drop.
    static bool Drop(QWidget* target, const QStringList& paths, const QString& text = {})
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        paths.isEmpty() ? data.setText(text) : data.setUrls(urls);
        QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }
};

// Every bad file fails in the loaders (BadInputTest); here one that fails in each loader and
// each kind of bad path, opened both ways the window opens a file.
TEST_F(SourcePanes, AFailedOpenLeavesSlotPaneScrollBarsPathAndPositionAsTheyWere)
{
    QStringList failing = BadPicturePaths(folder);
    for (const BadPictureFile& file : BadPictureFiles())
        if (file.name.contains(QLatin1String("cut in pixels")))
            failing << Write(file.name, file.bytes);
    const std::vector<BadPictureFile> good = GoodPictureFiles();
    for (qsizetype i = 0; i < failing.size(); ++i) {
        SCOPED_TRACE(failing[i].toStdString());
        const std::int16_t slot = std::int16_t(i % 2);
        const auto before = PrepareUsedSlot(slot);
        EXPECT_EQ(form.LoadSourceImage(failing[i], slot), 1);
        form.OpenSourcePicture(failing[i], slot);
        EXPECT_TRUE(SlotState(slot) == before);
        const BadPictureFile& next = good[std::size_t(i) % good.size()];
        form.OpenSourcePicture(Write(next.name, next.bytes), slot);
        EXPECT_EQ(Holder(slot).Image().size(), QSize(40, 30));
        EXPECT_EQ(form.FLD[slot]->text(), folder.filePath(next.name));
    }
}

TEST_F(SourcePanes, ScrollBarsAppearOnlyForPicturesLongerThanThePane)
{
    // The pane's inner area is 205 x 173; a range beyond 16 bits is cut to 32767. -1: hidden.
    for (const auto& [width, height, hMax, vMax] :
         {std::array{205, 173, -1, -1}, {206, 174, 1, 1}, {10, 400, -1, 227}, {205 + 32767, 3, 32767, -1},
          {205 + 32768, 3, 32767, -1}, {3, 173 + 40000, -1, 32767}}) {
        form.OpenSourcePicture(Write("sized.png", NoisePicture(width, height, 2), "PNG"), 0);
        for (auto [bar, max] : {std::pair{form.HSCR[0], hMax}, {form.VSCR[0], vMax}}) {
            EXPECT_EQ(bar->isHidden() ? -1 : bar->maximum(), max) << width << " x " << height;
            EXPECT_EQ(bar->value(), 0);
        }
    }
}

TEST_F(SourcePanes, ThePaneFollowsItsScrollBarsAndAnotherPictureStartsAtItsTopLeft)
{
    const QImage picture = NoisePicture(400, 300, 2);
    form.OpenSourcePicture(Write("big.bmp", picture, "BMP"), 1);
    form.HSCR[1]->SetValue(195);
    form.VSCR[1]->SetValue(127);
    EXPECT_TRUE(PaneShows(1, picture, 195, 127));
    form.PicImg[1]->surface().hDC().setPixel(200, 130, qRgb(1, 2, 3));
    form.HSCR[1]->SetValue(194);
    EXPECT_TRUE(PixelIs(Pane(1), 6, 3, qRgb(1, 2, 3)));

    const QImage small = NoisePicture(50, 40, 3);
    form.OpenSourcePicture(Write("small.bmp", small, "BMP"), 1);
    EXPECT_TRUE(PaneShows(1, small, 0, 0));
    EXPECT_TRUE(PixelIs(Pane(1), 204, 172, COLOR_BTNFACE.rgb())) << "the background, not the last picture";
}

TEST_F(SourcePanes, EnterOpensTheTypedPathWhateverTheShiftStateAndAnEmptyPathEmptiesTheSlot)
{
    const QString path = Write("typed.bmp", NoisePicture(400, 300, 2), "BMP");
    for (const auto& [key, modifiers, slot] : {std::tuple{Qt::Key_Return, Qt::KeyboardModifiers(), 0},
                                               {Qt::Key_Return, Qt::KeyboardModifiers(Qt::ShiftModifier), 1},
                                               {Qt::Key_Enter, Qt::KeyboardModifiers(Qt::KeypadModifier), 0}}) {
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
        EXPECT_TRUE(PixelIs(Holder(slot).Image(), 399, 299, Holder(slot).BackColor().rgb()));
        EXPECT_TRUE(PixelIs(Pane(slot), 204, 172, Holder(slot).BackColor().rgb()));
        EXPECT_EQ(FrontX, 0);
    }
}

TEST_F(SourcePanes, DroppedFilesOpenInTurnAndTheLastThatOpensStays)
{
    const QStringList paths = {Write("a.bmp", NoisePicture(10, 10, 2), "BMP"), Write("b.png", NoisePicture(20, 20, 2), "PNG"),
                               Write("c.jpg", NoisePicture(30, 30, 2), "BMP"), Write("broken.png", "not a picture"),
                               Write("anim.gif", NoisePicture(60, 40, 2), "BMP")};
    ASSERT_TRUE(Drop(form.FLD[0], paths.mid(0, 3)));
    EXPECT_TRUE(PaneShows(0, NoisePicture(30, 30, 2), 0, 0));
    EXPECT_EQ(form.FLD[0]->text(), paths[2]);
    // When the last does not open, the one before it stays.
    ASSERT_TRUE(Drop(form.FLD[0], {paths[0], paths[1], paths[3]}));
    EXPECT_EQ(Holder(0).Image().size(), QSize(20, 20));
    EXPECT_EQ(form.FLD[0]->text(), paths[1]);
    // A drop on the lower pane opens the background, a GIF only with GIF option 1.
    for (const std::int16_t gifOption : {0, 1}) {
        Settings.GifOption = gifOption;
        ASSERT_TRUE(Drop(form.AREA[1], {paths[0], paths[4]}));
        EXPECT_EQ(form.FLD[1]->text(), paths[gifOption == 1 ? 4 : 0]) << "option " << gifOption;
    }
}

// Only a file list opens anything; dragged text is not typed into the path field either.
TEST_F(SourcePanes, ADropWithoutAFileListIsRefused)
{
    form.FLD[0]->setText(QStringLiteral("fg.png"));
    for (QWidget* target : {static_cast<QWidget*>(form.FLD[0]), static_cast<QWidget*>(form.AREA[0])})
        EXPECT_FALSE(Drop(target, {}, QStringLiteral("DROPPED TEXT")));
    EXPECT_EQ(form.FLD[0]->text(), QStringLiteral("fg.png"));
    EXPECT_FALSE(Holder(0).HasPicture());
}

TEST(DroppedFiles, LocalFilesComeInTheDropsOrderAndDataWithoutThemIsNoFileList)
{
    QMimeData files, text, web, picture, empty;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/p/c.bmp")), QUrl(QStringLiteral("https://example.org/x.png")),
                   QUrl::fromLocalFile(QStringLiteral("/p/a b/é.png")), QUrl::fromLocalFile(QStringLiteral("/p/b.jpg"))});
    EXPECT_EQ(DroppedFiles(&files).value_or(QStringList()),
              QStringList({QStringLiteral("/p/c.bmp"), QStringLiteral("/p/a b/é.png"), QStringLiteral("/p/b.jpg")}));
    text.setText(QStringLiteral("/p/c.bmp"));
    web.setUrls({QUrl(QStringLiteral("https://example.org/x.png"))});
    picture.setImageData(QImage(2, 2, QImage::Format_RGB32));
    for (const QMimeData* data : {&text, &web, &picture, &empty, static_cast<QMimeData*>(nullptr)})
        EXPECT_FALSE(DroppedFiles(data).has_value()) << (data ? data->formats().join(' ').toStdString() : "null");
}

TEST_F(SourcePanes, TheBrowseButtonOpensTheChosenFileAndCancelChangesNothing)
{
    const QString path = Write("browsed.bmp", NoisePicture(20, 20, 2), "BMP");
    {
        ScriptedDialogsScope dialogs;
        dialogs->openAnswers.push_back({true, path, 1});
        Settings.GifOption = 0;
        QTest::mouseClick(form.DBTN[0], Qt::LeftButton);
        ASSERT_EQ(dialogs->openRequests.size(), 1u);
        const FileDialogRequest& request = dialogs->openRequests[0];
        EXPECT_EQ(request.filterPattern, BrowseFilterPattern(0));
        EXPECT_EQ(request.title, QStringLiteral("背景の画像"));
        EXPECT_EQ(request.flags, 4100);
        EXPECT_EQ(form.FLD[0]->text(), path);
    }
    const auto before = PrepareUsedSlot(1);
    ScriptedDialogsScope dialogs;
    dialogs->openAnswers.push_back({false, QString(), 0});
    QTest::mouseClick(form.DBTN[1], Qt::LeftButton);
    EXPECT_TRUE(SlotState(1) == before);
}
} // namespace
