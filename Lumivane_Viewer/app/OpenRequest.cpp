#include "OpenRequest.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace OpenRequest {

QUrl urlFromArgument(const QString &argument, const QString &workingFolder)
{
    // "file:///…", "http://…": a scheme of two or more letters, so that a
    // drive-letter path such as "C:/x" is not mistaken for one.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    const QString path = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(argument));
    // A file named like "Visite:2024.lumivane" is that file, not a URL.
    if (scheme.match(argument).hasMatch() && !QFileInfo::exists(path))
        return QUrl(argument);
    return QUrl::fromLocalFile(path);
}

} // namespace OpenRequest
