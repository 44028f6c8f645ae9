#include "HeaderBranding.h"

#include "media/images/EmbeddedPictures.h"
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
    // The cover's decode of the same bytes, when it has run: a huge logo
    // costs seconds even reduced.
    return EmbeddedPictures::decode(bytes, QSize(std::numeric_limits<int>::max(), kLogoPixelHeight));
}
