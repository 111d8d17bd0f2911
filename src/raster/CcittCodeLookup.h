// Direct lookup tables built at compile time from the fax code words: index
// by the next IndexBits bits of the stream and read off the value and length
// of the code that starts there (length 0: no code starts with those bits).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "raster/CcittCodes.h"

namespace veltrix {

struct CcittLookupEntry {
  std::int16_t value = 0;
  std::uint8_t length = 0;
};

template <int IndexBits>
struct CcittLookup {
  std::array<CcittLookupEntry, std::size_t{1} << IndexBits> entries{};
  bool wellFormed = true;  // every code fits its length and the index, and no code is a prefix of another
};

template <int IndexBits>
constexpr CcittLookup<IndexBits> MakeCcittLookup(std::span<const CcittCode> codes) {
  CcittLookup<IndexBits> lookup;
  for (const CcittCode& code : codes) {
    if (code.length < 1 || code.length > IndexBits || code.bits >> code.length != 0) {
      lookup.wellFormed = false;
      continue;
    }
    const int spare = IndexBits - code.length;
    const std::size_t first = std::size_t{code.bits} << spare;
    const std::size_t last = first + (std::size_t{1} << spare);
    for (std::size_t index = first; index < last; ++index) {
      if (lookup.entries[index].length != 0) lookup.wellFormed = false;  // two codes share these bits
      lookup.entries[index] = {code.value, code.length};
    }
  }
  return lookup;
}

// True when the codes name each run length 0 to 63 and each multiple of 64 up
// to 2560 exactly once: catches a mistyped value in the tables.
constexpr bool CoversEveryRunOnce(std::span<const CcittCode> codes) {
  constexpr int kLongestMakeUp = 2560;
  std::array<int, kCcittFirstMakeUp + kLongestMakeUp / 64> seen{};
  for (const CcittCode& code : codes) {
    const int value = code.value;
    int slot = -1;
    if (value >= 0 && value < kCcittFirstMakeUp) slot = value;
    if (value >= kCcittFirstMakeUp && value <= kLongestMakeUp && value % 64 == 0) slot = kCcittFirstMakeUp - 1 + value / 64;
    if (slot < 0) return false;
    ++seen[slot];
  }
  for (const int count : seen) {
    if (count != 1) return false;
  }
  return true;
}

// Mode codes are at most 7 bits.
inline constexpr int kCcittModeIndexBits = 7;
// The longest run code is 13 bits (black make-up codes 512 to 1728).
inline constexpr int kCcittRunIndexBits = 13;

inline constexpr auto kCcittModeLookup = MakeCcittLookup<kCcittModeIndexBits>(kCcittModeCodes);
inline constexpr auto kCcittWhiteLookup = MakeCcittLookup<kCcittRunIndexBits>(kCcittWhiteCodes);
inline constexpr auto kCcittBlackLookup = MakeCcittLookup<kCcittRunIndexBits>(kCcittBlackCodes);

static_assert(kCcittModeLookup.wellFormed);
static_assert(kCcittWhiteLookup.wellFormed);
static_assert(kCcittBlackLookup.wellFormed);
static_assert(CoversEveryRunOnce(kCcittWhiteCodes));
static_assert(CoversEveryRunOnce(kCcittBlackCodes));

}  // namespace veltrix
