// Reads one PJL line: text up to a CR, LF or ESC.
#pragma once

#include <cstddef>
#include <string>

#include "decode/core/ByteReader.h"

namespace veltrix {

inline constexpr std::size_t kPjlLineSize = 1024;  // a listed line keeps at most 1023 characters

// Returns whether a line was read into `line` (cut to size - 1 characters).
// Sets `escapeSeen` and returns false when the line starts with ESC (or is a
// lone line end directly followed by ESC); that ESC is left unread.
bool ReadPjlLine(ByteReader& in, std::string& line, std::size_t size, bool& escapeSeen);

}  // namespace veltrix
