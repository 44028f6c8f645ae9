#include "PanoramaTexture.h"

#include "PanoramaMipmapBands.h"
#include "PanoramaStrips.h"

#include <algorithm>

PanoramaTexture::PanoramaTexture(Release release, QSize size, int stripRows, std::vector<unsigned> ids)
    : m_release(std::move(release))
    , m_size(size)
    , m_stripRows(stripRows)
    , m_ids(std::move(ids))
{
}

PanoramaTexture::~PanoramaTexture()
{
    std::vector<unsigned> uploaded;
    std::copy_if(m_ids.cbegin(), m_ids.cend(), std::back_inserter(uploaded), [](unsigned id) { return id != 0; });
    if (!uploaded.empty() && m_release)
        m_release(std::move(uploaded));
}

bool PanoramaTexture::isComplete() const
{
    return !m_ids.empty() && std::none_of(m_ids.cbegin(), m_ids.cend(), [](unsigned id) { return id == 0; });
}

qint64 PanoramaTexture::bytes() const
{
    qint64 total = 0;
    for (int strip = 0; strip < int(m_ids.size()); ++strip) {
        const int top = strip * m_stripRows;
        const int bottom = std::min(top + m_stripRows, m_size.height());
        const int width = m_size.width() / PanoramaStrips::widthDivisor(m_size, top, bottom);
        total += PanoramaMipmapBands::chainBytes(QSize(width, bottom - top));
    }
    return total;
}

void PanoramaTexture::setStrip(int strip, unsigned id)
{
    if (strip >= 0 && strip < int(m_ids.size()))
        m_ids[std::size_t(strip)] = id;
}
