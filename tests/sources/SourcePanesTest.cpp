// The source panes driven as a person does: typing a path and Enter, dropping files,
// browsing, scrolling.
#include "SourcesTestSupport.h"

#include "app/FrontPosition.h"
#include "app/Settings.h"
#include "support/PixelAssert.h"
#include "support/ScriptedDialogs.h"
#include "ui/SystemColors.h"
#include "ui/frmMain.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>

namespace {
std::unique_ptr<QMimeData> FileDrop(const QStringList& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

class SourcePanes : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSettings = Settings;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void TearDown() override { Settings = savedSettings; }

    const Surface& Holder(int slot) { return form.PicImg[slot]->surface(); }
    const QImage& Pane(int slot) { return form.AREA[slot]->surface().Image(); }
    // The pane shows the picture from (x, y) on.
    ::testing::AssertionResult PaneShows(int slot, const QImage& picture, int x, int y)
    {
        const QSize view = Pane(slot).size().boundedTo(picture.size() - QSize(x, y));
        return SamePixels(picture.copy(QRect(QPoint(x, y), view)),
                          Pane(slot).copy(QRect(QPoint(0, 0), view)));
    }

    SettingsRecord savedSettings;
    PictureFolder folder;
    frmMain form;
};

TEST_F(SourcePanes, ScrollBarsAppearOnlyForPicturesLongerThanThePane)
{
    struct Case {
        int width, height;
        bool hShown, vShown;
        int hMax, vMax;
    };
    // The pane's inner area is 205 x 173; a range beyond 16 bits is cut to 32767.
    const Case cases[] = {
        {205, 173, false, false, 0, 0},
        {206, 174, true, true, 1, 1},
        {206, 10, true, false, 1, 0},
        {10, 400, false, true, 0, 227},
        {205 + 32767, 3, true, false, 32767, 0},
        {205 + 32768, 3, true, false, 32767, 0},
        {3, 173 + 40000, false, true, 0, 32767},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const QString path = folder.Write("sized.png", PatternPicture(c.width, c.height), "PNG");
        form.OpenSourcePicture(path, 0);
        ASSERT_EQ(Holder(0).Image().size(), QSize(c.width, c.height));
        EXPECT_EQ(!form.HSCR[0]->isHidden(), c.hShown);
        EXPECT_EQ(!form.VSCR[0]->isHidden(), c.vShown);
        EXPECT_EQ(form.HSCR[0]->value(), 0);
        EXPECT_EQ(form.VSCR[0]->value(), 0);
        if (c.hShown) {
            EXPECT_EQ(form.HSCR[0]->maximum(), c.hMax);
        }
        if (c.vShown) {
            EXPECT_EQ(form.VSCR[0]->maximum(), c.vMax);
        }
    }
}

TEST_F(SourcePanes, ThePaneFollowsItsScrollBarsOnePixelPerArrowStep)
{
    const QImage picture = PatternPicture(400, 300);
    form.OpenSourcePicture(folder.Write("big.bmp", picture, "BMP"), 1);
    EXPECT_TRUE(PaneShows(1, picture, 0, 0));
    const QPoint rightArrow(form.HSCR[1]->width() - 4, form.HSCR[1]->height() / 2);
    QTest::mouseClick(form.HSCR[1], Qt::LeftButton, Qt::NoModifier, rightArrow);
    EXPECT_TRUE(PaneShows(1, picture, 1, 0));
    form.VSCR[1]->setFocus();
    QTest::keyClick(form.VSCR[1], Qt::Key_Down);
    QTest::keyClick(form.VSCR[1], Qt::Key_Down);
    EXPECT_TRUE(PaneShows(1, picture, 1, 2));
    form.HSCR[1]->SetValue(195);
    form.VSCR[1]->SetValue(127);
    EXPECT_TRUE(PaneShows(1, picture, 195, 127));
    // Scrolling draws from the held picture: its colour replacements show, the file is not read again.
    QFile::remove(folder.Path("big.bmp"));
    form.PicImg[1]->surface().hDC().setPixel(200, 130, qRgb(1, 2, 3));
    form.HSCR[1]->SetValue(194);
    EXPECT_TRUE(PixelIs(Pane(1), 6, 3, qRgb(1, 2, 3)));
}

TEST_F(SourcePanes, AnotherPictureStartsAtItsTopLeftAndASmallOneLeavesNoTrace)
{
    form.OpenSourcePicture(folder.Write("first.bmp", PatternPicture(400, 300), "BMP"), 0);
    form.HSCR[0]->SetValue(195);
    form.VSCR[0]->SetValue(127);
    QImage second = PatternPicture(300, 250);
    second.fill(qRgb(200, 10, 10));
    form.OpenSourcePicture(folder.Write("second.bmp", second, "BMP"), 0);
    EXPECT_EQ(form.HSCR[0]->value(), 0);
    EXPECT_EQ(form.VSCR[0]->value(), 0);
    EXPECT_TRUE(PaneShows(0, second, 0, 0));

    const QImage small = PatternPicture(50, 40);
    form.OpenSourcePicture(folder.Write("small.bmp", small, "BMP"), 0);
    EXPECT_TRUE(PaneShows(0, small, 0, 0));
    EXPECT_TRUE(PixelIs(Pane(0), 100, 100, COLOR_BTNFACE.rgb()));
    EXPECT_TRUE(PixelIs(Pane(0), 204, 172, COLOR_BTNFACE.rgb()));
}

TEST_F(SourcePanes, EnterOpensTheTypedPathWhateverTheShiftState)
{
    const QString path = folder.Write("typed.bmp", PatternPicture(30, 20), "BMP");
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } presses[] = {
        {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Return, Qt::ShiftModifier},
        {Qt::Key_Return, Qt::ControlModifier},
        {Qt::Key_Enter, Qt::KeypadModifier},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(testing::Message() << press.key << " " << press.modifiers);
        for (std::int16_t slot : {0, 1}) {
            form.OpenSourcePicture(QString(), slot);
            ASSERT_FALSE(Holder(slot).HasPicture());
            form.FLD[slot]->setText(path);
            QTest::keyClick(form.FLD[slot], press.key, press.modifiers);
            EXPECT_TRUE(Holder(slot).HasPicture());
            EXPECT_EQ(form.FLD[slot]->text(), path);
        }
    }
}

