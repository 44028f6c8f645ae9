#pragma once

/// What the kernel counts of this process's memory, in MiB: the peak resident
/// set (VmHWM) and the proportional set size summed over every mapping (Pss
/// of smaps_rollup), which shares pages mapped by several processes fairly.
namespace ProcessMemory {

double peakResidentMiB();
double residentMiB();
/// Starts the peak resident set over from what the process holds now, so
/// that a step's peak is measured on its own.
void resetPeakResident();
double proportionalMiB();

} // namespace ProcessMemory
