#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

struct LumivaneProject;

/// The tour's branding in the header: its logo and agency name. Shown when
/// the project asks for it and has logo bytes (decodable or not) or a name.
struct HeaderBranding
{
    bool shown = false;
    std::optional<QByteArray> logoData; // none when the header shows no logo
    QString agencyName;
};

/// What the project asks of the header's branding; decodes nothing.
HeaderBranding headerBranding(const LumivaneProject &project);

/// The logo as the header shows it, small enough for the header at any
/// screen ratio; null when the bytes give none. Takes as long as the
/// picture is large: run it off the GUI thread.
QImage decodeHeaderLogo(const QByteArray &bytes);
