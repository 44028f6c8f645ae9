#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <memory>

class LumivaneImageCache;

/// The classic tour's cover background: black, and once the photo has been
/// read, the photo filling the view (the overflow cut off), blurred with a
/// radius of 18 points. Reading and blurring run on the image cache's pool,
/// once per photo and size; while a resized view waits for its new blur the
/// previous one is drawn stretched. A photo that cannot be read leaves black.
class ClassicCoverBackground final : public QWidget
{
public:
    static constexpr double blurRadius = 18;

    ClassicCoverBackground(QUrl url, std::shared_ptr<LumivaneImageCache> cache, QWidget *parent = nullptr);

    const QUrl &url() const { return m_url; }
    /// The blurred photo drawn now; null while there is none.
    const QImage &blurredImage() const { return m_blurred; }
    /// The logical size the blurred photo was made for.
    QSize blurredSize() const { return m_blurredFor; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void startBlur();

    QUrl m_url;
    std::shared_ptr<LumivaneImageCache> m_cache;
    QImage m_blurred;
    QPixmap m_magnified;
    qint64 m_magnifiedFrom = 0;
    QSize m_blurredFor;
    QSize m_pendingFor;
    quint64 m_generation = 0;
    QTimer m_resizePause;
};
