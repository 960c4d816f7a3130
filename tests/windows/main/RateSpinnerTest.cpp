#include "MainWindowFixture.h"

namespace {
using RateSpinner = MainWindowTest;
} // namespace

// The read-out shows the transparency, 100 minus the rate. The spinner is 17 x 17: rows 0
// to 7 are the upper arrow, which lowers the rate, rows 8 to 16 the lower one; there is
// no track to hit. The keys step by one, pages included.
TEST_F(RateSpinner, ArrowsAndKeysStepTheRateWithinItsRange)
{
    const struct { std::int32_t from; int row; Qt::Key key; std::int32_t to; } steps[] = {   // row -1: `key`
        {100, 3, {}, 99}, {0, 0, {}, 0}, {50, 7, {}, 49}, {50, 8, {}, 51}, {30, 16, {}, 31}, {100, 13, {}, 100},
        {50, -1, Qt::Key_Up, 49}, {50, -1, Qt::Key_PageDown, 51}, {50, -1, Qt::Key_PageUp, 49},
        {0, -1, Qt::Key_Up, 0}, {100, -1, Qt::Key_Down, 100}};
    form.Trans->setFocus();
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "from " << s.from << " row " << s.row << " key " << s.key);
        Settings.TransRate = s.from;
        form.Form_Load();
        EXPECT_EQ(QString::number(100 - s.from), form.DSP[1]->text());
        if (s.row >= 0)
            QTest::mouseClick(form.Trans, Qt::LeftButton, {}, QPoint(8, s.row));
        else
            QTest::keyClick(form.Trans, s.key);
        EXPECT_EQ(s.to, form.Trans->Value());
        EXPECT_EQ(s.to, Settings.TransRate);
        EXPECT_EQ(QString::number(100 - s.to), form.DSP[1]->text());
    }
}
