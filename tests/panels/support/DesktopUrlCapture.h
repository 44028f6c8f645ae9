#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

/// Takes the place of the desktop for one URL scheme while it lives: what
/// QDesktopServices::openUrl hands over is kept instead of opened.
class DesktopUrlCapture final : public QObject
{
    Q_OBJECT

public:
    explicit DesktopUrlCapture(const QString &scheme)
        : m_scheme(scheme)
    {
        QDesktopServices::setUrlHandler(m_scheme, this, "capture");
    }
    ~DesktopUrlCapture() override { QDesktopServices::unsetUrlHandler(m_scheme); }

    const QList<QUrl> &urls() const { return m_urls; }

public slots:
    void capture(const QUrl &url) { m_urls.append(url); }

private:
    QString m_scheme;
    QList<QUrl> m_urls;
};
