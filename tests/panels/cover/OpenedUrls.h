#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

/// Catches every web, mail and telephone URL handed to the desktop while it
/// lives, instead of opening it.
class OpenedUrls final : public QObject
{
    Q_OBJECT

public:
    OpenedUrls()
    {
        for (const char *scheme : {"http", "https", "mailto", "tel"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }

    ~OpenedUrls() override
    {
        for (const char *scheme : {"http", "https", "mailto", "tel"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};
