#include "LightboxPdfView.h"

#include "widgets/KeyboardFocus.h"

#include <QPdfDocument>
#include <QPdfView>
#include <QVBoxLayout>

namespace {

constexpr int pdfPadding = 8;

} // namespace

LightboxPdfView::LightboxPdfView(const QUrl &url, QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_view = new QPdfView(this);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setPageMode(QPdfView::PageMode::MultiPage);
    m_view->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    QPalette palette = m_view->palette();
    for (QPalette::ColorRole role : {QPalette::Dark, QPalette::Window, QPalette::Base})
        palette.setColor(role, Qt::black);
    m_view->setPalette(palette);
    m_view->viewport()->setPalette(palette);
    KeyboardFocus::makeReachable(*m_view);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(pdfPadding, pdfPadding, pdfPadding, pdfPadding);
    layout->addWidget(m_view);
    setUrl(url);
}

void LightboxPdfView::setUrl(const QUrl &url)
{
    if (m_document && url == m_url)
        return;
    m_url = url;
    auto *document = new QPdfDocument(this);
    // Opening a failing file leaves the document empty, and the view with it.
    document->load(url.toLocalFile());
    m_view->setDocument(document);
    if (m_document)
        m_document->deleteLater();
    m_document = document;
}
