#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QWidget>

class QTextLayout;

/// A centred, wrapping title that shrinks to fit: at its full size while the
/// text takes at most `maxLines` lines, else at the largest size down to
/// `minimumScale` of it that does, else at that smallest size with the last
/// line cut short with an ellipsis. Whatever the text's length, each size
/// tried lays out only what its lines could hold, once per width.
class CoverTitleLabel final : public QWidget
{
public:
    CoverTitleLabel(QFont font, QColor color, int maxLines, double minimumScale, QWidget *parent = nullptr);

    void setText(const QString &text);
    /// The text as shown: on one line, cut, its control characters made spaces.
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
    struct Fit
    {
        QFont font;
        QStringList lines;
        double lineHeight = 0;
    };
    struct Wrap
    {
        QStringList lines; // one more than maxLines when the text goes on
        bool fits = false; // within maxLines, no word broken
        bool cut = false;  // text left over after the lines
    };
    Fit fitFor(int width) const;
    Wrap wrap(const QFont &font, int width) const;

    QString m_text;
    double m_oneLineWidth = 0; // at the full size, measured once per text
    QFont m_font;
    QColor m_color;
    int m_maxLines;
    double m_minimumScale;
    mutable int m_cachedWidth = -1;
    mutable Fit m_cachedFit;
};
