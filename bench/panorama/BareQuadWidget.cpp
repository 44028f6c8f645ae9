#include "BareQuadWidget.h"

#include "media/panorama/Panorama360ViewerView.h"

#include <QOpenGLShaderProgram>

#ifndef GL_BGRA
#define GL_BGRA 0x80E1
#endif

BareQuadWidget::BareQuadWidget(QImage photo, QWidget *parent)
    : QOpenGLWidget(parent)
    , m_photo(std::move(photo))
{
    setFormat(Panorama360ViewerView::surfaceFormat());
}

BareQuadWidget::~BareQuadWidget()
{
    makeCurrent();
    glDeleteTextures(1, &m_texture);
    glDeleteBuffers(1, &m_buffer);
    m_program.reset();
    doneCurrent();
}

void BareQuadWidget::initializeGL()
{
    initializeOpenGLFunctions();
    m_program = std::make_unique<QOpenGLShaderProgram>();
    m_program->addShaderFromSourceCode(QOpenGLShader::Vertex,
                                       "attribute vec2 p; varying vec2 uv;"
                                       "void main() { uv = vec2(p.x * 0.5 + 0.5, 0.5 - p.y * 0.5);"
                                       " gl_Position = vec4(p, 0.0, 1.0); }");
    m_program->addShaderFromSourceCode(QOpenGLShader::Fragment,
                                       "uniform sampler2D image; varying vec2 uv;"
                                       "void main() { gl_FragColor = texture2D(image, uv); }");
    m_program->bindAttributeLocation("p", 0);
    m_program->link();
    const float quad[] = {-1, -1, 1, -1, 1, 1, -1, -1, 1, 1, -1, 1};
    glGenBuffers(1, &m_buffer);
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STATIC_DRAW);
    const QImage pixels = m_photo.convertToFormat(QImage::Format_RGB32);
    glGenTextures(1, &m_texture);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pixels.width(), pixels.height(), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 pixels.constBits());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

void BareQuadWidget::paintGL()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    m_program->bind();
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glDrawArrays(GL_TRIANGLES, 0, 6);
    glDisableVertexAttribArray(0);
    m_program->release();
}
