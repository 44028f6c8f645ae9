#pragma once

#include <QImage>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>

#include <memory>

class QOpenGLShaderProgram;

/// The floor of what a frame costs on this machine: one full-screen quad
/// with a mipmapped photo texture, drawn with the panorama's surface format.
class BareQuadWidget final : public QOpenGLWidget, protected QOpenGLFunctions
{
public:
    explicit BareQuadWidget(QImage photo, QWidget *parent = nullptr);
    ~BareQuadWidget() override;

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    QImage m_photo;
    std::unique_ptr<QOpenGLShaderProgram> m_program;
    unsigned m_texture = 0;
    unsigned m_buffer = 0;
};
