#include "LightboxContent.h"

namespace {

QString prefix(LightboxContent::Kind kind)
{
    switch (kind) {
    case LightboxContent::Kind::image:
        return QStringLiteral("img_");
    case LightboxContent::Kind::pdf:
        return QStringLiteral("pdf_");
    case LightboxContent::Kind::video:
        return QStringLiteral("vid_");
    }
    return {};
}

} // namespace

QString LightboxContent::id() const
{
    return prefix(kind) + url.path();
}
