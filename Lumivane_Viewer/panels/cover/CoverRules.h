#pragma once

#include "model/LumivaneProject.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

class L10n;

// What the cover page shows, worked out from the project alone: the texts of
// its chips, its description and footer, its contact links and the place of
// its location map. Free of widgets so the rules are tested on their own.

/// The station chip: the count, a space and the fixed English word "station"
/// below 2, "stations" otherwise.
QString coverStationCountText(qsizetype count);

/// The area chip, or none without an area: a whole number within the range
/// of a 64-bit integer in decimal, anything else with one decimal ("%.1f"),
/// then " m²". No digit grouping.
std::optional<QString> coverAreaText(std::optional<double> area);

/// coverDescription when non-empty, else freeNote when non-empty, else none.
std::optional<QString> coverDescriptionText(const LumivaneProject &project);

/// The footer line: the agency's credit when coverAgencyName is non-empty
/// (the name made for display: a few lines of it at most), else the plain
/// credit.
QString coverFooterText(const LumivaneProject &project, const L10n &l10n);

/// One link of the header's contact row: the field as typed, the symbol
/// shown before it and the URL it opens (none when the text forms no URL
/// that is safe to open).
struct CoverContactLink
{
    enum class Kind { email, website, phone };
    Kind kind;
    QString text;
    QString symbol;
    std::optional<QUrl> url;
};

/// E-mail, website and phone, each only when its field is non-empty.
QList<CoverContactLink> coverContactLinks(const LumivaneProject &project);

/// Where the location map card points; the cover has one only when both
/// coordinates are present.
struct CoverLocation
{
    double latitude = 0;
    double longitude = 0;
    double spanDegrees = 0; ///< of latitude and of longitude alike
    QString label;          ///< the pin's title

    friend bool operator==(const CoverLocation &, const CoverLocation &) = default;
};

/// The span of the map for a project zoom: 360 / 2^(z + 3) degrees, z kept
/// within 1 to 20.
double coverMapSpan(qint64 locationZoom);

/// The map card's place, span and pin title (the address when present, even
/// empty, else the name); none unless both coordinates are present.
std::optional<CoverLocation> coverLocation(const LumivaneProject &project);
