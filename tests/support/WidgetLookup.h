#pragma once

#include <QList>
#include <QObject>

// findChild<T>() matches by meta-object, so for a widget class without
// Q_OBJECT it answers with any widget of its nearest Qt base class. These
// look children up by their C++ type instead.

/// Every descendant of root that is a T, in depth-first order.
template<typename T>
QList<T *> widgetsOfType(const QObject *root)
{
    QList<T *> found;
    for (QObject *child : root->findChildren<QObject *>()) {
        if (auto *typed = dynamic_cast<T *>(child))
            found.append(typed);
    }
    return found;
}

/// The first descendant of root that is a T, or null.
template<typename T>
T *widgetOfType(const QObject *root)
{
    const QList<T *> found = widgetsOfType<T>(root);
    return found.isEmpty() ? nullptr : found.first();
}
