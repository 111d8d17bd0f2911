// The texts built from the escape being parsed: the header that opens its
// listing line, the value text, the template expansion of a description, and
// the key under which an invalid or unknown escape is counted.
#pragma once

#include <string>

#include "decode/core/ProblemWriter.h"  // kHeaderWidth
#include "decode/core/TextFormat.h"
#include "pcl5/EscapeEntry.h"
#include "pcl5/Pcl5State.h"

namespace veltrix {

// Room for any header or value text: the value field holds at most a sign,
// ten integer digits, a point and ten fraction digits.
inline constexpr std::size_t kEscapeTextRoom = 64;

// "[ ESC & l 1 O ] ": the characters as received, the value text, "] ".
// Writes into `text` (kEscapeTextRoom bytes) and returns the length.
std::size_t FormatEscapeHeader(const EscapeState& esc, char* text);
// The same header padded with blanks to kHeaderWidth, as it opens a listing
// line: written at `at` (kEscapeTextRoom bytes of room); returns its end.
char* FormatPaddedEscapeHeader(const EscapeState& esc, char* at);

// The value field as text: sign (the plus only when `withPlus`), the integer
// part, and the fraction; `trimFraction` drops its trailing zeros (and the
// whole fraction when it is 0). Returns the length written to `text`.
// A value without a point (the common case) is written inline.
std::size_t FormatEscapeValueWithPoint(const EscapeState& esc, bool withPlus, bool trimFraction, char* text);
inline std::size_t FormatEscapeValue(const EscapeState& esc, bool withPlus, bool trimFraction, char* text) {
  if (esc.fractionScale != 0) return FormatEscapeValueWithPoint(esc, withPlus, trimFraction, text);
  // Without a point there is no fraction: the sign and the integer part.
  char* at = text;
  if (esc.sign == -1) *at++ = '-';
  if (esc.sign == 1 && withPlus) *at++ = '+';
  return static_cast<std::size_t>(FormatUnsigned32(at, esc.value) - text);
}
std::string EscapeValueText(const EscapeState& esc, bool withPlus, bool trimFraction);

// Expands "%d", "%f" and "%s" of the record's description at `at`, which has
// room for kTemplateRoom characters; returns the end of the text. Sets
// `invalidValue` when "%s" met a value without a name.
char* ExpandEscapeTemplate(const EscapeEntry& entry, const EscapeState& esc, char* at, bool& invalidValue);

// "<ESC>&z#Q": the key of an invalid or unknown escape, at most 31 characters.
std::string UndocumentedEscapeKey(const EscapeState& esc);

}  // namespace veltrix
