#include "decode/trackers/TwoByteTracker.h"

#include <algorithm>

namespace veltrix {

namespace {
// Codes are a lead and a trail byte, so a bitmap of 8 KiB answers almost all;
// anything wider goes to the set.
constexpr std::uint32_t kShortCodes = 0x10000;
}  // namespace

void ResetTwoByte(TwoByteTracker& twoByte, bool tracking) {
  ReleaseTwoByte(twoByte);
  twoByte.tracking = tracking;
  if (tracking) twoByte.seenShort.assign(kShortCodes / 64, 0);
}

void CountTwoByteCode(TwoByteTracker& twoByte, std::uint32_t code) {
  if (!twoByte.tracking) return;
  if (code < kShortCodes) {
    std::uint64_t& word = twoByte.seenShort[code / 64];
    const std::uint64_t bit = std::uint64_t{1} << (code % 64);
    if ((word & bit) != 0) return;
    word |= bit;
  } else if (!twoByte.seenWide.insert(code).second) {
    return;
  }
  twoByte.codes.push_back(code);
}

void WriteTwoByteSummary(const TwoByteTracker& twoByte, OutputSink& out) {
  if (!twoByte.tracking) return;
  out.Printf("\n===================================================\n\n    2 Byte Char Summary %s\n\n",
             twoByte.codes.empty() ? ": No 2 Byte chars referenced" : "");
  if (twoByte.codes.empty()) return;
  std::vector<std::uint32_t> ascending = twoByte.codes;
  std::ranges::sort(ascending);
  for (const std::uint32_t code : ascending) out.Printf("    0x%04X\n", code);
  out.Printf("\n    Total unique 2 byte values = %zu\n", ascending.size());
}

void ReleaseTwoByte(TwoByteTracker& twoByte) {
  twoByte.tracking = false;
  std::vector<std::uint32_t>().swap(twoByte.codes);
  std::vector<std::uint64_t>().swap(twoByte.seenShort);
  std::unordered_set<std::uint32_t>().swap(twoByte.seenWide);
}

}  // namespace veltrix
