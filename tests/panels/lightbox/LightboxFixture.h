#pragma once

#include "panels/lightbox/LumivaneLightbox.h"

#include "l10n/L10n.h"
#include "tests/support/TemporarySettings.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

/// A window-sized lightbox over files the test writes into a folder of its own.
class LightboxFixture
{
protected:
    LightboxFixture() { m_l10n.setCurrent(L10n::Language::english); }

    void open(const LightboxContent &content, QSize size = QSize(1400, 900))
    {
        m_lightbox = std::make_unique<LumivaneLightbox>(content, m_l10n);
        m_lightbox->onClose = [this] { ++m_closes; };
        m_lightbox->resize(size);
        m_lightbox->show();
    }

    QUrl writeImage(const QString &name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 60));
        const QString path = m_folder.filePath(name);
        EXPECT_TRUE(image.save(path));
        return QUrl::fromLocalFile(path);
    }

    QUrl writePdf(const QString &name, int pages)
    {
        const QString path = m_folder.filePath(name);
        QPdfWriter writer(path);
        QPainter painter(&writer);
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                writer.newPage();
            painter.drawText(QRect(0, 0, writer.width(), writer.height() / 4), Qt::AlignCenter,
                             QStringLiteral("Page %1").arg(page + 1));
        }
        return QUrl::fromLocalFile(path);
    }

    QUrl writeBytes(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QUrl::fromLocalFile(file.fileName());
    }

    template<typename View>
    View *media() const
    {
        return dynamic_cast<View *>(m_lightbox->mediaView());
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    QTemporaryDir m_folder;
    std::unique_ptr<LumivaneLightbox> m_lightbox;
    int m_closes = 0;
};
