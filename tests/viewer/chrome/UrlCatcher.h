#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

// Catches every URL handed to the desktop while it lives, for the schemes a
// tour could name, so that no test run opens a browser or a player.
class UrlCatcher final : public QObject
{
    Q_OBJECT

public:
    UrlCatcher()
    {
        for (const QString &scheme : schemes())
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlCatcher() override
    {
        for (const QString &scheme : schemes())
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }

private:
    static QStringList schemes()
    {
        return {"http", "https", "file", "mailto", "tel", "javascript", "ftp", "data"};
    }
};
