#include "HeaderBranding.h"

#include "model/LumivaneProject.h"

#include <QBuffer>
#include <QImageReader>

namespace {

// The logo shows at most 22 high; three times that stays sharp on any screen.
constexpr int kLogoPixelHeight = 66;

QImage decodeLogo(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    // Scaled while decoding, so a huge logo costs neither time nor memory.
    if (size.isValid() && size.height() > kLogoPixelHeight) {
        QSize scaled = size.scaled(QSize(size.width(), kLogoPixelHeight), Qt::KeepAspectRatio);
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            scaled.transpose();
        reader.setScaledSize(scaled.expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

} // namespace

HeaderBranding headerBranding(const LumivaneProject &project)
{
    HeaderBranding branding;
    if (!project.showBrandingInTopbar)
        return branding;
    branding.agencyName = project.coverAgencyName.value_or(QString());
    if (project.coverLogoData)
        branding.logo = decodeLogo(*project.coverLogoData);
    branding.shown = project.coverLogoData.has_value() || !branding.agencyName.isEmpty();
    return branding;
}
