#pragma once

#include "LightboxImageDecode.h"

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWidget>

class L10n;

/// An image attachment shown whole, scaled up or down to fit its area with
/// its aspect kept, 16 px in from the edges. The file is decoded on a worker
/// thread at the size shown, and again with more detail when the area grows;
/// a file that gives no image shows the load-failure text instead.
class LightboxImageView final : public QWidget
{
public:
    enum class State { loading, shown, failed };

    LightboxImageView(QUrl url, L10n &l10n, QWidget *parent = nullptr);

    State state() const { return m_state; }
    /// Where the image is drawn; empty until it has been decoded.
    QRect imageRect() const;
    /// The decoded image's size in pixels (at most what the area shows).
    QSize decodedSize() const { return m_image.size(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize deviceBox() const;
    bool needsMoreDetail() const;
    void startDecode();
    void applyDecoded(quint64 generation, LightboxDecodedImage decoded);

    QUrl m_url;
    QPointer<L10n> m_l10n;
    State m_state = State::loading;
    QImage m_image;
    QSize m_sourceSize;
    QPixmap m_scaled; // m_image at the drawn size, made once per size
    quint64 m_generation = 0;
    bool m_decoding = false;
    QTimer m_resizeSettle;
};
