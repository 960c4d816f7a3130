#pragma once
// What the layout tests read off a control.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

// The text a control shows: a label's or button's caption, a field's text; empty otherwise.
inline QString CaptionOf(const QWidget* control)
{
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* field = qobject_cast<const QLineEdit*>(control))
        return field->text();
    return QString();
}
