// Number writers for the listing: each writes into a character array and
// returns the end of what it wrote, with the same text as the printf
// conversion named beside it, but without its format parsing and locale
// machinery. The caller provides the room (kNumberRoom covers every integer
// form; kFixedRoom covers "%f" of any float).
#pragma once

#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace veltrix {

inline constexpr std::size_t kNumberRoom = 24;  // a sign and 20 digits, or "0x" and 16 hex digits
inline constexpr std::size_t kFixedRoom = 48;   // "%f" of the largest float: 39 digits, the point and 6 more

// "%llu"
inline char* FormatUnsigned(char* at, std::uint64_t v) { return std::to_chars(at, at + 20, v).ptr; }

// "%s": copies `text` to `at`. The short texts of a listing line are
// copied with two overlapping fixed-size moves rather than a call.
inline char* FormatText(char* at, std::string_view text) {
  const std::size_t n = text.size();
  const char* from = text.data();
  if (n >= 8 && n <= 16) {
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + n - 8, 8);
    std::memcpy(at, &head, 8);
    std::memcpy(at + n - 8, &tail, 8);
  } else if (n > 16 && n <= 32) {
    char head[16], tail[16];
    std::memcpy(head, from, 16);
    std::memcpy(tail, from + n - 16, 16);
    std::memcpy(at, head, 16);
    std::memcpy(at + n - 16, tail, 16);
  } else if (n >= 4 && n < 8) {
    std::uint32_t head, tail;
    std::memcpy(&head, from, 4);
    std::memcpy(&tail, from + n - 4, 4);
    std::memcpy(at, &head, 4);
    std::memcpy(at + n - 4, &tail, 4);
  } else if (n < 4) {
    for (std::size_t i = 0; i < n; ++i) at[i] = from[i];
  } else {
    std::memcpy(at, from, n);
  }
  return at + n;
}

// "%u" of a 32-bit value, written in place: the short numbers that fill most
// listing lines are written here without a call.
inline char* FormatUnsigned32(char* at, std::uint32_t v) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  // The digits: about log10 from the bit width, less one below the power.
  static constexpr std::uint32_t kPowers[] = {0, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000,
                                              1000000000};
  const int guess = static_cast<int>((std::bit_width(v) * 1233u) >> 12);
  const int length = guess + 1 - (v < kPowers[guess] ? 1 : 0);
  char* const end = at + length;
  char* p = end;
  while (v >= 100) {
    const std::uint32_t pair = (v % 100) * 2;
    v /= 100;
    *--p = kPairs[pair + 1];
    *--p = kPairs[pair];
  }
  if (v >= 10) {
    *--p = kPairs[v * 2 + 1];
    *--p = kPairs[v * 2];
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return end;
}

// "%d" of a 32-bit value (INT32_MIN too), written in place like
// FormatUnsigned32: most numbers of a listing are coordinates.
inline char* FormatSigned32(char* at, std::int32_t v) {
  std::uint32_t u = static_cast<std::uint32_t>(v);
  if (v < 0) {
    *at++ = '-';
    u = 0u - u;
  }
  return FormatUnsigned32(at, u);
}

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
