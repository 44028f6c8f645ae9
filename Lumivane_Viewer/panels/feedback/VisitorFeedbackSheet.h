#pragma once

#include "FeedbackRules.h"

#include "widgets/ModalFrame.h"

#include <QList>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <optional>

class CapsuleButton;
class CardThanksView;
class L10n;
class QAbstractButton;
class QLabel;
class QPlainTextEdit;
class QVariantAnimation;
class SymbolButton;

/// The visitor feedback card: thumbs up or down, an optional comment once a
/// rating is chosen, and a mail draft of both to the tour's author. In the
/// dark colours when the application's palette is dark, else the light ones,
/// as they are when it is built. It sends nothing itself and keeps nothing:
/// the owner builds one per showing with an address from
/// feedbackRecipient() and destroys it after onClose.
/// Ctrl+Return sends while the card has the focus; Escape is the owner's,
/// who calls later() and closes the thanks view itself.
class VisitorFeedbackSheet final : public ModalFrame
{
public:
    VisitorFeedbackSheet(QString projectName, QString recipientEmail, L10n &l10n,
                         std::function<bool(const QUrl &)> openExternal, QWidget *parent = nullptr);

    /// The "later" button: closes the card from the rating view and returns
    /// true. The thanks view has no such button: nothing happens, false.
    bool later();
    /// Chooses a rating; there is no way back to none.
    void setRating(Rating rating);
    /// With a rating: hands the mail draft to the desktop and shows the
    /// thanks view. An address that cannot make a draft shows an error
    /// instead. Without a rating: nothing.
    void sendFeedbackMail();

    std::optional<Rating> rating() const { return m_rating; }
    QString comment() const;
    bool isSent() const { return m_sent; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct RatingChoice
    {
        Rating rating;
        QString symbol;
        QColor color;
        SymbolButton *button = nullptr;
        QVariantAnimation *scale = nullptr;
    };

    QWidget *buildRatingView();
    QWidget *buildHeader(QWidget *parent);
    QWidget *buildRatingRow(QWidget *parent);
    QWidget *buildCommentSection(QWidget *parent);
    QWidget *buildFooter(QWidget *parent);
    void applyChoiceLook(const RatingChoice &choice, double scale);
    void revealCommentSection();
    void showThanks();
    void refreshSendButton();
    void retranslate();

    QString m_projectName;
    QString m_recipientEmail;
    QPointer<L10n> m_l10n;
    std::function<bool(const QUrl &)> m_openExternal;
    std::optional<Rating> m_rating;
    bool m_sent = false;

    QWidget *m_ratingView = nullptr;
    CardThanksView *m_thanks = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_question = nullptr;
    QList<RatingChoice> m_choices;
    QWidget *m_commentSection = nullptr;
    QLabel *m_commentCaption = nullptr;
    QPlainTextEdit *m_comment = nullptr;
    QLabel *m_error = nullptr;
    QAbstractButton *m_later = nullptr;
    CapsuleButton *m_send = nullptr;
};
