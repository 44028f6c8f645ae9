#include "LumivaneImportError.h"

#include <QList>
#include <QLocale>
#include <QVariant>

namespace {

QString byteSizeText(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

} // namespace

LumivaneImportError LumivaneImportError::extractionFailed(const QString &description)
{
    return {Case::extractionFailed, description};
}

LumivaneImportError LumivaneImportError::notEnoughSpace(ArchiveExtractor::SpaceShortfall shortfall)
{
    LumivaneImportError error(Case::extractionFailed, {});
    error.m_shortfall = shortfall;
    return error;
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

QString LumivaneImportError::payload() const
{
    if (!m_shortfall)
        return m_payload;
    return L10n::fillPlaceholders(L10n::storedLanguageText(L10n::Key::errImportNotEnoughSpace),
                                  {byteSizeText(m_shortfall->neededBytes), byteSizeText(m_shortfall->availableBytes)});
}

QString LumivaneImportError::errorDescription() const
{
    switch (m_case) {
    case Case::extractionFailed:
        return localizedImportErrorFormat(L10n::Key::errImportExtractionFailed, payload());
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
