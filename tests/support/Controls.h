#pragma once
#include <QObject>
#include <QString>

// The control named `name` ("FLD(0)", "Board") among the children of `window`. A missing
// control ends the test program: every test that asks for one needs it.
template <typename Control>
Control& Find(const QObject& window, const QString& name)
{
    Control* control = window.findChild<Control*>(name);
    if (control == nullptr)
        qFatal("no control %s", qPrintable(name));
    return *control;
}
