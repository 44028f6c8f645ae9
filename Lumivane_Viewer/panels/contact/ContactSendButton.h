#pragma once

#include <QAbstractButton>
#include <QTimer>

/// The contact form's full-width send capsule: a paper plane and the send
/// text, or a turning spinner and the loading text while a send runs; gold
/// while the form may be sent, gray otherwise. Texts are the owner's.
class ContactSendButton final : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ContactSendButton(QWidget *parent = nullptr);

    /// Shows the spinner instead of the paper plane and keeps it turning.
    void setBusy(bool busy);
    bool isBusy() const { return m_busy; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void paintSpinner(QPainter &painter, QPointF centre) const;

    bool m_busy = false;
    QTimer m_spin;
    int m_leadingSpoke = 0;
};
