#include "viewer/station/AspectFitRect.h"

QRectF aspectFitRect(QSizeF imageSize, QSizeF in)
{
    const QRectF whole(QPointF(0, 0), in);
    // Written so that NaN sizes fail the test too.
    if (!(imageSize.width() > 0 && imageSize.height() > 0 && in.width() > 0 && in.height() > 0))
        return whole;
    const double imageAspect = imageSize.width() / imageSize.height();
    const double containerAspect = in.width() / in.height();
    const QSizeF fitted = containerAspect < imageAspect ? QSizeF(in.width(), in.width() / imageAspect)
                                                        : QSizeF(imageAspect * in.height(), in.height());
    return {(in.width() - fitted.width()) * 0.5, (in.height() - fitted.height()) * 0.5, fitted.width(),
            fitted.height()};
}
