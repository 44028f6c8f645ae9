#pragma once

#include "ArchiveExtractor.h"

#include "l10n/L10n.h"

#include <QString>

#include <optional>

/// A failure of opening a package, with its message in the stored interface
/// language. Knows nothing of how the failure came about beyond its payload.
class LumivaneImportError final
{
public:
    // The order is the case tag.
    enum class Case { extractionFailed, decodeFailed, invalidPackage, projectJSONMissing };

    static LumivaneImportError extractionFailed(const QString &description);
    /// extractionFailed for a disk without room for the package: the sizes
    /// in the system's number format, the words in the stored language.
    static LumivaneImportError notEnoughSpace(ArchiveExtractor::SpaceShortfall shortfall);
    static LumivaneImportError decodeFailed(const QString &description);
    static LumivaneImportError invalidPackage();
    static LumivaneImportError projectJSONMissing();

    Case kind() const { return m_case; }
    /// The failure's own description; empty for the cases without one.
    QString payload() const;

    /// Read in the language stored at the moment of the call, on any thread.
    QString errorDescription() const;

    /// The key's stored-language text with message as its one "%@".
    static QString localizedImportErrorFormat(L10n::Key key, const QString &message);

    bool operator==(const LumivaneImportError &) const = default;

private:
    LumivaneImportError(Case kind, QString payload) : m_case(kind), m_payload(std::move(payload)) {}

    Case m_case;
    QString m_payload;
    std::optional<ArchiveExtractor::SpaceShortfall> m_shortfall; // its text is made when asked for, in the language stored then
};
