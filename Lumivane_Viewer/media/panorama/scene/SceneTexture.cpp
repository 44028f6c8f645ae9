#include "SceneTexture.h"

SceneTexture::SceneTexture(QImage image)
    : m_image(std::move(image))
    , m_size(m_image.size())
{
}

SceneTexture::SceneTexture(std::vector<Strip> strips, QSize size, std::shared_ptr<const void> owner)
    : m_strips(std::move(strips))
    , m_size(size)
    , m_owner(std::move(owner))
{
}
