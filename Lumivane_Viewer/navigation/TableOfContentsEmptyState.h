#pragma once

#include <QString>
#include <QWidget>

class QLabel;

/// What the table of contents shows instead of cards: a large symbol over
/// a short centred text, in the middle of the space it is given.
class TableOfContentsEmptyState final : public QWidget
{
public:
    explicit TableOfContentsEmptyState(QWidget *parent);

    /// "photo.on.rectangle.angled" for a tour without stations, else the
    /// magnifying glass of a search that found nothing.
    void setContent(bool searching, const QString &text);
    QString text() const;
    QString symbol() const { return m_symbol; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refreshSymbol();

    QString m_symbol;
    QLabel *m_symbolLabel;
    QLabel *m_textLabel;
};
