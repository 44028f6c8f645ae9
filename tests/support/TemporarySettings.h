#pragma once

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

/// Points the application's default settings at a fresh temporary folder for
/// the lifetime of the object, so a test starts with nothing stored.
class TemporarySettings final
{
public:
    TemporarySettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
        EXPECT_TRUE(QSettings().fileName().startsWith(m_folder.path())) << qPrintable(QSettings().fileName());
    }

    void store(const QVariant &value) { QSettings().setValue(QStringLiteral("lumivane.language"), value); }
    QVariant stored() const { return QSettings().value(QStringLiteral("lumivane.language")); }

private:
    QTemporaryDir m_folder;
};
