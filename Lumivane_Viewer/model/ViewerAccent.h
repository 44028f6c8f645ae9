#pragma once

#include <QColor>
#include <QStringView>

#include <optional>

struct LumivaneProject;

/// The opaque colour of a tour's brand text, or none. Spaces, tabs and the
/// other Unicode space separators are trimmed from both ends (line breaks are
/// not); one leading "#" is dropped; the rest must be exactly six
/// user-perceived characters read as an unsigned base-16 number. As in the
/// standard integer parsing this follows, one leading sign is accepted and
/// counts as one of the six: "+" and five digits reads those digits, "-00000"
/// reads 0, and "-" before anything non-zero fails. No short, alpha or named
/// forms.
std::optional<QColor> rgbColorFromHex(QStringView text);

/// The viewer's accent colour for a project: its brandingAccentHex when that
/// parses, else the palette gold. Silent about a malformed value.
QColor projectAccentColor(const LumivaneProject &project);
