// The composite view as it is created, before the first composition fits it.
#include "ui/frmMain.h"
#include "ui/frmView.h"

#include <gtest/gtest.h>

namespace {
TEST(ViewLayout, StartsAt194By179WithTheBoardAtTheCornerAndTheMarkerOutsideIt)
{
    frmMain main;
    frmView view(main);
    EXPECT_EQ(view.windowTitle(), QStringLiteral("合成画像"));
    EXPECT_TRUE(view.windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(view.size(), QSize(194, 179));
    EXPECT_EQ(view.Board->geometry(), QRect(0, 0, 200, 200));
    EXPECT_EQ(view.Board->borderWidth(), 0);
    EXPECT_EQ(view.Shape1->parentWidget(), view.Board);
    EXPECT_EQ(view.Shape1->geometry(), QRect(-1, -1, 1, 1));
    EXPECT_EQ(view.TMC->interval(), 100);
    EXPECT_TRUE(view.TMC->isActive());
    QList<QWidget*> focusable;
    for (QWidget* control : view.findChildren<QWidget*>())
        if (control->focusPolicy() != Qt::NoFocus)
            focusable << control;
    EXPECT_EQ(focusable, QList<QWidget*>{view.Board});
}
} // namespace
