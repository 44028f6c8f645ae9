#pragma once

#include <QImage>
#include <QVideoFrame>
#include <QWidget>

/// Paints the latest frame of a video sink, fitted on black with its aspect
/// kept. Painting frames ourselves keeps the video an ordinary widget: it sits
/// under overlays and follows opacity, which a native video window does not.
class VideoFrameView final : public QWidget
{
public:
    explicit VideoFrameView(QWidget *parent = nullptr);

    void setFrame(const QVideoFrame &frame);
    void clear();
    bool hasFrame() const { return m_frame.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVideoFrame m_frame;
    QImage m_image;          // m_frame converted, made when painted
    bool m_converted = false;
};
