#pragma once

#include <QString>
#include <QUrl>

/// Owns the folder a package was extracted into: deletes it, with everything
/// in it, when destroyed, when another folder is moved in, or on remove().
/// Move-only, so exactly one owner deletes it; what reads the files gets the
/// folder's URL as a value and never deletes anything.
class LumivaneExtractionFolder final
{
public:
    /// Owns nothing.
    LumivaneExtractionFolder() = default;
    /// Takes over the existing folder at `path`.
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

private:
    QString m_path; // empty: owns nothing
};
