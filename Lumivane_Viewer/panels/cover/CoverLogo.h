#pragma once

#include "media/images/LatestPoolTask.h"

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <optional>

/// The agency's logo on the cover: the image fitted, aspect kept, inside at
/// most 60 points of height and the width it is given, drawn smoothly at the
/// screen's pixel ratio. The bytes are decoded on the image cache's pool
/// only when they change, so the cover's rebuilds never decode the logo
/// again; until the logo is decoded, and for data that gives none, nothing
/// shows.
class CoverLogo final : public QWidget
{
public:
    static constexpr int maxHeight = 60;

    explicit CoverLogo(QWidget *parent = nullptr);

    /// Starts decoding the bytes unless they are the ones shown already.
    void setImageData(const std::optional<QByteArray> &data);
    /// The decoded logo; null when there is none, or none yet.
    const QImage &image() const { return m_image; }
    /// Whether the bytes last set are still being decoded.
    bool isDecoding() const { return m_decode.isRunning(); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return QSize(0, 0); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF fittedSize(QSizeF bounds) const;
    void showLogo(const QImage &image);

    std::optional<QByteArray> m_data; // none until the first call
    LatestPoolTask<QImage> m_decode{*this};
    QImage m_image;
    QPixmap m_scaled;
};
