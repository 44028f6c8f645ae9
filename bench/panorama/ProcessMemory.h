#pragma once

/// What the kernel counts of this process's memory, in MiB: the peak resident
/// set (VmHWM) and the proportional set size summed over every mapping (Pss
/// of smaps_rollup), which shares pages mapped by several processes fairly.
namespace ProcessMemory {

double peakResidentMiB();
double proportionalMiB();

} // namespace ProcessMemory
