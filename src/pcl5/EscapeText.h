// The texts built from the escape being parsed: the header that opens its
// listing line, the value text, the template expansion of a description, and
// the key under which an invalid or unknown escape is counted.
#pragma once

#include <string>

#include "pcl5/EscapeEntry.h"
#include "pcl5/Pcl5State.h"

namespace veltrix {

inline constexpr std::size_t kHeaderWidth = 22;

// "[ ESC & l 1 O ] ": the characters as received, the value text, "] ".
std::string EscapeHeaderText(const EscapeState& esc);

// The value field as text: sign (the plus only when `withPlus`), the integer
// part, and the fraction; `trimFraction` drops its trailing zeros (and the
// whole fraction when it is 0).
std::string EscapeValueText(const EscapeState& esc, bool withPlus, bool trimFraction);

// Expands "%d", "%f" and "%s" of a description. Sets `invalidValue` when "%s"
// met a value without a name.
std::string ExpandEscapeTemplate(const char* description, const EscapeEntry& entry,
                                 const EscapeState& esc, bool& invalidValue);

// "<ESC>&z#Q": the key of an invalid or unknown escape, at most 31 characters.
std::string UndocumentedEscapeKey(const EscapeState& esc);

}  // namespace veltrix
