#pragma once
#include <QGroupBox>

// A captioned group frame drawn as the classic dialogs draw it: an etched line around the
// frame's own rectangle, the top line running through the middle of the caption, so the
// controls inside keep their places relative to the frame's top-left corner and stand
// clear of the lines. (Qt's styles put the caption above the line and push the line down
// into the controls.)
class GroupFrame : public QGroupBox {
    Q_OBJECT
public:
    GroupFrame(QWidget* parent, const QString& caption, QRect outer);

protected:
    void paintEvent(QPaintEvent* event) override;
};
