#pragma once
#include <QObject>
#include <QString>
#include <cstdio>
#include <cstdlib>

// The control named `name` ("FLD(0)", "Board") among the children of `window`. A missing
// control ends the test program: every test that asks for one needs it.
template <typename Control>
Control& Find(const QObject& window, const QString& name)
{
    Control* control = window.findChild<Control*>(name);
    if (control == nullptr) {
        std::fprintf(stderr, "no control %s\n", qPrintable(name));
        std::abort();
    }
    return *control;
}
