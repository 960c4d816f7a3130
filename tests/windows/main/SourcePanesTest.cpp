// The source panes driven as a person does: opening, failing to open, scrolling, dropping.
#include "core/sources/SourceNames.h"
#include "support/BadPictureFiles.h"
#include "windows/WindowFixture.h"

#include <QDropEvent>
#include <QMimeData>
#include <map>

namespace {
class SourcePanes : public WindowTest {
protected:
    ::testing::AssertionResult PaneShows(int slot, const QImage& picture, QPoint from = {})
    {
        const QSize seen = Pane(slot).size().boundedTo(picture.size() - QSize(from.x(), from.y()));
        return SamePixels(picture.copy(QRect(from, seen)), Pane(slot).copy(QRect(QPoint(), seen)));
    }
    // The bar's maximum, -1 when hidden, and its value.
    std::pair<int, int> Bar(const char* name, int slot)
    {
        const ScrollBar& bar = At<ScrollBar>(name, slot);
        return {bar.isHidden() ? -1 : bar.maximum(), bar.value()};
    }
    // Everything an open may change in a slot.
    auto State(int slot)
    {
        return std::tuple(Holder(slot).Picture().value_or(QImage()), Holder(slot).Image().copy(), Pane(slot).copy(),
                          Fld(slot).text(), document.FrontX, document.FrontY, Bar("HSCR", slot), Bar("VSCR", slot));
    }
    // A slot with something to lose.
    auto UsedSlot(std::int16_t slot)
    {
        form.OpenSourcePicture(Write("used.bmp", NoisePicture(300, 250, 1)), slot);
        Scroll(slot, {10, 20});
        document.FrontX = 5, document.FrontY = 6;
        Holder(slot).hDC().setPixel(1, 1, qRgb(1, 2, 3));
        Fld(slot).setText(QStringLiteral("typed but not opened"));
        return State(slot);
    }
    // Drops `paths` (with none, text) on `target`; false when refused.
    static bool Drop(QWidget& target, const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        paths.isEmpty() ? data.setText(QStringLiteral("DROPPED TEXT")) : data.setUrls(urls);
        QDragEnterEvent enter(target.rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(target.rect().center(), Qt::CopyAction, &data, Qt::LeftButton, {});
        for (QDropEvent* event : {static_cast<QDropEvent*>(&enter), &drop})
            QApplication::sendEvent(&target, event);
        return enter.isAccepted() && drop.isAccepted();
    }
};

// The loaders refuse every bad file (their own test); one per loader and bad path here.
TEST_F(SourcePanes, AFailedOpenKeepsEverythingAndTheNextGoodFileOpens)
{
    QStringList failing = BadPicturePaths(folder);
    for (const BadPictureFile& file : BadPictureFiles())
        if (file.name.contains(QLatin1String("cut in pixels")))
            failing << Write(file.name, file.bytes);
    const std::vector<BadPictureFile> good = GoodPictureFiles();
    for (qsizetype i = 0; i < failing.size(); ++i) {
        SCOPED_TRACE(failing[i].toStdString());
        const std::int16_t slot = std::int16_t(i % 2);
        const auto before = UsedSlot(slot);
        form.OpenSourcePicture(failing[i], slot);
        EXPECT_TRUE(State(slot) == before);
        const BadPictureFile& next = good[std::size_t(i) % good.size()];
        form.OpenSourcePicture(Write(next.name, next.bytes), slot);
        EXPECT_EQ(Holder(slot).Image().size(), QImage::fromData(next.bytes).size());
    }
}

// The pane's inner area is 205 x 173; a range beyond 16 bits is cut to 32767.
TEST_F(SourcePanes, ScrollBarsFitThePictureAndThePaneFollowsThem)
{
    for (const auto& [width, height, hMax, vMax] : {std::array{206, 174, 1, 1}, {205, 173, -1, -1},
                                                    {10, 400, -1, 227}, {205 + 32768, 3, 32767, -1}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        const QImage picture = NoisePicture(width, height, 2);
        Scroll(0, {1, 1});
        form.OpenSourcePicture(Write("sized.bmp", picture), 0);
        EXPECT_EQ(std::pair(Bar("HSCR", 0), Bar("VSCR", 0)), std::pair(std::pair(hMax, 0), std::pair(vMax, 0)));
        EXPECT_TRUE(PaneShows(0, picture));
        EXPECT_TRUE(width > 204 || PixelIs(Pane(0), 204, 0, At("AREA", 0).surface().BackColour().rgb()));
        const QPoint end(std::max(hMax, 0), std::max(vMax, 0));
        Scroll(0, end);
        EXPECT_TRUE(PaneShows(0, picture, end));
    }
}

// Of files dropped the last that opens stays; a GIF needs GIF option 1; dropped text is not
// typed in. Any Enter opens the typed path, an empty one empties the slot; both reset the
// position. A cancelled browse changes nothing.
TEST_F(SourcePanes, DropsEnterAndTheBrowseButtonOpenFiles)
{
    const QStringList paths = {Write("a.bmp", NoisePicture(10, 10, 2)), Write("b.png", NoisePicture(20, 20, 2)),
                               Write("broken.png", QByteArray("no picture")), Write("anim.gif", front, "BMP"),
                               Write("photo.JPEG", front, "JPG")};
    ASSERT_TRUE(Drop(Fld(0), {paths[4]}));
    EXPECT_EQ(Fld(0).text(), paths[4]);
    ASSERT_TRUE(Drop(Fld(0), paths.mid(0, 3)));
    EXPECT_TRUE(PaneShows(0, NoisePicture(20, 20, 2)));
    EXPECT_EQ(Fld(0).text(), paths[1]);
    for (const std::int16_t gifOption : {0, 1}) {
        settings.GifOption = gifOption;
        ASSERT_TRUE(Drop(At("AREA", 1), {paths[0], paths[3]}));
        EXPECT_EQ(Fld(1).text(), paths[gifOption == 1 ? 3 : 0]) << "option " << gifOption;
    }
    EXPECT_FALSE(Drop(Fld(0), {}) || Drop(At("AREA", 0), {}));
    EXPECT_EQ(Fld(0).text(), paths[1]);
    for (const auto& [key, modifiers, slot, typed] : {std::tuple{Qt::Key_Return, Qt::ShiftModifier, 0, paths[0]},
                                                      {Qt::Key_Enter, Qt::KeypadModifier, 1, paths[0]},
                                                      {Qt::Key_Return, Qt::NoModifier, 1, QString()}}) {
        document.FrontX = -40;
        Fld(slot).setText(typed);
        QTest::keyClick(&Fld(slot), key, modifiers);
        EXPECT_EQ(std::pair(Holder(slot).HasPicture(), document.FrontX), std::pair(!typed.isEmpty(), 0)) << key;
    }
    dialogs->openAnswers = {{true, Write("browsed.bmp", front), 1}, {false, QString(), 0}};
    settings.GifOption = 0;
    Click("DBTN", 0);
    EXPECT_EQ(dialogs->openRequests.at(0).filterPattern, BrowseFilterPattern(0));
    EXPECT_EQ(Fld(0).text(), folder.filePath("browsed.bmp"));
    const auto before = UsedSlot(1);
    Click("DBTN", 1);
    EXPECT_TRUE(State(1) == before);
    EXPECT_EQ(std::pair(dialogs->openRequests.at(0).title, dialogs->openRequests.at(1).title),
              std::pair(QStringLiteral("前景の画像"), QStringLiteral("背景の画像")));
}
} // namespace

namespace {
// The window grows: the panes share the room and whatever lies beside and below them keeps to
// their edges; the left column stays. Back at its first size every control is where it was.
// The size is kept in the settings once the window was enlarged.
TEST_F(SourcePanes, TheWindowGrowsWithItsPanesAndKeepsItsSize)
{
    const auto places = [this] {
        std::map<QString, QRect> at;
        for (const QWidget* control : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            at[control->objectName()] = control->geometry();
        return at;
    };
    const auto resize = [this](QSize size) {
        form.resize(size);
        return QTest::qWaitFor([&] { return form.size() == size; }, 2000);
    };
    const auto start = places();
    form.OpenSourcePicture(Write("big.bmp", NoisePicture(400, 300, 3)), 0);
    Scroll(0, {150, 100});
    ASSERT_TRUE(resize(form.size() + QSize(100, 81)));
    auto grown = places();
    EXPECT_EQ(grown["AREA(0)"], start.at("AREA(0)").adjusted(0, 0, 100, 40));
    EXPECT_EQ(grown["AREA(1)"], start.at("AREA(1)").adjusted(0, 40, 100, 81));
    EXPECT_EQ(grown["DBTN(1)"], start.at("DBTN(1)").translated(100, 40));
    EXPECT_EQ(grown["HSCR(1)"], start.at("HSCR(1)").adjusted(0, 81, 100, 81));
    EXPECT_EQ(grown["BTN(2)"], start.at("BTN(2)").translated(100, 81));
    EXPECT_EQ(grown["Loupe"], start.at("Loupe"));
    // The pane shows as much as it now can from where it was.
    EXPECT_EQ(std::pair(Bar("HSCR", 0), Bar("VSCR", 0)), std::pair(std::pair(95, 95), std::pair(87, 87)));
    EXPECT_TRUE(PaneShows(0, NoisePicture(400, 300, 3), QPoint(95, 87)));
    ASSERT_TRUE(resize(QSize(322, 479)));
    EXPECT_EQ(places(), start);
    ASSERT_TRUE(resize(QSize(500, 600)));
    form.close();
    EXPECT_EQ(QSize(settings.WindowWidth, settings.WindowHeight), QSize(500, 600));
}
} // namespace
