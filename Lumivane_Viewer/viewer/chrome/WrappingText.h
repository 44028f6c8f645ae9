#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextLayout>
#include <QWidget>

#include <memory>
#include <vector>

/// The info card's content width: what its text blocks and rows ask for
/// when nothing narrower is offered.
constexpr int kInfoCardContentWidth = 484;

/// A block of plain text wrapped to the widget's width, at word boundaries
/// where it can and anywhere inside a word longer than a line; the author's
/// line breaks start new lines. Shows at most maxLength of a text (the info
/// card's title, description and text attachments have no length limit) and
/// lays it out in bounded pieces, once per width (layouts ask for the size
/// hint's width and the real one in turn: the last few are kept), so a long
/// text costs what the card can show and a repaint only what is exposed.
class WrappingText final : public QWidget
{
    Q_OBJECT

public:
    WrappingText(const QFont &font, const QColor &color, qsizetype maxLength, QWidget *parent = nullptr);

    void setText(const QString &text);
    /// The text as shown: cut, its control characters made spaces.
    QString text() const { return m_text; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    /// Some lines of one paragraph, laid out together.
    struct Piece
    {
        std::unique_ptr<QTextLayout> layout; // none for an empty line
        int lineCount = 1;
        double top = 0;
    };

    /// The text laid out at one width.
    struct Layout
    {
        int width = 0;
        std::vector<Piece> pieces;
        double height = 0;
    };

    /// The text laid out at width; kept until the text changes.
    const Layout &layoutFor(int width) const;
    void layOutParagraph(const QString &paragraph, Layout &layout) const;
    double lineHeight() const;

    QFont m_font;
    QColor m_color;
    qsizetype m_maxLength;
    QString m_text;
    mutable std::vector<Layout> m_layouts; // the most recently used first
};
