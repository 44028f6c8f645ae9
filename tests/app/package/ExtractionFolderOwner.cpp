// A viewer's part in a shared temporary folder, as a process of its own:
// makes an extraction folder in the folder named by its argument, owns it,
// prints its path and keeps it until its input closes.

#include "app/package/LumivaneExtractionFolder.h"
#include "app/package/LumivaneImportedTour.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    const QDir parent(QFile::decodeName(argv[1]));
    const QString name = LumivaneImportedTour::extractionFolderPrefix() + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!parent.mkpath(name + QStringLiteral("/photos")))
        return 1;
    const LumivaneExtractionFolder owner(parent.filePath(name));
    QFile partial(parent.filePath(name + QStringLiteral("/photos/partial.jpg")));
    if (!partial.open(QIODevice::WriteOnly) || partial.write(QByteArray(4096, 'p')) != 4096)
        return 1;
    partial.close();
    std::cout << QFile::encodeName(parent.filePath(name)).constData() << std::endl;
    for (std::string line; std::getline(std::cin, line);) {
    }
    return 0;
}
