#include "LumivaneCursorKind.h"

#include <QCursor>
#include <QGuiApplication>

Qt::CursorShape cursor(LumivaneCursorKind kind)
{
    switch (kind) {
    case LumivaneCursorKind::grab: return Qt::OpenHandCursor;
    case LumivaneCursorKind::grabbing: return Qt::ClosedHandCursor;
    case LumivaneCursorKind::link: return Qt::PointingHandCursor;
    case LumivaneCursorKind::zoom:
    case LumivaneCursorKind::crosshair: return Qt::CrossCursor;
    }
    return Qt::ArrowCursor;
}

void setHoverCursor(bool hovering, LumivaneCursorKind kind)
{
    if (hovering)
        QGuiApplication::setOverrideCursor(QCursor(cursor(kind)));
    else
        QGuiApplication::restoreOverrideCursor();
}
