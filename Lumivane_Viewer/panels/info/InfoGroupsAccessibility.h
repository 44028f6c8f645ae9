#pragma once

/// Registers, once per process, how assistive technology reads the
/// information panel's painted body: a heading per group, then one line per
/// row named by its label and its value together (its value also alone), or
/// the one empty-state text. GUI thread.
void installInfoGroupsAccessibility();
