// Which file each background becomes, and the progress line, as plain tables.
#include "batch/BatchPlan.h"
#include "batch/BatchProgress.h"

#include <gtest/gtest.h>

namespace {

TEST(BatchPlan, NamesEachOutputAfterItsBackgroundAndRefusesASecondOfTheSameName)
{
    const struct {
        QStringList backgrounds;
        std::optional<SaveFormat> format;
        // One line per item: the output, or the output and the refusal.
        std::vector<std::string> expected;
    } rows[] = {
        {{"a/photo.jpg", "b.JPEG", "c.Png", "d.bmp", "e.gif", "f.ico", "noextension", "g.tar.jpg"},
         std::nullopt,
         {"out/photo.jpg", "out/b.jpg", "out/c.png", "out/d.bmp", "out/e.png", "out/f.png",
          "out/noextension.png", "out/g.tar.jpg"}},
        {{"a.jpg", "b.png"}, SaveFormat::Bmp, {"out/a.bmp", "out/b.bmp"}},
        {{"a.bmp"}, SaveFormat::Jpeg, {"out/a.jpg"}},
        {{"x/a.jpg", "y/a.jpg", "a.png", "x/a.jpg"},
         std::nullopt,
         {"out/a.jpg", "out/a.jpg: gives the same file out/a.jpg as x/a.jpg", "out/a.png",
          "out/a.jpg: gives the same file out/a.jpg as x/a.jpg"}},
        {{"a.jpg", "a.png"}, SaveFormat::Png,
         {"out/a.png", "out/a.png: gives the same file out/a.png as a.jpg"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.backgrounds.join(u' ').toStdString());
        const std::vector<BatchItem> items = PlanBatch(row.backgrounds, "out/", row.format);
        std::vector<std::string> got;
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].background, row.backgrounds[qsizetype(i)]);
            got.push_back(items[i].output.toStdString() +
                          (items[i].refusal.isEmpty() ? "" : ": " + items[i].refusal.toStdString()));
        }
        EXPECT_EQ(got, row.expected);
    }
}

TEST(BatchProgress, ShowsTheBarCountNameAndTimeLeftWithinTheWidth)
{
    using std::chrono::milliseconds;
    const struct {
        std::size_t done, total;
        const char* name;
        milliseconds elapsed;
        int columns;
        const char* expected;
    } rows[] = {
        {0, 20, "photo-001.jpg", milliseconds(0), 80, "[--------------------]  0/20 photo-001.jpg"},
        {5, 20, "photo-006.jpg", milliseconds(10'000), 80,
         "[#####---------------]  5/20 photo-006.jpg 0:30 left"},
        {1, 3, "a.jpg", milliseconds(3'700'000), 80, "[######--------------] 1/3 a.jpg 2:03:20 left"},
        {2, 2, "b.jpg", milliseconds(5'000), 80, "[####################] 2/2 b.jpg"},
        {1, 2, "a-very-long-file-name-of-a-photo.jpg", milliseconds(1'000), 50,
         "[##########----------] 1/2 a-ve...o.jpg 0:01 left"},
        {1, 2, "name.jpg", milliseconds(1'000), 20, "[##########--------"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        const QString line = ProgressLine(row.done, row.total, QString::fromUtf8(row.name),
                                          row.elapsed, row.columns);
        EXPECT_EQ(line.toStdString(), row.expected);
        EXPECT_LT(line.size(), row.columns);
    }
}

} // namespace
