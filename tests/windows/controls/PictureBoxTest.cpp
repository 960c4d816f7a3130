// Where a picture surface reports the mouse: in its bitmap's pixels, over its inner area.
#include "windows/controls/PictureBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

// A 14 x 11 box: inner 10 x 7 within a 3-D border, 12 x 9 within a flat one. A borderless
// one reports beyond its edges too, where a held drag goes.
TEST(PictureBox, ReportsTheMouseOnlyOverItsInnerArea)
{
    const struct { BorderStyle border; QPoint at; bool reported; QPointF inner; } rows[] = {
        {BorderStyle::ThreeD, {2, 2}, true, {0, 0}}, {BorderStyle::ThreeD, {11, 8}, true, {9, 6}},
        {BorderStyle::ThreeD, {1, 5}, false, {}}, {BorderStyle::ThreeD, {12, 5}, false, {}},
        {BorderStyle::ThreeD, {5, 10}, false, {}}, {BorderStyle::Flat, {12, 9}, true, {11, 8}},
        {BorderStyle::Flat, {13, 5}, false, {}}, {BorderStyle::None, {20, -3}, true, {20, -3}}};
    for (const auto& row : rows) {
        PictureBox box(nullptr, QRect(0, 0, 14, 11), row.border, Qt::white);
        QSignalSpy downs(&box, &PictureBox::mouseDown), moves(&box, &PictureBox::mouseMove),
            ups(&box, &PictureBox::mouseUp), doubles(&box, &PictureBox::doubleClicked);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseMove, QEvent::MouseButtonRelease,
                                        QEvent::MouseButtonDblClick}) {
            QMouseEvent event(type, QPointF(row.at), box.mapToGlobal(QPointF(row.at)),
                              type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(&box, &event);
        }
        for (QSignalSpy* spy : {&downs, &moves, &ups, &doubles}) {
            ASSERT_EQ(spy->size(), row.reported ? 1 : 0) << int(row.border) << " at " << row.at.x() << ", " << row.at.y();
            if (row.reported && spy != &doubles) {
                EXPECT_EQ(spy->first().at(2).toPointF(), row.inner);
            }
        }
    }
}
