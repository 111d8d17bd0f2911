// The PCL XL line writer: one listing line of label, name and value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "pclxl/XlValue.h"

namespace veltrix {

struct DecodeContext;

// The layout of a line: "[XL " + label + "] " (or as many blanks), the name
// padded to kXlNameWidth when a short value follows.
inline constexpr std::size_t kXlPrefixWidth = 16;
inline constexpr std::size_t kXlNameWidth = 25;
inline constexpr std::size_t kXlShortValueLimit = 40;  // a value this long goes on continuation lines

// Copies a piece of a line to `to` and returns its end. Most pieces are
// short: two overlapping fixed-size copies are cheaper than a call.
inline char* XlCopyPiece(char* to, std::string_view s) {
  const std::size_t n = s.size();
  if (n < 4) {
    for (std::size_t i = 0; i < n; ++i) to[i] = s[i];
  } else if (n < 8) {
    std::uint32_t head, tail;
    std::memcpy(&head, s.data(), 4);
    std::memcpy(&tail, s.data() + n - 4, 4);
    std::memcpy(to, &head, 4);
    std::memcpy(to + n - 4, &tail, 4);
  } else if (n <= 16) {
    std::uint64_t head, tail;
    std::memcpy(&head, s.data(), 8);
    std::memcpy(&tail, s.data() + n - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + n - 8, &tail, 8);
  } else if (n <= 32) {
    char head[16], tail[16];
    std::memcpy(head, s.data(), 16);
    std::memcpy(tail, s.data() + n - 16, 16);
    std::memcpy(to, head, 16);
    std::memcpy(to + n - 16, tail, 16);
  } else {
    std::memcpy(to, s.data(), n);
  }
  return to + n;
}

// Writes "[XL label    ] name value"; a value of 40 characters or more goes
// on continuation lines of at most 64 characters instead. Writes nothing when
// the context has no listing or only exceptions are reported.
void XlWriteLine(const DecodeContext& ctx, const XlListingLine& line);
void XlWriteLine(const DecodeContext& ctx, std::string_view label, std::string_view name, std::string_view value);

}  // namespace veltrix
