#include "pcl5/EscapeTreeWalk.h"

namespace veltrix {
namespace {

void WalkTable(EscapeTableId id, std::string& path, const std::function<void(const EscapeWalkItem&)>& visit) {
  const std::span<const EscapeEntry> table = EscapeTable(id);
  for (std::size_t i = 0; i < table.size(); ++i) {
    const EscapeEntry& entry = table[i];
    path.push_back(entry.key);
    // The tree's shape is fixed and each table has one parent, so this ends.
    if (entry.children != EscapeTableId::None) WalkTable(entry.children, path, visit);
    if (entry.isEscape) visit({&entry, EscapeSlot(id, i), path});
    path.pop_back();
  }
}

}  // namespace

void WalkEscapeTree(const std::function<void(const EscapeWalkItem&)>& visit) {
  std::string path;
  WalkTable(EscapeTableId::Root, path, visit);
}

std::string EscapeSummaryKey(std::string_view path) {
  std::string key = "<ESC>";
  for (std::size_t i = 0; i < path.size(); ++i) {
    char c = path[i];
    const bool last = i + 1 == path.size();
    if (!last && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');  // group letters as written
    if (last && i > 0) key.push_back('#');  // where the value field goes
    key.push_back(c);
  }
  return key;
}

}  // namespace veltrix
