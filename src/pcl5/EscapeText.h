// The texts built from the escape being parsed: the header that opens its
// listing line, the value text, the template expansion of a description, and
// the key under which an invalid or unknown escape is counted.
#pragma once

#include <string>

#include "decode/core/ProblemWriter.h"  // kHeaderWidth
#include "pcl5/EscapeEntry.h"
#include "pcl5/Pcl5State.h"

namespace veltrix {

// Room for any header or value text: the value field holds at most a sign,
// ten integer digits, a point and ten fraction digits.
inline constexpr std::size_t kEscapeTextRoom = 64;

// "[ ESC & l 1 O ] ": the characters as received, the value text, "] ".
// Writes into `text` (kEscapeTextRoom bytes) and returns the length.
std::size_t FormatEscapeHeader(const EscapeState& esc, char* text);

// The value field as text: sign (the plus only when `withPlus`), the integer
// part, and the fraction; `trimFraction` drops its trailing zeros (and the
// whole fraction when it is 0). Returns the length written to `text`.
std::size_t FormatEscapeValue(const EscapeState& esc, bool withPlus, bool trimFraction, char* text);
std::string EscapeValueText(const EscapeState& esc, bool withPlus, bool trimFraction);

// Expands "%d", "%f" and "%s" of a description into `line` (replacing what
// it held). Sets `invalidValue` when "%s" met a value without a name.
void ExpandEscapeTemplate(const char* description, const EscapeEntry& entry, const EscapeState& esc,
                          std::string& line, bool& invalidValue);

// "<ESC>&z#Q": the key of an invalid or unknown escape, at most 31 characters.
std::string UndocumentedEscapeKey(const EscapeState& esc);

}  // namespace veltrix
