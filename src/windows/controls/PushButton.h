#pragma once
#include <QPushButton>

// A push button with a caption at a fixed place.
class PushButton : public QPushButton {
public:
    PushButton(QWidget* parent, const QString& caption, QRect outer) : QPushButton(caption, parent)
    {
        setGeometry(outer);
        setAutoDefault(false);
    }
};
