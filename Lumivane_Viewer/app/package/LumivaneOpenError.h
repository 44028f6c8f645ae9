#pragma once

#include "LumivaneImportError.h"

#include <QString>

#include <optional>

/// Why a package could not be opened: one of the import failures, or a
/// file-system error passed on with the platform's own text.
class LumivaneOpenError final
{
public:
    LumivaneOpenError(const LumivaneImportError &error) : m_importError(error) {} // NOLINT: implicit by design
    static LumivaneOpenError fileError(const QString &platformText);

    /// None when the failure is a file-system error.
    const std::optional<LumivaneImportError> &importError() const { return m_importError; }
    /// The text the start screen shows: the keyed message, or the platform's text.
    QString message() const;

private:
    LumivaneOpenError() = default;

    std::optional<LumivaneImportError> m_importError;
    QString m_platformText;
};
