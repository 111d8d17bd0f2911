// Two-byte character tracker: the distinct codes printed under a two-byte text
// parsing method, for the two-byte summary.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "decode/core/OutputSink.h"

namespace veltrix {

struct TwoByteTracker {
  bool tracking = false;
  std::vector<std::uint32_t> codes;      // distinct, in order of first appearance
  std::vector<std::uint64_t> seenShort;  // one bit per code below 0x10000
  std::unordered_set<std::uint32_t> seenWide;  // codes of 0x10000 and above
};

void ResetTwoByte(TwoByteTracker& twoByte, bool tracking);
// code = first byte * 256 + second byte.
void CountTwoByteCode(TwoByteTracker& twoByte, std::uint32_t code);
void WriteTwoByteSummary(const TwoByteTracker& twoByte, OutputSink& out);
void ReleaseTwoByte(TwoByteTracker& twoByte);

}  // namespace veltrix
