#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextLayout>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

/// How a title keeps to a few lines: at its full size while the text takes
/// at most maxLines lines, else at the largest size down to minimumScale of
/// it that does, else at that smallest size with the last line cut short
/// with an ellipsis.
struct ShrinkToFit
{
    int maxLines = 1;
    double minimumScale = 1;
};

/// Plain text wrapped to the widget's width, at word boundaries where it can
/// and anywhere inside a word longer than a line. A block (the info card's
/// title, description and text attachments) is left-aligned, keeps the
/// author's line breaks and takes as many lines as its text needs; a title
/// (the cover's) is centred on one paragraph and shrinks to fit its lines.
/// Tour texts have no length limit: it shows at most a given length of one,
/// lays out only what its lines can hold, in bounded pieces, once per width
/// (layouts ask for the size hint's width and the real one in turn: the last
/// few are kept), so a long text costs what the view shows and a repaint
/// only what is exposed.
class WrappingText final : public QWidget
{
    Q_OBJECT

public:
    /// A block showing at most maxLength of a text; as wide as
    /// preferredWidth when nothing narrower is offered.
    WrappingText(const QFont &font, const QColor &color, qsizetype maxLength, int preferredWidth,
                 QWidget *parent = nullptr);
    /// A title showing at most a title's length of a text; as wide as the
    /// text on one line at its full size. The font is sized in pixels.
    WrappingText(const QFont &font, const QColor &color, ShrinkToFit shrink, QWidget *parent = nullptr);

    void setText(const QString &text);
    /// The text as shown: cut, its control characters made spaces (or, in
    /// a block, its line breaks one "\n").
    QString text() const { return m_text; }
    /// The pixel size the text is drawn at for the current width.
    int fittedPixelSize() const;

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
        qsizetype start = 0;                 // where its text starts in m_text
        int lineCount = 1;
        double top = 0;
    };

    /// The text laid out at one width.
    struct Layout
    {
        Layout() = default;
        // Moved, never copied: the kept layouts move as one is used again.
        Layout(Layout &&) noexcept = default;
        Layout &operator=(Layout &&) noexcept = default;

        int width = 0;
        QFont font;
        double lineHeight = 0;
        std::vector<Piece> pieces;
        int lineCount = 0;
        bool cut = false;           // text left over after the last line
        QString shortenedLastLine;  // drawn instead of the last line when cut
        double height() const { return lineCount * lineHeight; }
    };

    /// The text laid out at width; kept until the text changes.
    const Layout &layoutFor(int width) const;
    /// The text at font and width, in at most lineLimit lines (0: no limit).
    Layout layOut(const QFont &font, int width, int lineLimit) const;
    /// The title at the largest size that fits, or cut at the smallest.
    Layout fitTitle(int width) const;
    void layOutParagraph(qsizetype start, qsizetype end, Layout &into, int lineLimit) const;
    bool breaksInsideWord(const Layout &layout) const;
    void keepLines(Layout &layout, int lineCount) const;

    QFont m_font;
    QColor m_color;
    qsizetype m_maxLength;
    int m_preferredWidth = 0;
    std::optional<ShrinkToFit> m_shrink;
    QString m_text;
    double m_oneLineWidth = 0; // a title's, at its full size, measured once per text
    mutable std::vector<Layout> m_layouts; // the most recently used first
};
