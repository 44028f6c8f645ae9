#include "LumivaneOpenError.h"

LumivaneOpenError LumivaneOpenError::fileError(const QString &platformText)
{
    LumivaneOpenError error;
    error.m_platformText = platformText;
    return error;
}

QString LumivaneOpenError::message() const
{
    return m_importError ? m_importError->errorDescription() : m_platformText;
}
