// How the composite view sizes its client area to the composite and the room on screen.
#include "view/ViewSizing.h"

#include <gtest/gtest.h>

namespace {
// Room for 500 x 400 pixels, scroll bars 17 pixels thick.
TEST(ViewClientSize, FitsTheCompositeUpToTheRoomLeavingSpaceForScrollBars)
{
    const struct {
        const char* name;
        QSize composite, client;
    } rows[] = {
        {"fits", {100, 80}, {100, 80}},
        {"exactly the room", {500, 400}, {500, 400}},
        {"one pixel too wide: a bar below", {501, 80}, {500, 97}},
        {"too wide, the bar below fits", {600, 300}, {500, 317}},
        {"too wide, just room for the bar below", {600, 383}, {500, 400}},
        {"too wide, the bar pushes the height over", {600, 390}, {500, 400}},
        {"one pixel too tall: a bar beside", {100, 401}, {117, 400}},
        {"too tall, the bar pushes the width over", {490, 500}, {500, 400}},
        {"too large both ways", {900, 700}, {500, 400}},
        {"empty", {0, 0}, {0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ViewClientSize(row.composite, QSize(500, 400), 17), row.client);
    }
}
} // namespace
