#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class SymbolButton;

/// The lightbox card's header: its title on one line, cut with an ellipsis
/// when too long, and the round close button.
class LightboxHeader final : public QWidget
{
public:
    explicit LightboxHeader(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    /// The title as shown: on one line, cut, its control characters made spaces.
    QString title() const { return m_title; }
    void setCloseLabel(const QString &accessibleName);

    std::function<void()> onClose;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect titleRect() const;

    QString m_title;
    SymbolButton *m_close = nullptr;
};
