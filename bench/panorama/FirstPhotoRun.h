#pragma once

#include <QString>

#include <optional>

/// A fresh process showing its first photo in a new view, as the application
/// does when it opens a tour, then switching to a second photo of the same
/// size. The benchmark starts the program again in this mode, so that the
/// times count from the process start and the memory figures are its own.
namespace FirstPhotoRun {

/// The option that selects this mode: `--first-photo FIRST SECOND`.
inline constexpr char option[] = "--first-photo";

/// Times in milliseconds, memory in MiB.
struct Figures
{
    double processToPreviewMs = 0;
    double processToFullMs = 0;
    double viewToPreviewMs = 0;
    double viewToFullMs = 0;
    double switchToPreviewMs = 0;
    double switchToFullMs = 0;
    double peakAfterFirstMiB = 0;
    double pssAfterFirstMiB = 0;
    double peakAfterSwitchMiB = 0;
    double pssAfterSwitchMiB = 0;
};

/// The child's side: runs the event loop of the application already made
/// and prints its figures on standard output.
int run(const QString &first, const QString &second);

/// Starts `program` in this mode and reads its figures; none when it failed.
std::optional<Figures> measure(const QString &program, const QString &first, const QString &second);

} // namespace FirstPhotoRun
