#pragma once

#include <QAbstractButton>
#include <QString>

/// One of the cover's contact links: a symbol and the field's text as the
/// author typed it (made for display by its owner), on one line, in white
/// 0.78, the whole row clickable, with the pointing-hand cursor over it,
/// reached with Tab and underlined while it shows the focus; a text longer
/// than the row's room is elided. What a click opens is the owner's business.
class CoverLinkButton final : public QAbstractButton
{
public:
    CoverLinkButton(QString symbol, const QString &text, QWidget *parent = nullptr);

    QString symbol() const { return m_symbol; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
};
