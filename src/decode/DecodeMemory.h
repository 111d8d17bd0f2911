// Decodes one job held in memory: the same personality loop and summaries as
// a file run, with the listing and the error log kept as strings. For tests,
// fuzz targets and the web page.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace veltrix {

struct MemoryDecodeResult {
  std::string listing;   // without the report header
  std::string errorLog;  // what the error log would hold
  std::uint64_t exceptionCount = 0;
  bool aborted = false;
};

// `flags` are request bits; the driver's adjustments are applied.
MemoryDecodeResult DecodeMemory(std::span<const std::uint8_t> job, std::uint32_t flags, std::int32_t level = 4);

}  // namespace veltrix
