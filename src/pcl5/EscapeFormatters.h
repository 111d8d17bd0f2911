// Value formatters: each writes the rest of an escape's listing line after
// its header and passes the value on to whatever tracks it.
#pragma once

#include "pcl5/EscapeEntry.h"

namespace veltrix {

struct Pcl5View;

using EscapeFormatter = void (*)(const Pcl5View& run, const EscapeEntry& entry);

// The formatter of a kind, or nullptr: the description is then a template.
EscapeFormatter FindEscapeFormatter(EscapeFormat format);

}  // namespace veltrix
