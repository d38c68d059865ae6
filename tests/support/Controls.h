#pragma once

#include <QWidget>

// A window's control by object name; a missing control ends the test at once,
// since every later step would only fail less clearly.
template <class T>
T* Child(QWidget* window, const QString& name)
{
    T* child = window->findChild<T*>(name);
    if (!child)
        qFatal("%s has no control %s", qPrintable(window->objectName()), qPrintable(name));
    return child;
}
