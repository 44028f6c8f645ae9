#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextLayout>
#include <QWidget>

#include <memory>

/// The info card's content width: what its text blocks and rows ask for
/// when nothing narrower is offered.
constexpr int kInfoCardContentWidth = 484;

/// A block of plain text wrapped to the widget's width, at word boundaries
/// where it can and anywhere inside a word longer than a line, never cut:
/// the info card's title, description and text attachments. The layout is
/// made once per width, so a very long text costs once, not per repaint.
class WrappingText final : public QWidget
{
    Q_OBJECT

public:
    WrappingText(const QFont &font, const QColor &color, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    /// The text laid out at width; kept until the text or the width changes.
    const QTextLayout &layoutFor(int width) const;

    QFont m_font;
    QColor m_color;
    QString m_text;
    mutable std::unique_ptr<QTextLayout> m_layout;
    mutable int m_layoutWidth = -1;
};
