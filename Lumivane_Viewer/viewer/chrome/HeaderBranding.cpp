#include "HeaderBranding.h"

#include "media/images/ImageDecodeBudget.h"
#include "model/LumivaneProject.h"

#include <limits>

namespace {

// The logo shows at most 22 high; three times that stays sharp on any screen.
constexpr int kLogoPixelHeight = 66;

} // namespace

HeaderBranding headerBranding(const LumivaneProject &project)
{
    HeaderBranding branding;
    if (!project.showBrandingInTopbar)
        return branding;
    branding.agencyName = project.coverAgencyName.value_or(QString());
    branding.logoData = project.coverLogoData;
    branding.shown = project.coverLogoData.has_value() || !branding.agencyName.isEmpty();
    return branding;
}

QImage decodeHeaderLogo(const QByteArray &bytes)
{
    // Reduced while decoding, which bounds the memory a huge logo takes but
    // not the time: the decoder still walks every block its header claims,
    // up to the pixels the budget lets a logo claim.
    return ImageDecodeBudget::readData(bytes, QSize(std::numeric_limits<int>::max(), kLogoPixelHeight));
}
