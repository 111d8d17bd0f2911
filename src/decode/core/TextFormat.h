// Number writers for the listing: each writes into a character array and
// returns the end of what it wrote, with the same text as the printf
// conversion named beside it, but without its format parsing and locale
// machinery. The caller provides the room (kNumberRoom covers every integer
// form; kFixedRoom covers "%f" of any float).
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>

namespace veltrix {

inline constexpr std::size_t kNumberRoom = 24;  // a sign and 20 digits, or "0x" and 16 hex digits
inline constexpr std::size_t kFixedRoom = 48;   // "%f" of the largest float: 39 digits, the point and 6 more

// "%llu"
inline char* FormatUnsigned(char* at, std::uint64_t v) { return std::to_chars(at, at + 20, v).ptr; }

// "%lld" (INT64_MIN too)
inline char* FormatSigned(char* at, std::int64_t v) { return std::to_chars(at, at + 21, v).ptr; }

// "%0*llu": at least `width` digits, zeros in front.
inline char* FormatZeroPadded(char* at, std::uint64_t v, int width) {
  char digits[20];
  const char* end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  for (auto n = static_cast<int>(end - digits); n < width; ++n) *at++ = '0';
  for (const char* p = digits; p < end; ++p) *at++ = *p;
  return at;
}

// "%0*llX" (or "%0*llx" when lower): at least `width` hex digits (at most 16).
inline char* FormatHex(char* at, std::uint64_t v, int width, bool lower = false) {
  const char* hex = lower ? "0123456789abcdef" : "0123456789ABCDEF";
  int digits = 1;
  while (digits < 16 && (v >> (4 * digits)) != 0) ++digits;
  if (width > 16) width = 16;
  if (digits < width) digits = width;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) *at++ = hex[(v >> shift) & 0xF];
  return at;
}

// "%f" of a float (passed to printf as a double): six digits after the
// point, correctly rounded as glibc's printf rounds them (a float never lies
// exactly halfway at the sixth digit), and "inf", "-inf", "nan", "-nan" as
// printf writes them.
inline char* FormatFixed6(char* at, float f) {
  const double v = f;
  if (v != v) {  // printf names a NaN by its sign only
    const char* text = __builtin_signbit(v) ? "-nan" : "nan";
    while (*text) *at++ = *text++;
    return at;
  }
  return std::to_chars(at, at + kFixedRoom, v, std::chars_format::fixed, 6).ptr;
}

}  // namespace veltrix
