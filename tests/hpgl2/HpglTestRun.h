// A run state whose listing goes to a string, with HP-GL/2 entered, for the
// HP-GL/2 parser tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "decode/RunState.h"
#include "decode/core/OutputSink.h"
#include "hpgl2/HpglParser.h"

namespace veltrix::test {

inline constexpr std::string_view kHpglPrefix = "[ HPGL ]              ";

// One listing line of the parser; `open` leaves it waiting for whatever ends its instruction.
inline std::string HpglLine(std::string_view body, bool open = false) {
  return std::string(kHpglPrefix).append(body).append(open ? "" : "\n");
}

struct HpglTestRun {
  std::string text;
  OutputSink sink{&text};
  RunState run;

  explicit HpglTestRun(std::uint32_t textMethod = 0) {
    run.ctx.listing = &sink;
    run.pcl.textMethod = textMethod;
    ResetHpgl(run.hpgl);
    EnterHpgl(HpglViewOf(run));
  }
  void Feed(std::string_view bytes) {
    for (const char c : bytes) FeedHpgl(HpglViewOf(run), static_cast<std::uint8_t>(c));
  }
  const std::string& Listing() {
    sink.Flush();
    return text;
  }
};

}  // namespace veltrix::test
