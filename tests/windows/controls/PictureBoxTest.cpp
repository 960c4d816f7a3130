// Where a picture surface reports the mouse: in its bitmap's pixels, over its inner area.
#include "windows/controls/PictureBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
// A 14 x 11 surface: inner 10 x 7 within a 3-D border, 12 x 9 within a flat one. A bordered
// surface says nothing of its border; a borderless one reports every point, beyond its
// edges too, as a drag held by the button goes there.
TEST(PictureBox, ReportsTheMouseOnlyOverItsInnerArea)
{
    const struct { const char* name; BorderStyle border; QPoint widgetPoint; bool reported; QPointF innerPoint; } rows[] = {
        {"3-D, first inner pixel", BorderStyle::ThreeD, {2, 2}, true, {0, 0}},
        {"3-D, last inner pixel", BorderStyle::ThreeD, {11, 8}, true, {9, 6}},
        {"3-D, outer left line", BorderStyle::ThreeD, {0, 5}, false, {}}, {"3-D, inner left line", BorderStyle::ThreeD, {1, 5}, false, {}},
        {"3-D, inner right line", BorderStyle::ThreeD, {12, 5}, false, {}},
        {"3-D, outer bottom line", BorderStyle::ThreeD, {5, 10}, false, {}},
        {"3-D, beyond the surface", BorderStyle::ThreeD, {30, 5}, false, {}},
        {"flat, inner corner", BorderStyle::Flat, {12, 9}, true, {11, 8}}, {"flat, right line", BorderStyle::Flat, {13, 5}, false, {}},
        {"none, corner", BorderStyle::None, {0, 0}, true, {0, 0}}, {"none, beyond the edges", BorderStyle::None, {20, -3}, true, {20, -3}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PictureBox box(nullptr, QRect(0, 0, 14, 11), row.border, Qt::white);
        QSignalSpy downs(&box, &PictureBox::mouseDown), moves(&box, &PictureBox::mouseMove),
            ups(&box, &PictureBox::mouseUp), doubles(&box, &PictureBox::doubleClicked);
        const QPointF global = box.mapToGlobal(QPointF(row.widgetPoint));
        for (const auto& [type, button] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton},
                                          {QEvent::MouseMove, Qt::NoButton},
                                          {QEvent::MouseButtonRelease, Qt::LeftButton},
                                          {QEvent::MouseButtonDblClick, Qt::LeftButton}}) {
            QMouseEvent event(type, QPointF(row.widgetPoint), global, button, Qt::LeftButton, {});
            QApplication::sendEvent(&box, &event);
        }
        for (QSignalSpy* spy : {&downs, &moves, &ups, &doubles})
            EXPECT_EQ(spy->size(), row.reported ? 1 : 0);
        for (QSignalSpy* spy : {&downs, &moves, &ups})
            if (row.reported && !spy->isEmpty()) {
                EXPECT_EQ(QPointF(spy->first().at(2).toFloat(), spy->first().at(3).toFloat()), row.innerPoint);
            }
    }
}
} // namespace
