// PCL XL usage counters, kept across all PCL XL stretches of one file.
#pragma once

#include <array>
#include <cstdint>

namespace veltrix {

struct XlUsageCounters {
  std::array<std::uint32_t, 256> tagCounts{};
  std::uint64_t tagTotal = 0;
  std::array<std::uint32_t, 256> attributeCounts{};
  std::uint64_t attributeTotal = 0;
};

}  // namespace veltrix
