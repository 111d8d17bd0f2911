#include "pcl5/EscapeText.h"

#include <cstring>
#include <string_view>

#include "decode/core/TextFormat.h"

namespace veltrix {

namespace {

// Digits that followed the decimal point, as counted by the fraction scale
// (1 after the point, times 10 per digit).
int FractionDigits(std::uint32_t scale) {
  int digits = 0;
  while (scale >= 10) {
    scale /= 10;
    ++digits;
  }
  return digits;
}

// The value field is unsigned: a huge field is shown as the job holds it, not
// wrapped to a negative number.
char* PutUnsigned(char* at, std::uint32_t value) { return FormatUnsigned32(at, value); }

// The fraction, zero-padded to the digits that followed the point.
char* PutFraction(char* at, std::uint32_t fraction, int digits) {
  char number[10];
  const char* end = FormatUnsigned32(number, fraction);
  const int length = static_cast<int>(end - number);
  for (int i = length; i < digits; ++i) *at++ = '0';
  for (const char* p = number; p < end; ++p) *at++ = *p;
  return at;
}

}  // namespace

std::size_t FormatEscapeValueWithPoint(const EscapeState& esc, bool withPlus, bool trimFraction, char* text) {
  char* at = text;
  if (esc.sign == -1) *at++ = '-';
  if (esc.sign == 1 && withPlus) *at++ = '+';
  at = PutUnsigned(at, esc.value);
  std::uint32_t fraction = esc.fraction;
  std::uint32_t scale = esc.fractionScale;
  if (trimFraction) {
    while (fraction % 10 == 0 && scale >= 10) {
      fraction /= 10;
      scale /= 10;
    }
    if (fraction == 0) return static_cast<std::size_t>(at - text);
  }
  if (fraction != 0 || scale >= 10) {
    *at++ = '.';
    at = PutFraction(at, fraction, FractionDigits(scale));
  }
  return static_cast<std::size_t>(at - text);
}

std::string EscapeValueText(const EscapeState& esc, bool withPlus, bool trimFraction) {
  char text[kEscapeTextRoom];
  return std::string(text, FormatEscapeValue(esc, withPlus, trimFraction, text));
}

std::size_t FormatEscapeHeader(const EscapeState& esc, char* text) {
  char* at = text;
  for (const char c : {'[', ' ', 'E', 'S', 'C', ' '}) *at++ = c;
  if (esc.paramChar) {
    *at++ = static_cast<char>(esc.paramChar);
    *at++ = ' ';
    if (esc.groupChar) {
      *at++ = static_cast<char>(esc.groupChar);
      *at++ = ' ';
    }
  }
  if (esc.digitCount > 0) {
    at += FormatEscapeValue(esc, true, false, at);
    *at++ = ' ';
  }
  if (esc.terminator) {
    *at++ = static_cast<char>(esc.terminator);
    *at++ = ' ';
  }
  *at++ = ']';
  *at++ = ' ';
  return static_cast<std::size_t>(at - text);
}

char* FormatPaddedEscapeHeader(const EscapeState& esc, char* at) {
  // Blanks first, as far as the longest header goes; then only the other
  // characters are written, in the places FormatEscapeHeader gives them.
  constexpr std::size_t kBlanks = 40;  // "[ ESC & l " 10, a value of 22, " X ] " 5
  static_assert(kHeaderWidth <= kBlanks && kBlanks <= kEscapeTextRoom);
  std::memset(at, ' ', kBlanks);
  std::memcpy(at, "[ ESC", 5);
  char* p = at + 6;
  if (esc.paramChar) {
    *p = static_cast<char>(esc.paramChar);
    p += 2;
    if (esc.groupChar) {
      *p = static_cast<char>(esc.groupChar);
      p += 2;
    }
  }
  if (esc.digitCount > 0) p += FormatEscapeValue(esc, true, false, p) + 1;
  if (esc.terminator) {
    *p = static_cast<char>(esc.terminator);
    p += 2;
  }
  *p = ']';
  p += 2;
  return p > at + kHeaderWidth ? p : at + kHeaderWidth;
}

char* ExpandEscapeTemplate(const EscapeEntry& entry, const EscapeState& esc, char* at, bool& invalidValue) {
  const auto append = [&at](std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    at += text.size();
  };
  const std::string_view description = DescriptionOf(entry);
  const char* const end = description.data() + description.size();
  for (const char* p = description.data(); p < end; ++p) {
    if (*p != '%' || p + 1 == end) {
      // Copy the run of plain characters up to the next '%' at once.
      const void* percent = std::memchr(p + 1, '%', static_cast<std::size_t>(end - p - 1));
      const char* stop = percent ? static_cast<const char*>(percent) : end;
      append(std::string_view(p, static_cast<std::size_t>(stop - p)));
      p = stop - 1;
      continue;
    }
    switch (p[1]) {
      case 'f':
        at += FormatEscapeValue(esc, false, true, at);
        ++p;
        break;
      case 'd':
        if (esc.sign == -1) *at++ = '-';
        at = PutUnsigned(at, esc.value);
        ++p;
        break;
      case 's': {
        const auto& names = entry.valueNames;
        if (esc.value < names.size() && !names[esc.value].empty()) {
          append(names[esc.value]);
        } else {
          append("*** Invalid value (");
          at = PutUnsigned(at, esc.value);
          *at++ = ')';
          invalidValue = true;
        }
        ++p;
        break;
      }
      default:  // a lone "%": copied, the next character is read as usual
        *at++ = '%';
        break;
    }
  }
  return at;
}

std::string UndocumentedEscapeKey(const EscapeState& esc) {
  std::string key = "<ESC>";
  if (esc.paramChar) {
    key += static_cast<char>(esc.paramChar);
    if (esc.groupChar) key += static_cast<char>(esc.groupChar);
  }
  if (esc.digitCount > 0) key += '#';
  if (esc.terminator) key += static_cast<char>(esc.terminator);
  if (key.size() > 31) key.resize(31);
  return key;
}

}  // namespace veltrix
