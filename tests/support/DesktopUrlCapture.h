#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

/// Takes the place of the desktop for some URL schemes while it lives: what
/// QDesktopServices::openUrl hands over is kept instead of opened.
class DesktopUrlCapture final : public QObject
{
    Q_OBJECT

public:
    explicit DesktopUrlCapture(QStringList schemes)
        : m_schemes(std::move(schemes))
    {
        for (const QString &scheme : std::as_const(m_schemes))
            QDesktopServices::setUrlHandler(scheme, this, "capture");
    }
    ~DesktopUrlCapture() override
    {
        for (const QString &scheme : std::as_const(m_schemes))
            QDesktopServices::unsetUrlHandler(scheme);
    }

    const QList<QUrl> &urls() const { return m_urls; }

public slots:
    void capture(const QUrl &url) { m_urls.append(url); }

private:
    QStringList m_schemes;
    QList<QUrl> m_urls;
};
