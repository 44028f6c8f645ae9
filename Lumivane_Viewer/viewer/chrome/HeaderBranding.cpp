#include "HeaderBranding.h"

#include "media/images/ImageDecodeBudget.h"
#include "model/LumivaneProject.h"

#include <limits>

namespace {

// The logo shows at most 22 high; three times that stays sharp on any screen.
constexpr int kLogoPixelHeight = 66;

QImage decodeLogo(const QByteArray &bytes)
{
    // Reduced while decoding, so a huge logo costs neither time nor memory.
    return ImageDecodeBudget::readData(bytes, QSize(std::numeric_limits<int>::max(), kLogoPixelHeight));
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
