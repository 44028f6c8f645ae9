#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <optional>

/// The agency's logo on the cover: the image fitted, aspect kept, inside at
/// most 60 points of height and the width it is given, drawn smoothly at the
/// screen's pixel ratio. The bytes are decoded only when they change, so the
/// cover's rebuilds never decode the logo again; data that is not an image
/// shows nothing.
class CoverLogo final : public QWidget
{
public:
    static constexpr int maxHeight = 60;

    explicit CoverLogo(QWidget *parent = nullptr);

    /// Decodes the bytes unless they are the ones shown already.
    void setImageData(const std::optional<QByteArray> &data);
    /// The decoded logo; null when there is none.
    const QImage &image() const { return m_image; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return QSize(0, 0); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF fittedSize(QSizeF bounds) const;

    std::optional<QByteArray> m_data; // none until the first call
    QImage m_image;
    QPixmap m_scaled;
};
