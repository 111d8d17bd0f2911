// Walking the whole PCL 5 escape tree, for the escape summary.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "pcl5/EscapeEntry.h"

namespace veltrix {

// One escape record met by the walk.
struct EscapeWalkItem {
  const EscapeEntry* entry = nullptr;
  std::size_t slot = 0;        // its count slot (EscapeSlot)
  std::string_view path = {};  // the keys from the root down to it, e.g. "&LA"; valid during the visit
};

// Visits the tree depth first in table order, a record's children before the
// record itself, and calls `visit` for every record that is an escape.
void WalkEscapeTree(const std::function<void(const EscapeWalkItem&)>& visit);

// The summary key of a key path: "&LA" gives "<ESC>&l#A", "(U" gives
// "<ESC>(#U", "E" gives "<ESC>E".
std::string EscapeSummaryKey(std::string_view path);

}  // namespace veltrix