TEST_F(SourcePanes, OtherKeysEditTheFieldWithoutOpening)
{
    const QString path = folder.Write("typed.bmp", PatternPicture(30, 20), "BMP");
    form.FLD[0]->setText(path.chopped(1));
    form.FLD[0]->setFocus();
    form.FLD[0]->end(false);
    QTest::keyClick(form.FLD[0], Qt::Key_P);
    EXPECT_EQ(form.FLD[0]->text(), path.chopped(1) + 'p');
    EXPECT_FALSE(Holder(0).HasPicture());
}

TEST_F(SourcePanes, EnterInAnEmptyFieldEmptiesTheSlot)
{
    form.OpenSourcePicture(folder.Write("big.bmp", PatternPicture(400, 300), "BMP"), 0);
    form.HSCR[0]->SetValue(50);
    FrontX = 9;
    FrontY = 8;
    form.FLD[0]->clear();
    QTest::keyClick(form.FLD[0], Qt::Key_Return);
    EXPECT_FALSE(Holder(0).HasPicture());
    // The holder keeps its size and shows its background; so does the pane.
    EXPECT_EQ(Holder(0).Image().size(), QSize(400, 300));
    EXPECT_TRUE(PixelIs(Holder(0).Image(), 399, 299, Holder(0).BackColor().rgb()));
    EXPECT_TRUE(PixelIs(Pane(0), 0, 0, Holder(0).BackColor().rgb()));
    EXPECT_TRUE(PixelIs(Pane(0), 204, 172, Holder(0).BackColor().rgb()));
    EXPECT_EQ(form.HSCR[0]->value(), 0);
    EXPECT_FALSE(form.HSCR[0]->isHidden());
    EXPECT_EQ(FrontX, 0);
    EXPECT_EQ(FrontY, 0);
}

