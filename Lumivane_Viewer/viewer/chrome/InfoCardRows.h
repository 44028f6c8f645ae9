#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class SymbolButton;
class WrappingText;

/// The info card's content width: what its text blocks and rows ask for
/// when nothing narrower is offered.
constexpr int kInfoCardContentWidth = 484;

// The attachment rows of the hotspot info card, one kind of row per class.
// Each reports its press through a callback; none knows the attachment's
// rules (which files may open, which links are links): the card's owner does.

/// A row's text of at most two lines between its icon tile and a trailing
/// item, wrapped once per row width.
class RowText
{
public:
    RowText(const QString &text, double trailingWidth);

    const QString &text() const { return m_text; }
    const QStringList &lines(int rowWidth) const;
    /// The row's height at a width: padding around the tallest of tile,
    /// text and trailing item.
    int rowHeight(int rowWidth, double trailingHeight) const;

private:
    QString m_text;
    double m_trailingWidth;
    mutable QStringList m_lines; // wrapped for m_rowWidth
    mutable int m_rowWidth = -1;
};

/// A whole-row button: an icon tile in the tour's accent, a text of at most
/// two lines and an arrow. For documents, videos, links and images that
/// cannot be shown. Reached with Tab and ringed while it shows the focus.
class AttachmentButtonRow final : public QAbstractButton
{
    Q_OBJECT

public:
    AttachmentButtonRow(const QString &symbol, const QString &text, const QColor &accent, QWidget *parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    QColor m_accent;
    RowText m_text;
};

/// A sound: an icon tile, the title and a play button, which alone is
/// clickable and reports through onPlay.
class SoundAttachmentRow final : public QWidget
{
    Q_OBJECT

public:
    SoundAttachmentRow(const QString &text, const QString &playAccessibleName, QWidget *parent = nullptr);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

    std::function<void()> onPlay;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    SymbolButton *m_play;
    RowText m_text;
};

/// A text attachment shown in full: a small header with the title, then
/// the text itself, wrapped and never cut.
class TextAttachmentBlock final : public QWidget
{
    Q_OBJECT

public:
    TextAttachmentBlock(const QString &title, const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

/// A wrapping text of the card in a font and colour, showing at most
/// maxLength of the text (a DisplayLength).
WrappingText *cardText(const QString &text, qsizetype maxLength, const QFont &font, const QColor &color,
                       QWidget *parent);

/// Paints the rounded, faintly lighter ground every attachment row stands on.
void paintAttachmentRowGround(QPainter &painter, const QRectF &rect);
