#pragma once

#include <QString>
#include <QWidget>

/// One fact of the cover's facts line: a short text in white 0.85 on a white
/// 0.1 capsule, never wider than a third of the widest column.
class CoverFactChip final : public QWidget
{
public:
    /// Between the chips of the facts line.
    static constexpr int spacing = 8;

    explicit CoverFactChip(QWidget *parent = nullptr);

    /// Shows text, cut with "…" where the chip would be too wide; the whole
    /// text is the chip's accessible name.
    void setText(const QString &text);
    /// The text as shown.
    QString text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