TEST_F(SourcePanes, OpeningEitherPictureResetsTheForegroundPosition)
{
    for (std::int16_t slot : {1, 0}) {
        FrontX = -40;
        FrontY = 70;
        form.OpenSourcePicture(folder.Write("p.bmp", PatternPicture(10, 10), "BMP"), slot);
        EXPECT_EQ(FrontX, 0) << "slot " << slot;
        EXPECT_EQ(FrontY, 0) << "slot " << slot;
    }
}

TEST_F(SourcePanes, DroppedFilesOpenInTurnAndTheLastThatOpensStays)
{
    QImage colours[3] = {PatternPicture(30, 30), PatternPicture(30, 30), PatternPicture(30, 30)};
    colours[0].fill(Qt::red);
    colours[1].fill(Qt::green);
    colours[2].fill(Qt::blue);
    const QStringList paths = {folder.Write("r.bmp", colours[0], "BMP"),
                               folder.Write("g.png", colours[1], "PNG"),
                               folder.Write("b.jpg", colours[2], "BMP")};
    form.FLD_OLEDragDrop(0, FileDrop(paths).get(), 0, 1, 0, 5, 5);
    EXPECT_TRUE(PixelIs(Pane(0), 10, 10, qRgb(0, 0, 255)));
    EXPECT_EQ(form.FLD[0]->text(), paths[2]);
    EXPECT_EQ(form.DroppedPath[0], paths[2]);

    // When the last does not open, the one before it stays: each was opened in turn.
    const QStringList lastBroken = {paths[0], paths[1], folder.WriteBytes("x.png", "not a picture")};
    form.FLD_OLEDragDrop(0, FileDrop(lastBroken).get(), 0, 1, 0, 5, 5);
    EXPECT_TRUE(PixelIs(Pane(0), 10, 10, qRgb(0, 255, 0)));
    EXPECT_EQ(form.FLD[0]->text(), paths[1]);
    EXPECT_FALSE(Holder(1).HasPicture());
}

TEST_F(SourcePanes, DropsTakeOnlyTheListedEndingsAndGifsOnlyWithOptionOne)
{
    const QImage picture = PatternPicture(20, 20);
    const QString gif = folder.Write("anim.gif", picture, "BMP");
    const QString jpeg = folder.Write("photo.jpeg", picture, "JPG");
    const QString tiff = folder.Write("scan.tif", picture, "BMP");
    const QString upperIco = folder.Write("ICON.ICO", picture, "BMP");
    const struct {
        std::int16_t gifOption;
        QString path;
        bool opened;
    } cases[] = {
        {0, gif, false}, {1, gif, true}, {2, gif, false},
        {1, jpeg, false}, {1, tiff, false}, {1, upperIco, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path.toStdString() << " option " << c.gifOption);
        form.OpenSourcePicture(QString(), 1);
        Settings.GifOption = c.gifOption;
        form.AREA_OLEDragDrop(1, FileDrop({c.path}).get(), 0, 1, 0, 5, 5);
        EXPECT_EQ(Holder(1).HasPicture(), c.opened);
        EXPECT_EQ(form.FLD[1]->text(), c.opened ? c.path : QString());
    }
}

TEST_F(SourcePanes, DropsWithoutFilesAndOnOtherIndexesAreIgnored)
{
    const QString path = folder.Write("p.bmp", PatternPicture(20, 20), "BMP");
    QMimeData text;
    text.setText(path);
    form.FLD_OLEDragDrop(0, &text, 0, 1, 0, 5, 5);
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/p.bmp"))});
    form.FLD_OLEDragDrop(0, &web, 0, 1, 0, 5, 5);
    form.FLD_OLEDragDrop(0, nullptr, 0, 1, 0, 5, 5);
    form.FLD_OLEDragDrop(2, FileDrop({path}).get(), 0, 1, 0, 5, 5);
    form.FLD_OLEDragDrop(-1, FileDrop({path}).get(), 0, 1, 0, 5, 5);
    EXPECT_FALSE(Holder(0).HasPicture());
    EXPECT_FALSE(Holder(1).HasPicture());
    EXPECT_TRUE(form.FLD[0]->text().isEmpty());
}

