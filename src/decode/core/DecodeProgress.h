// How far a run has got, for a front end that watches it from another
// thread (a progress line on the terminal, the web page's progress bar).
// The reader stores its offset at each refill of its buffer; nothing here
// slows the byte loop.
#pragma once

#include <atomic>
#include <cstdint>

namespace veltrix {

struct DecodeProgress {
  std::atomic<std::uint64_t> bytesRead{0};   // offset reached in the current file
  std::atomic<std::uint64_t> fileSize{0};    // 0 when not known (a pipe)
  std::atomic<std::uint32_t> fileNumber{0};  // 1 for the first file of the run
  std::atomic<std::uint32_t> fileCount{0};
};

}  // namespace veltrix
