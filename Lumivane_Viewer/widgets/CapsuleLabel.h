#pragma once

#include "CapsuleLook.h"

#include <QImage>
#include <QWidget>

/// A capsule holding an optional leading image and one line of text, not
/// clickable: the station name and the branding of the headers. A text too
/// long for the room is elided; its size hint never asks for more than a
/// window could give, whatever the text's length. It has no room for a
/// look's shadow and no symbol.
class CapsuleLabel final : public QWidget
{
    Q_OBJECT

public:
    explicit CapsuleLabel(CapsuleLook look, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    /// The leading image, shown fitted into look's imageHeight; a null image
    /// shows none.
    void setImage(const QImage &image);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSizeF imageSize() const;
    double textWidth() const;
    double contentHeight() const;

    CapsuleLook m_look;
    QString m_text;
    double m_textWidth = 0; // measured once per text: names may be long
    QString m_elided;       // m_text as it fits m_elidedWidth
    double m_elidedWidth = -1;
    QImage m_image;
};
