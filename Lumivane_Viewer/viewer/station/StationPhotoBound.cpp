#include "viewer/station/StationPhotoBound.h"

#include "media/images/LumivaneClassicViewer.h"
#include "media/panorama/PanoramaTextureStore.h"

QSize stationPhotoBound(RenderMode mode, const QScreen *screen)
{
    if (mode == RenderMode::classic)
        return screen ? LumivaneClassicViewer::photoBound(*screen) : QSize();
    const int limit = PanoramaTextureStore::textureSizeLimit();
    return QSize(limit, limit);
}
