// The HP-GL/2 parser, fed byte by byte by the PCL 5 decoder while HP-GL/2 is
// active.
#pragma once

#include <cstdint>

namespace veltrix {

class ByteReader;
struct DecodeContext;
struct HpglState;
struct PageState;

// What the HP-GL/2 parser may touch.
struct HpglView {
  DecodeContext& ctx;
  HpglState& state;
  PageState& page;                  // drawing marks the page
  const std::uint32_t& textMethod;  // PCL's text parsing method, read when a label starts
};

void ResetHpgl(HpglState& state);                   // at every entry of the PCL 5 decoder
void EnterHpgl(const HpglView& run);                // ESC%#B
void LeaveHpgl(const HpglView& run);                // ESC%#A: finishes the instruction in progress
void FeedHpgl(const HpglView& run, std::uint8_t b);
// Feeds `first` and the bytes after it that the reader holds, up to the next
// ESC (which is left to be read), and consumes them.
void FeedHpglRun(const HpglView& run, std::uint8_t first, ByteReader& in);

}  // namespace veltrix
