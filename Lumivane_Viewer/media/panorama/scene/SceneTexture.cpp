#include "SceneTexture.h"

#include <algorithm>

SceneTexture::SceneTexture(QImage image)
    : m_image(std::move(image))
    , m_size(m_image.size())
{
}

SceneTexture::SceneTexture(std::vector<Strip> strips, QSize size, std::shared_ptr<const void> owner,
                           unsigned fallbackTextureId)
    : m_strips(std::move(strips))
    , m_size(size)
    , m_owner(std::move(owner))
    , m_fallbackTextureId(fallbackTextureId)
{
    for (std::size_t i = 1; i < m_strips.size(); ++i)
        m_rowCuts.push_back(m_strips[i].top);
}

bool SceneTexture::isComplete() const
{
    return !m_strips.empty()
        && std::none_of(m_strips.cbegin(), m_strips.cend(), [](const Strip &strip) { return strip.glTextureId == 0; });
}
