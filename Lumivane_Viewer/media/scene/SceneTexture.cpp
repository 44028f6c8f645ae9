#include "SceneTexture.h"

SceneTexture::SceneTexture(QImage image)
    : m_image(std::move(image))
    , m_size(m_image.size())
{
}

SceneTexture::SceneTexture(unsigned glTextureId, QSize size, std::shared_ptr<const void> owner)
    : m_glTextureId(glTextureId)
    , m_size(size)
    , m_owner(std::move(owner))
{
}
