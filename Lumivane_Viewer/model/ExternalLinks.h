#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

// Links built from texts a tour's author typed, checked before anything is
// handed to the desktop: a crafted text must not become a command, a local
// file or a mail draft with extra headers.

/// The web page an author's text names: the text itself when, lower-cased,
/// it begins with "http", else "https://" followed by the text (its letter
/// case kept). Opened only when that parses strictly as an absolute http or
/// https URL with a host; otherwise none.
std::optional<QUrl> webLinkURL(const QString &text);

/// Whether an address can stand as a mail draft's recipient: not empty and
/// free of white space, control and format characters and of "?", "&", "#",
/// any of which could add headers, recipients or arguments to the draft;
/// and no longer than a few addresses.
bool isUsableMailRecipient(QStringView address);

/// A blank mail draft to one address, built from components with the address
/// as the percent-encoded path; none when the address is unusable.
std::optional<QUrl> mailtoURL(const QString &address);

/// A header value or address encoded for a mailto: link (RFC 6068): ASCII
/// letters, digits and "-._~!$'()*+,;:@" stay, every other byte of the UTF-8
/// text is percent-encoded ("&", "=", "/", "?", "#", "%", spaces and line
/// breaks too), so that no typed text can add a header or cut a value short.
QByteArray mailtoEncoded(const QString &text);

/// A text fit for a mail header: every line break and other control
/// character (C0, DEL, C1, line and paragraph separators) becomes a space, so
/// a mail program cannot read it as more than one header.
QString mailHeaderText(QString text);

/// A text a mail program shows on one line (a subject, a field's label in a
/// body): a mail header text cut as a displayed text to 200 code units and
/// "…". Uncut, a tour text of any length made a draft URL of megabytes that
/// the desktop refused to open.
QString mailLineText(const QString &text);

/// "mailto:" + recipient + "?subject=" + subject + "&body=" + body, each part
/// encoded on its own, the subject as a mailLineText (the body keeps its line
/// breaks); none when the recipient is unusable.
std::optional<QUrl> mailDraftUrl(const QString &recipient, const QString &subject, const QString &body);

/// A "tel:" URL of the numeric characters (every Unicode digit or number)
/// and "+" signs of a phone text, in their order; "tel:" alone when there are
/// none. Everything else (spaces, dots, brackets, letters) is dropped.
QUrl telephoneURL(const QString &text);
