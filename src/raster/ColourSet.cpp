#include "raster/ColourSet.h"

#include <algorithm>

namespace veltrix {

namespace {

constexpr std::size_t kColourKeys = std::size_t{1} << 24;
constexpr std::size_t kSetWords = kColourKeys / 64;

void AddColourKey(ColourSet& set, std::uint32_t key) {
  std::uint64_t& word = set.seen[key >> 6];
  const std::uint64_t bit = std::uint64_t{1} << (key & 63);
  set.colourCount += (word & bit) == 0;
  word |= bit;
}

}  // namespace

void AddRowColours(ColourSet& set, const std::uint8_t* row, std::size_t size, std::size_t nonZeroEnd) {
  const std::size_t groups = size / 3;
  if (groups == 0) return;
  if (set.seen.empty()) set.seen.assign(kSetWords, 0);
  const std::size_t liveGroups = std::min(groups, (nonZeroEnd + 2) / 3);
  for (std::size_t g = 0; g < liveGroups; ++g) {
    const std::uint8_t* rgb = row + 3 * g;
    AddColourKey(set, static_cast<std::uint32_t>(rgb[0] | rgb[1] << 8 | rgb[2] << 16));
  }
  if (liveGroups < groups) AddColourKey(set, 0);
}

void ReleaseColourSet(ColourSet& set) {
  std::vector<std::uint64_t>().swap(set.seen);
  set.colourCount = 0;
}

}  // namespace veltrix
