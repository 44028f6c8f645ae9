#pragma once

#include <QImage>
#include <QString>

struct LumivaneProject;

/// The tour's branding in the header: its logo and agency name. Shown when
/// the project asks for it and has logo bytes (decodable or not) or a name.
struct HeaderBranding
{
    bool shown = false;
    QImage logo; // null when there are no bytes or they do not decode
    QString agencyName;
};

/// Decodes the project's logo, small enough for the header at any screen
/// ratio. A decode per project, not per repaint: call it once.
HeaderBranding headerBranding(const LumivaneProject &project);
