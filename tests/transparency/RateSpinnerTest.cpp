#include "MainWindowFixture.h"

namespace {
class RateSpinner : public MainWindowTest {
protected:
    // The spinner is 17 x 17: rows 0 to 7 are the up arrow, rows 8 to 16 the down arrow.
    void ClickUpperArrow(int y = 3) { QTest::mouseClick(form.Trans, Qt::LeftButton, {}, QPoint(8, y)); }
    void ClickLowerArrow(int y = 13) { QTest::mouseClick(form.Trans, Qt::LeftButton, {}, QPoint(8, y)); }

    void Restore(std::int32_t rate)
    {
        Settings.TransRate = rate;
        form.Form_Load();
    }

    void ExpectRate(std::int32_t rate)
    {
        EXPECT_EQ(rate, form.Trans->Value());
        EXPECT_EQ(rate, Settings.TransRate);
        EXPECT_EQ(QString::number(100 - rate), form.DSP[1]->text());
    }
};
} // namespace

TEST_F(RateSpinner, RestoredRateShowsTheTransparency)
{
    for (const std::int32_t rate : {100, 0, 70}) {
        SCOPED_TRACE(rate);
        Restore(rate);
        ExpectRate(rate);
    }
}

TEST_F(RateSpinner, UpperArrowLowersTheRateAndStopsAtZero)
{
    Restore(100);
    ClickUpperArrow();
    ExpectRate(99);
    EXPECT_EQ(QStringLiteral("1"), form.DSP[1]->text());
    Restore(0);
    ClickUpperArrow();
    ExpectRate(0);
}

TEST_F(RateSpinner, LowerArrowRaisesTheRateAndStopsAtHundred)
{
    Restore(30);
    ClickLowerArrow();
    ExpectRate(31);
    Restore(100);
    ClickLowerArrow();
    ExpectRate(100);
}

// The arrows share the spinner between them: there is no track or thumb to hit.
TEST_F(RateSpinner, EveryRowIsAnArrow)
{
    for (int y = 0; y < 17; ++y) {
        SCOPED_TRACE(testing::Message() << "row " << y);
        Restore(50);
        if (y < 8) {
            ClickUpperArrow(y);
            ExpectRate(49);
        } else {
            ClickLowerArrow(y);
            ExpectRate(51);
        }
    }
}

TEST_F(RateSpinner, KeyboardStepsByOne)
{
    struct Row {
        Qt::Key key;
        std::int32_t from, to;
    };
    const Row rows[] = {{Qt::Key_Up, 50, 49}, {Qt::Key_Down, 50, 51}, {Qt::Key_PageUp, 50, 49},
                        {Qt::Key_PageDown, 50, 51}, {Qt::Key_Up, 0, 0}, {Qt::Key_Down, 100, 100}};
    form.Trans->setFocus();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << " from " << row.from);
        Restore(row.from);
        QTest::keyClick(form.Trans, row.key);
        ExpectRate(row.to);
    }
}
