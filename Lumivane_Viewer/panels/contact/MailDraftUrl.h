#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>

// E-mail drafts handed to the desktop as mailto: links (RFC 6068). Every
// part is encoded on its own, so that no text typed by a visitor or stored by
// an author can add a header (cc, bcc, attach...) or cut a value short.

/// A header value or address encoded for a mailto: link: ASCII letters,
/// digits and "-._~!$'()*+,;:@" stay, every other byte of the UTF-8 text is
/// percent-encoded ("&", "=", "/", "?", "#", "%", spaces and line breaks too).
QByteArray mailtoEncoded(const QString &text);

/// Whether an address can stand as a draft's recipient: not empty and free
/// of white space, control characters and the URL delimiters "?", "&", "#".
bool isUsableMailRecipient(QStringView address);

/// "mailto:" + recipient + "?subject=" + subject + "&body=" + body, each part
/// encoded; none when the recipient is unusable.
std::optional<QUrl> mailDraftUrl(const QString &recipient, const QString &subject, const QString &body);
