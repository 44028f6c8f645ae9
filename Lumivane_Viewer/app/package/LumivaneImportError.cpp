#include "LumivaneImportError.h"

#include <QList>
#include <QVariant>

LumivaneImportError LumivaneImportError::extractionFailed(const QString &description)
{
    return {Case::extractionFailed, description};
}

LumivaneImportError LumivaneImportError::decodeFailed(const QString &description)
{
    return {Case::decodeFailed, description};
}

LumivaneImportError LumivaneImportError::invalidPackage()
{
    return {Case::invalidPackage, {}};
}

LumivaneImportError LumivaneImportError::projectJSONMissing()
{
    return {Case::projectJSONMissing, {}};
}

QString LumivaneImportError::errorDescription() const
{
    switch (m_case) {
    case Case::extractionFailed:
        return localizedImportErrorFormat(L10n::Key::errImportExtractionFailed, m_payload);
    case Case::decodeFailed:
        return localizedImportErrorFormat(L10n::Key::errImportDecodeFailed, m_payload);
    case Case::invalidPackage:
        return L10n::storedLanguageText(L10n::Key::errImportInvalid);
    case Case::projectJSONMissing:
        return L10n::storedLanguageText(L10n::Key::errImportProjectJSONMissing);
    }
    Q_UNREACHABLE();
}

QString LumivaneImportError::localizedImportErrorFormat(L10n::Key key, const QString &message)
{
    return L10n::fillPlaceholders(L10n::storedLanguageText(key), {QVariant(message)});
}
