#include "pcl5/EscapeText.h"

#include <charconv>

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
char* PutUnsigned(char* at, std::uint32_t value) { return std::to_chars(at, at + 10, value).ptr; }

// The fraction, zero-padded to the digits that followed the point.
char* PutFraction(char* at, std::uint32_t fraction, int digits) {
  char number[10];
  const char* end = std::to_chars(number, number + sizeof number, fraction).ptr;
  const int length = static_cast<int>(end - number);
  for (int i = length; i < digits; ++i) *at++ = '0';
  for (const char* p = number; p < end; ++p) *at++ = *p;
  return at;
}

}  // namespace

std::size_t FormatEscapeValue(const EscapeState& esc, bool withPlus, bool trimFraction, char* text) {
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

void ExpandEscapeTemplate(const char* description, const EscapeEntry& entry, const EscapeState& esc,
                          std::string& line, bool& invalidValue) {
  line.clear();
  char number[kEscapeTextRoom];
  for (const char* p = description; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      // Copy the run of plain characters up to the next '%' at once.
      const char* end = p + 1;
      while (*end && *end != '%') ++end;
      line.append(p, end);
      p = end - 1;
      continue;
    }
    switch (p[1]) {
      case 'f':
        line.append(number, FormatEscapeValue(esc, false, true, number));
        ++p;
        break;
      case 'd':
        if (esc.sign == -1) line += '-';
        line.append(number, PutUnsigned(number, esc.value));
        ++p;
        break;
      case 's': {
        const auto& names = entry.valueNames;
        if (esc.value < names.size() && !names[esc.value].empty()) {
          line += names[esc.value];
        } else {
          line += "*** Invalid value (";
          line.append(number, PutUnsigned(number, esc.value));
          line += ')';
          invalidValue = true;
        }
        ++p;
        break;
      }
      default:  // a lone "%": copied, the next character is read as usual
        line += '%';
        break;
    }
  }
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
