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
/// line cut short with an ellipsis.
class CoverTitleLabel final : public QWidget
{
public:
    CoverTitleLabel(QFont font, QColor color, int maxLines, double minimumScale, QWidget *parent = nullptr);

    void setText(const QString &text);
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
    Fit fitFor(int width) const;
    QStringList wrappedLines(const QFont &font, int width, bool *fits) const;

    QString m_text;
    QFont m_font;
    QColor m_color;
    int m_maxLines;
    double m_minimumScale;
    mutable int m_cachedWidth = -1;
    mutable Fit m_cachedFit;
};
