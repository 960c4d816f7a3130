#include "MainWindowFixture.h"
#include "support/ScriptedDialogs.h"

#include "platform/ColorRef.h"

namespace {
class KeyColourDialog : public MainWindowTest {
protected:
    void ClickSwatch(int index)
    {
        QTest::mouseClick(form.DSP[index], Qt::LeftButton, {}, QPoint(5, 5));
    }
    ScriptedDialogsScope dialogs;
};
} // namespace

TEST_F(KeyColourDialog, ConfirmedColourBecomesTheKeyAndPaintsTheSwatch)
{
    Settings.TransColor = RGB(0, 0, 255);
    dialogs->colorAnswers.push_back({true, RGB(255, 0, 0)});
    ClickSwatch(0);
    ASSERT_EQ(1u, dialogs->colorRequests.size());
    EXPECT_EQ(&form, dialogs->colorRequests[0].owner);
    // A fresh dialog object every time: nothing of the current key is handed over.
    EXPECT_EQ(0, dialogs->colorRequests[0].color);
    EXPECT_EQ(255, Settings.TransColor);
    EXPECT_EQ(QColor(255, 0, 0), form.DSP[0]->BackColor());
}

TEST_F(KeyColourDialog, CancelChangesNothing)
{
    Settings.TransColor = RGB(0, 0, 255);
    form.DSP[0]->SetBackColor(QColor(0, 0, 255));
    dialogs->colorAnswers.push_back({false, RGB(255, 0, 0)});
    ClickSwatch(0);
    EXPECT_EQ(1u, dialogs->colorRequests.size());
    EXPECT_EQ(RGB(0, 0, 255), Settings.TransColor);
    EXPECT_EQ(QColor(0, 0, 255), form.DSP[0]->BackColor());
}

TEST_F(KeyColourDialog, RateReadOutOpensNothing)
{
    const std::int32_t before = Settings.TransColor;
    ClickSwatch(1);
    EXPECT_TRUE(dialogs->colorRequests.empty());
    EXPECT_EQ(before, Settings.TransColor);
}
