// The escape grammar: a state machine over the bytes of one escape.
#pragma once

#include "decode/core/ByteReader.h"
#include "pcl5/Pcl5State.h"

namespace veltrix {

enum class EscapeParse {
  Failed,   // malformed: listed as an Invalid escape
  NoEntry,  // well formed, but the tree has no record: an Unknown escape
  Found,    // `hit` holds the record
};

// Parses a fresh escape; the ESC has been read.
EscapeParse ParseEscape(ByteReader& in, EscapeState& esc, EscapeHit& hit);

// Continues a combined escape with `b`, a byte read while `continuing` was set.
EscapeParse ContinueEscape(ByteReader& in, EscapeState& esc, EscapeHit& hit, int b);

}  // namespace veltrix
