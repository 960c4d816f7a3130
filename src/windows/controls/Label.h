#pragma once
#include "windows/controls/PictureBox.h"

#include <QLabel>

// Static text with a background colour, an alignment and an optional border; it
// reports clicks.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(QWidget* parent, const QString& caption, QRect outer, BorderStyle border,
          Qt::Alignment alignment, bool opaque);

    void SetBackColour(QColor colour);
    QColor BackColour() const;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
