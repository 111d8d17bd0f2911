// Value formatters: each writes the rest of an escape's listing line after
// its header and passes the value on to whatever tracks it.
#pragma once

#include <array>
#include <cstddef>

#include "pcl5/EscapeEntry.h"

namespace veltrix {

struct Pcl5View;

using EscapeFormatter = void (*)(const Pcl5View& run, const EscapeEntry& entry);

inline constexpr std::size_t kEscapeFormatCount = static_cast<std::size_t>(EscapeFormat::RasterYOffset) + 1;

// The formatter of each kind, by EscapeFormat; constant.
extern const std::array<EscapeFormatter, kEscapeFormatCount> kEscapeFormatters;

// The formatter of a kind, or nullptr: the description is then a template.
inline EscapeFormatter FindEscapeFormatter(EscapeFormat format) {
  const auto index = static_cast<std::size_t>(format);
  return index < kEscapeFormatters.size() ? kEscapeFormatters[index] : nullptr;
}

}  // namespace veltrix
