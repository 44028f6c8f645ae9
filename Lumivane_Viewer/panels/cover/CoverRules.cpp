#include "CoverRules.h"

#include "model/DisplayText.h"
#include "model/ExternalLinks.h"

#include "l10n/L10n.h"

#include <algorithm>
#include <cmath>

namespace {

bool isNonEmpty(const std::optional<QString> &text)
{
    return text && !text->isEmpty();
}

// 2^63 is exact in a double; every double below it in magnitude converts to
// a qint64 without overflow.
constexpr double kInt64Bound = 9223372036854775808.0;

bool isWholeInt64(double value)
{
    return std::isfinite(value) && std::trunc(value) == value && value >= -kInt64Bound && value < kInt64Bound;
}

} // namespace

QString coverStationCountText(qsizetype count)
{
    return QString::number(count) + (count < 2 ? QLatin1String(" station") : QLatin1String(" stations"));
}

std::optional<QString> coverAreaText(std::optional<double> area)
{
    if (!area)
        return std::nullopt;
    const QString number = isWholeInt64(*area) ? QString::number(static_cast<qint64>(*area))
                                               : QString::asprintf("%.1f", *area);
    return number + QStringLiteral(" m\u00b2");
}

std::optional<QString> coverDescriptionText(const LumivaneProject &project)
{
    if (isNonEmpty(project.coverDescription))
        return project.coverDescription;
    if (isNonEmpty(project.freeNote))
        return project.freeNote;
    return std::nullopt;
}

QString coverFooterText(const LumivaneProject &project, const L10n &l10n)
{
    if (isNonEmpty(project.coverAgencyName))
        return l10n.localizedFormat(L10n::Key::coverFooterAgencyBy,
                                    displayText(*project.coverAgencyName, DisplayLength::line, LineBreaks::kept));
    return l10n.text(L10n::Key::coverFooterMadeWith);
}

QList<CoverContactLink> coverContactLinks(const LumivaneProject &project)
{
    using Kind = CoverContactLink::Kind;
    QList<CoverContactLink> links;
    if (isNonEmpty(project.coverContactEmail)) {
        const QString &text = *project.coverContactEmail;
        links.append({Kind::email, text, QStringLiteral("envelope.fill"), mailtoURL(text)});
    }
    if (isNonEmpty(project.coverContactWebsite)) {
        const QString &text = *project.coverContactWebsite;
        links.append({Kind::website, text, QStringLiteral("globe"), webLinkURL(text)});
    }
    if (isNonEmpty(project.coverContactPhone)) {
        const QString &text = *project.coverContactPhone;
        const QUrl url = telephoneURL(text);
        links.append({Kind::phone, text, QStringLiteral("phone.fill"), url.isValid() ? std::optional(url) : std::nullopt});
    }
    return links;
}

double coverMapSpan(qint64 locationZoom)
{
    const int z = int(std::clamp<qint64>(locationZoom, 1, 20));
    return 360.0 / std::ldexp(1.0, z + 3);
}

std::optional<CoverLocation> coverLocation(const LumivaneProject &project)
{
    if (!project.locationLatitude || !project.locationLongitude)
        return std::nullopt;
    return CoverLocation{*project.locationLatitude, *project.locationLongitude, coverMapSpan(project.locationZoom),
                         project.address ? *project.address : project.name};
}
