#include "ModalSheet.h"

#include "NavigationStyle.h"
#include "RoundedPanel.h"
#include "widgets/SymbolButton.h"
#include "widgets/ViewerDialog.h"
#include "model/SystemFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QMouseEvent>
#include <QPainter>

ModalSheet::ModalSheet(Look look, QWidget *parent)
    : QWidget(parent)
    , m_look(std::move(look))
    , m_panel(new RoundedPanel(m_look.panel, m_look.cornerRadius, this))
{
    // Clicks on the panel, wherever its children leave them, stay there.
    m_panel->setAttribute(Qt::WA_NoMousePropagation);
    // It covers the whole viewer: Tab stays inside.
    presentAsDialog(*this, DialogFocus::contained);
}

ModalSheet::TitleRow ModalSheet::buildTitleRow(QWidget *parent, double titlePoints)
{
    const QFont titleFont = tracked(systemFont(titlePoints, QFont::Normal, FontDesign::serif, true), -0.3);
    TitleRow row{new QHBoxLayout, makeLabel(titleFont, Qt::white, parent),
                 makeLabel(systemFont(12), withAlpha(Qt::white, 0.55), parent), new SymbolButton(sheetCloseButtonLook(), parent)};
    connect(row.closeButton, &SymbolButton::clicked, this, [this] {
        if (onClose)
            onClose();
    });
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(row.title);
    titles->addWidget(row.subtitle);
    row.layout->addLayout(titles);
    row.layout->addStretch();
    row.layout->addWidget(row.closeButton);
    return row;
}

QVBoxLayout *ModalSheet::layOutPanel(QWidget *header)
{
    auto *column = new QVBoxLayout(m_panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header);
    auto *divider = new RoundedPanel(withAlpha(Qt::white, 0.1), 0, m_panel);
    divider->setFixedHeight(1);
    column->addWidget(divider);
    return column;
}

QRect ModalSheet::panelGeometry() const
{
    return m_panel->geometry();
}

void ModalSheet::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_look.backdrop);
    if (m_look.shadow)
        paintRoundedRectShadow(painter, QRectF(m_panel->geometry()), m_look.cornerRadius, *m_look.shadow);
}

void ModalSheet::resizeEvent(QResizeEvent *)
{
    m_panel->setGeometry(panelRect(size()));
}

void ModalSheet::mousePressEvent(QMouseEvent *event)
{
    m_backdropPressed = event->button() == Qt::LeftButton;
}

void ModalSheet::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release on the backdrop; the owner may
    // delete the sheet in onClose, so nothing follows the call.
    if (std::exchange(m_backdropPressed, false) && event->button() == Qt::LeftButton
        && !m_panel->geometry().contains(event->position().toPoint()) && onClose)
        onClose();
}
