#include "viewer/ViewerNotifications.h"

#include <QCoreApplication>
#include <QPointer>

ViewerNotifications::ViewerNotifications(QObject *parent)
    : QObject(parent)
{
}

ViewerNotifications &ViewerNotifications::defaultCenter()
{
    Q_ASSERT(QCoreApplication::instance());
    static QPointer<ViewerNotifications> instance;
    if (!instance)
        instance = new ViewerNotifications(QCoreApplication::instance());
    return *instance;
}

void ViewerNotifications::post(const QString &name)
{
    emit posted(name);
}
