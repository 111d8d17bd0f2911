// State of the PCL 5 decoder: the escape being parsed and the decoder's own
// fields. Most of it lives for one PCL stretch; the text parsing method, a
// pending lead byte carry over to the next (the page and the text line
// the listing has open are kept in the decode context and the page state).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "decode/core/OutputSink.h"
#include "pcl5/EscapeEntry.h"

namespace veltrix {

struct EscapeState {
  std::uint8_t paramChar = 0;   // & ( ) * % + or 0
  std::uint8_t groupChar = 0;   // lower-case group letter as received, or 0
  std::uint8_t terminator = 0;
  std::int16_t sign = 0;        // 0 none, -1 minus, +1 plus
  std::uint32_t value = 0;      // integer part (modulo 2^32); the byte count of data escapes
  std::uint32_t fraction = 0;
  std::uint32_t fractionScale = 0;  // 0 no point; 1 a point; x10 per fraction digit
  std::int32_t digitCount = 0;
  bool continuing = false;      // lower-case terminator: a combined escape goes on
  bool failed = false;          // marked failed by the grammar
  EscapeTableId walk = EscapeTableId::None;
};

// An invalid or unknown escape and how often it occurred.
struct UndocumentedEscape {
  std::string key;  // at most 31 characters
  std::uint32_t count = 0;
};

struct Pcl5State {
  // Reset at every entry of the decoder.
  std::int64_t transparentLeft = 0;
  bool dataConsumed = false;
  bool endOfInput = false;
  bool stopped = false;
  bool hpglActive = false;
  std::int32_t orientation = 0;
  std::uint8_t duplexMode = 0;
  std::uint8_t duplexSide = 0;
  std::array<std::uint32_t, 32> controlCounts{};
  std::vector<UndocumentedEscape> undocumentedEscapes;  // in order of first occurrence
  std::unordered_map<std::string, std::uint32_t> undocumentedIndex;  // key -> position in the list
  EscapeState esc;
  OutputSink* realListing = nullptr;  // the listing while a meaning goes to the null sink
  std::string lineBuffer;         // a meaning line with an invalid value, for the log (kept to reuse its storage)
  std::vector<std::uint8_t> dataBuffer;  // an escape's data being read (kept to reuse its storage)

  // Carried from one stretch to the next.
  std::uint32_t textMethod = 0;   // 0, 21, 31 or 38
  std::uint32_t leadByte = 0;
  bool leadPending = false;
};

// Clears what a new PCL stretch starts without.
void ResetPcl5Stretch(Pcl5State& state);

}  // namespace veltrix
