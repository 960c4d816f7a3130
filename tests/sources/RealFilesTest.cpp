// Every picture of the public test suites through the route its name selects, against
// the reference decodes: BMP, GIF, ICO and JPEG through the general loader, the whole
// PngSuite through the codec.
#include "SourcesTestSupport.h"
#include "TestDataTable.h"

#include "app/FrontPosition.h"
#include "support/PixelAssert.h"
#include "ui/frmMain.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <algorithm>
#include <map>

namespace {
const QString kRotatedPhoto = QStringLiteral("jpeg/hopper_orientation_6.jpg");

// Files the suite calls questionable (decoding and rejecting both allowed) that Qt's
// readers decode to the right size but other colours than the reference.
const std::map<QString, const char*> kQtColourDeviations = {
    {QStringLiteral("bmpsuite/q/pal4rletrns.bmp"), "pixels the RLE codes skip take any colour"},
    {QStringLiteral("bmpsuite/q/pal8rletrns.bmp"), "pixels the RLE codes skip take any colour"},
    {QStringLiteral("bmpsuite/q/pal8os2sp.bmp"), "the short OS/2 palette is read as a full one"},
    {QStringLiteral("bmpsuite/q/rgb32-111110.bmp"), "11-11-10 bit fields come out black"},
};

class RealFiles : public ::testing::TestWithParam<TestPicture> {};

TEST_P(RealFiles, LoadAsTheTestDataExpects)
{
    const TestPicture& expected = GetParam();
    ASSERT_TRUE(expected.size.isValid() || expected.expect != Expectation::Decode);
    ASSERT_FALSE(expected.expectation.startsWith(QLatin1String("unclassified")));
    PictureFolder folder;
    frmMain form;
    PrepareUsedSlot(form, 0, folder);
    const SlotSnapshot before = Snapshot(form, 0);
    const QString path = TestDataPath(expected.file);

    const std::int16_t status = form.LoadSourceImage(path, 0);

    if (expected.expect == Expectation::Decode) {
        ASSERT_EQ(status, 0);
    }
    if (expected.expect == Expectation::Reject) {
        ASSERT_EQ(status, 1);
    }
    if (status != 0) {
        EXPECT_EQ(status, 1);
        EXPECT_TRUE(SlotUnchanged(before, form, 0));
        return;
    }
    const Surface& holder = form.PicImg[0]->surface();
    ASSERT_TRUE(holder.HasPicture());
    if (expected.size.isValid()) {
        EXPECT_EQ(holder.Picture()->size(), expected.size);
    }
    EXPECT_EQ(holder.Image().size(), holder.Picture()->size());
    EXPECT_EQ(form.FLD[0]->text(), path);
    EXPECT_EQ(FrontX, 0);
    EXPECT_EQ(FrontY, 0);
    const std::optional<QImage> reference = ReferenceDecode(expected.file);
    if (!reference) {
        EXPECT_NE(expected.expect, Expectation::Decode) << "no reference decode";
        return;
    }
    if (const auto deviation = kQtColourDeviations.find(expected.file);
        deviation != kQtColourDeviations.end()) {
        EXPECT_EQ(expected.expect, Expectation::Either) << deviation->second;
        return;
    }
    QImage shown = OverBackground(*reference, holder.BackColor());
    if (expected.file == kRotatedPhoto)
        shown = TurnedClockwise(shown);
    EXPECT_TRUE(SamePixels(shown, *holder.Picture(), ReferenceTolerance(expected.file)));
}

std::string RowName(const ::testing::TestParamInfo<TestPicture>& info)
{
    QString name = info.param.file;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    return name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(TestData, RealFiles, ::testing::ValuesIn(ReadTestPictures()), RowName);

TEST(TestDataTable, EveryPictureFileHasARowAndTheRowsReadAsExpected)
{
    const std::vector<TestPicture> rows = ReadTestPictures();
    const auto count = [&rows](Expectation e) {
        return std::count_if(rows.begin(), rows.end(),
                             [e](const TestPicture& row) { return row.expect == e; });
    };
    // The README's own tally: 161 PNG decode, 14 PNG reject, and the others' rows.
    EXPECT_EQ(rows.size(), 175u + 59u + 8u + 7u + 10u);
    EXPECT_GE(count(Expectation::Decode), 161 + 23);
    EXPECT_GE(count(Expectation::Reject), 14);
    QDirIterator it(TestDataPath(QString()), {"*.png", "*.bmp", "*.gif", "*.ico", "*.jpg"},
                    QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString file = it.next().mid(TestDataPath(QString()).size());
        ++files;
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                                [&file](const TestPicture& row) { return row.file == file; }))
            << file.toStdString() << " has no row";
    }
    EXPECT_EQ(files, int(rows.size()));
}
} // namespace
