#include "OpenRequest.h"

#include <QDir>
#include <QRegularExpression>

namespace OpenRequest {

QUrl urlFromArgument(const QString &argument, const QString &workingFolder)
{
    // "file:///…", "http://…": a scheme of two or more letters, so that a
    // drive-letter path such as "C:/x" is not mistaken for one.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(argument).hasMatch())
        return QUrl(argument);
    return QUrl::fromLocalFile(QDir::cleanPath(QDir(workingFolder).absoluteFilePath(argument)));
}

} // namespace OpenRequest
