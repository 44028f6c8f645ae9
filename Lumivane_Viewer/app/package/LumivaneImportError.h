#pragma once

#include "l10n/L10n.h"

#include <QString>

/// A failure of opening a package, with its message in the stored interface
/// language. Knows nothing of how the failure came about beyond its payload.
class LumivaneImportError final
{
public:
    // The order is the case tag.
    enum class Case { extractionFailed, decodeFailed, invalidPackage, projectJSONMissing };

    static LumivaneImportError extractionFailed(const QString &description);
    static LumivaneImportError decodeFailed(const QString &description);
    static LumivaneImportError invalidPackage();
    static LumivaneImportError projectJSONMissing();

    Case kind() const { return m_case; }
    /// The failure's own description; empty for the cases without one.
    QString payload() const { return m_payload; }

    /// Read in the language stored at the moment of the call, on any thread.
    QString errorDescription() const;

    /// The key's stored-language text with message as its one "%@".
    static QString localizedImportErrorFormat(L10n::Key key, const QString &message);

    bool operator==(const LumivaneImportError &) const = default;

private:
    LumivaneImportError(Case kind, QString payload) : m_case(kind), m_payload(std::move(payload)) {}

    Case m_case;
    QString m_payload;
};