TEST_F(SourcePanes, AFileDroppedOnTheLowerPaneBecomesTheBackground)
{
    const QImage picture = PatternPicture(60, 40);
    const QString path = folder.Write("back.bmp", picture, "BMP");
    auto data = FileDrop({path});
    const QPoint at = form.AREA[1]->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.AREA[1], &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.AREA[1], &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(Holder(1).HasPicture());
    EXPECT_FALSE(Holder(0).HasPicture());
    EXPECT_TRUE(PaneShows(1, picture, 0, 0));
    EXPECT_EQ(form.FLD[1]->text(), path);
    EXPECT_TRUE(form.FLD[0]->text().isEmpty());
}

TEST_F(SourcePanes, TheBrowseButtonsOfferTheFilterOfTheGifOption)
{
    const QString path = folder.Write("browsed.bmp", PatternPicture(20, 20), "BMP");
    const QChar nul(0);
    const struct {
        std::int16_t gifOption;
        QString patterns;
    } cases[] = {
        {0, QStringLiteral("*.bmp;*.ico;*.jpg;*.png")},
        {1, QStringLiteral("*.bmp;*.gif;*.ico;*.jpg;*.png")},
        {2, QStringLiteral("*.bmp;*.gif;*.ico;*.jpg;*.png")},
    };
    for (const auto& c : cases) {
        for (std::int16_t slot : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "option " << c.gifOption << " slot " << slot);
            ScriptedDialogsScope dialogs;
            dialogs->openAnswers.push_back({true, path, 1});
            Settings.GifOption = c.gifOption;
            form.OpenSourcePicture(QString(), slot);
            QTest::mouseClick(form.DBTN[slot], Qt::LeftButton);
            ASSERT_EQ(dialogs->openRequests.size(), 1u);
            const FileDialogRequest& request = dialogs->openRequests[0];
            EXPECT_EQ(request.filterPattern, QStringLiteral("画像ファイル") + nul + c.patterns + nul);
            EXPECT_EQ(request.title, QStringLiteral("背景の画像"));
            EXPECT_EQ(request.flags, 4100);
            EXPECT_TRUE(request.initialFolder.isEmpty());
            EXPECT_TRUE(Holder(slot).HasPicture());
            EXPECT_EQ(form.FLD[slot]->text(), path);
        }
    }
}

TEST_F(SourcePanes, CancellingTheBrowseDialogChangesNothing)
{
    PrepareUsedSlot(form, 0, folder);
    const SlotSnapshot before = Snapshot(form, 0);
    ScriptedDialogsScope dialogs;
    dialogs->openAnswers.push_back({false, QString(), 0});
    QTest::mouseClick(form.DBTN[0], Qt::LeftButton);
    EXPECT_EQ(dialogs->openRequests.size(), 1u);
    EXPECT_TRUE(SlotUnchanged(before, form, 0));
}

TEST_F(SourcePanes, TheSavedPicturesOpenAtStartUp)
{
    Settings.Front = folder.Write("front.png", PatternPicture(250, 20), "PNG");
    Settings.Back = folder.Write("back.jpg", PatternPicture(20, 20), "BMP");
    frmMain started;
    started.Form_Load();
    EXPECT_TRUE(started.PicImg[0]->surface().HasPicture());
    EXPECT_TRUE(started.PicImg[1]->surface().HasPicture());
    EXPECT_EQ(started.HSCR[0]->maximum(), 45);
    EXPECT_TRUE(started.VSCR[0]->isHidden());
}
} // namespace
