#pragma once

#include <QPdfDocument>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QPdfView;

/// A PDF attachment on black, its pages fitted to the width and scrolled
/// continuously, 8 px in from the edges; the pages take the focus from Tab
/// while they overflow and are ringed then (KeyboardFocus). The document is
/// replaced only when the URL changes, so showing the same file again keeps
/// the reading position. A file that does not open leaves the view empty.
class LightboxPdfView final : public QWidget
{
public:
    explicit LightboxPdfView(const QUrl &url, QWidget *parent = nullptr);

    void setUrl(const QUrl &url);
    QPdfDocument *document() const { return m_document; }
    QPdfView *pdfView() const { return m_view; }

private:
    QPdfView *m_view = nullptr;
    QPointer<QPdfDocument> m_document;
    QUrl m_url;
};
