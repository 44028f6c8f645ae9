#pragma once

#include <QString>
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

/// A blank mail draft to one address, built from components with the address
/// as the percent-encoded path. None when the address is empty or holds "?",
/// "&", "#", white space or a control character, any of which could add
/// headers, recipients or arguments to the draft.
std::optional<QUrl> mailtoURL(const QString &address);

/// A "tel:" URL of the numeric characters (every Unicode digit or number)
/// and "+" signs of a phone text, in their order; "tel:" alone when there are
/// none. Everything else (spaces, dots, brackets, letters) is dropped.
QUrl telephoneURL(const QString &text);
