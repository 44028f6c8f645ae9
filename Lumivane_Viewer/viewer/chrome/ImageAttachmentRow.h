#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

class QVBoxLayout;

/// An image attachment: its picture, decoded small enough for the card off
/// the GUI thread, with its title under it; a click on the picture reports
/// through onOpenImage. Until the picture arrives the row takes no room; a
/// file that gives no picture (missing, unreadable, not allowed) shows as a
/// button row that reports through onOpenAttachment instead.
class ImageAttachmentRow final : public QWidget
{
    Q_OBJECT

public:
    /// fileURL none: the file may not be opened. fallbackText is the button
    /// row's text.
    ImageAttachmentRow(const std::optional<QUrl> &fileURL, const QString &title, const QString &fallbackText,
                       const QColor &accent, QWidget *parent = nullptr);

    /// Whether the picture arrived, the fallback shows, or neither yet.
    enum class Face { loading, picture, fallback };
    Face face() const { return m_face; }

    std::function<void(const QUrl &)> onOpenImage;
    std::function<void()> onOpenAttachment;

private:
    void startDecoding(const QString &path);
    void showPicture(const QImage &image);
    void showFallback();

    std::optional<QUrl> m_fileURL;
    QString m_title;
    QString m_fallbackText;
    QColor m_accent;
    Face m_face = Face::loading;
    QVBoxLayout *m_column;
};

/// The picture of an image attachment: fitted into the width, at most 260
/// high, left-aligned, with rounded corners. A button: clicking the picture,
/// or Space and Return once reached with Tab, presses it; the ring follows
/// the picture's corners.
class AttachmentThumbnail final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit AttachmentThumbnail(const QImage &image, QWidget *parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    /// Where the picture is drawn at the current size.
    QRectF pictureRect() const;

    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent *event) override;
    /// Only the picture answers, not the room beside it.
    bool hitButton(const QPoint &pos) const override;

private:
    QSizeF fittedSize(double width) const;

    QImage m_image;
    QPixmap m_rounded; // the picture at its drawn size, corners cut
};
