#pragma once

#include <QObject>
#include <QString>

/// An in-process notification centre for the names of
/// "model/NotificationNames.h": whoever wants the viewer to toggle immersion
/// or VR mode posts the name, and every viewer handed this centre reacts.
/// Nothing in the application posts them; it is an inbound hook. Main thread only.
class ViewerNotifications final : public QObject
{
    Q_OBJECT

public:
    explicit ViewerNotifications(QObject *parent = nullptr);

    /// The application's centre, created on first use and owned by the
    /// application object. Only the application asks for it.
    static ViewerNotifications &defaultCenter();

    /// Delivers the name to every observer at once.
    void post(const QString &name);

signals:
    void posted(const QString &name);
};
