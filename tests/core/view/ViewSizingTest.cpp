// How the composite view sizes its client area and zooms to the composite and the room on screen.
#include "core/view/ViewSizing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// Room for 500 x 400 pixels, scroll bars 17 pixels thick.
TEST(ViewClientSize, FitsTheCompositeUpToTheRoomLeavingSpaceForScrollBars)
{
    const struct { const char* name; QSize composite, client; } rows[] = {
        {"fits", {100, 80}, {100, 80}},
        {"exactly the room", {500, 400}, {500, 400}},
        {"one pixel too wide: a bar below", {501, 80}, {500, 97}},
        {"too wide, the bar below fits", {600, 300}, {500, 317}},
        {"too wide, just room for the bar below", {600, 383}, {500, 400}},
        {"too wide, the bar pushes the height over", {600, 390}, {500, 400}},
        {"one pixel too tall: a bar beside", {100, 401}, {117, 400}},
        {"too tall, the bar pushes the width over", {490, 500}, {500, 400}},
        {"too large both ways", {900, 700}, {500, 400}},
        {"empty", {0, 0}, {0, 0}}};
    for (const auto& row : rows)
        EXPECT_EQ(ViewClientSize(row.composite, QSize(500, 400), 17), row.client) << row.name;
}

// The zoomed composite, rounded to whole pixels as the view shows it, fits the room and
// fills it along its tighter side.
TEST(FitZoom, ShowsTheWholeCompositeInTheRoom)
{
    const struct { QSize composite, room; double zoom; } rows[] = {
        {{500, 400}, {500, 400}, 1.0}, {{1000, 1600}, {500, 400}, 0.25}, {{6000, 4000}, {1917, 1042}, 0.2605},
        {{9001, 6007}, {1277, 997}, 0.14187}, {{0, 0}, {500, 400}, 1.0}, {{300, 200}, {0, -5}, 1.0 / 300}};   // no room
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.composite.width() << " x " << row.composite.height());
        const double zoom = FitZoom(row.composite, row.room);
        EXPECT_NEAR(zoom, row.zoom, 5e-5);
        const QSize room = row.room.expandedTo(QSize(1, 1));
        EXPECT_LE(std::lround(row.composite.width() * zoom), room.width());
        EXPECT_LE(std::lround(row.composite.height() * zoom), room.height());
    }
}

// Rungs 1, 1/2, 1/3, 1/4...; here the fit, 0.3, lies between 1/3 and 1/4.
TEST(SteppedZoom, ClimbsTheRungsBetweenTheFitAndOne)
{
    const struct { const char* name; double zoom, fit; int steps; double stepped; } rows[] = {
        {"a hair off a rung counts as on it", 1.0 / 3 * (1 + 1e-12), 0.3, -1, 0.3},
        {"out past the fit stops at it", 0.5, 0.3, -2, 0.3},
        {"in from the fit to the next rung", 0.3, 0.3, 1, 1.0 / 3},
        {"in from between rungs", 0.4, 0.1, 1, 0.5},
        {"out from between rungs", 0.4, 0.1, -1, 1.0 / 3},
        {"never above 1", 0.5, 0.1, 5, 1.0},
        {"a composite that fits does not zoom out", 1.0, 1.0, -1, 1.0}};
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(SteppedZoom(row.zoom, row.fit, row.steps), row.stepped) << row.name;
}
} // namespace
