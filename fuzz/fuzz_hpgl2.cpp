// Feeds arbitrary bytes through the HP-GL/2 parser. The first byte picks the
// PCL text parsing method in force, so that two-byte labels are reached. An
// ESC in the data runs the leave and enter steps of ESC%#A ESC%#B first, so
// that leaving is tried in every state of the parser.
#include <array>
#include <cstddef>
#include <cstdint>

#include "decode/RunState.h"
#include "decode/core/OutputSink.h"
#include "hpgl2/HpglParser.h"

namespace {
constexpr std::array<std::uint32_t, 4> kTextMethods = {0, 21, 31, 38};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  veltrix::OutputSink listing;  // formats every line, keeps none
  veltrix::RunState run;        // fresh per input: nothing carries over
  run.ctx.listing = &listing;
  if (size > 0) {
    run.pcl.textMethod = kTextMethods[data[0] % kTextMethods.size()];
    ++data;
    --size;
  }
  veltrix::ResetHpgl(run.hpgl);
  veltrix::EnterHpgl(HpglViewOf(run));
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 27) {
      veltrix::LeaveHpgl(HpglViewOf(run));
      veltrix::EnterHpgl(HpglViewOf(run));
    }
    veltrix::FeedHpgl(HpglViewOf(run), data[i]);
  }
  veltrix::LeaveHpgl(HpglViewOf(run));
  return 0;
}
