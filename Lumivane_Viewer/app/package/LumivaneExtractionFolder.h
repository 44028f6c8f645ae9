#pragma once

#include <QString>
#include <QUrl>

/// Owns the folder a package was extracted into: deletes it, with everything
/// in it, when destroyed, when another folder is moved in, or on remove().
/// Move-only, so exactly one owner deletes it; what reads the files gets the
/// folder's URL as a value and never deletes anything. While owned, a lock
/// file inside the folder is held locked, so that another viewer sharing the
/// temporary folder can tell a live owner's folder from one left behind by a
/// killed process or a power cut (the system drops the lock with its holder).
class LumivaneExtractionFolder final
{
public:
    /// Owns nothing.
    LumivaneExtractionFolder() = default;
    /// Takes over the existing folder at `path` and locks its lock file.
    explicit LumivaneExtractionFolder(QString path);
    ~LumivaneExtractionFolder();

    LumivaneExtractionFolder(LumivaneExtractionFolder &&other) noexcept;
    LumivaneExtractionFolder &operator=(LumivaneExtractionFolder &&other) noexcept;
    LumivaneExtractionFolder(const LumivaneExtractionFolder &) = delete;
    LumivaneExtractionFolder &operator=(const LumivaneExtractionFolder &) = delete;

    /// Deletes the folder now; failures are ignored. Afterwards it owns nothing.
    void remove();

    /// The folder as a directory URL (ending in "/"); empty when none is owned.
    QUrl url() const;

    /// The name of the lock file inside each owned folder.
    static QString lockFileName() { return QStringLiteral(".lumivane-viewer-owner.lock"); }

    /// Deletes the folders in `parent` whose names begin with `prefix`
    /// (letter case counting), that belong to this user and whose lock file
    /// no process holds any more. A folder with a live owner, or without a
    /// lock file (whose owner cannot be told), stays; links are never
    /// followed, even when one takes a folder's place meanwhile. Blocking;
    /// safe on any thread. Returns how many went.
    static int removeAbandoned(const QString &parent, const QString &prefix);

private:
    QString m_path; // empty: owns nothing
    int m_lock = -1; // descriptor holding the lock file's lock, -1 when none could be taken
};
