#include "viewer/station/StationPhotoBound.h"

#include "media/images/LumivaneClassicViewer.h"
#include "media/panorama/Panorama360ViewerView.h"

QSize stationPhotoBound(RenderMode mode, const QScreen *screen)
{
    if (mode == RenderMode::classic)
        return screen ? LumivaneClassicViewer::photoBound(*screen) : QSize();
    return Panorama360ViewerView::photoBound();
}
