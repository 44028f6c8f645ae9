#include "ApplicationIdentity.h"

#include <QGuiApplication>

void applyApplicationIdentity()
{
    // No display name: Qt would append it to every window title ("Title —
    // Name"), and each window names itself exactly; the main window's title
    // is the application's name.
    QGuiApplication::setOrganizationName(QStringLiteral("Lumivane"));
    QGuiApplication::setApplicationName(QStringLiteral("lumivane-viewer"));
    QGuiApplication::setDesktopFileName(QStringLiteral("lumivane-viewer"));
}
