#include "pcl5/EscapeText.h"

#include "decode/OutputSink.h"

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
std::string ValueDigits(std::uint32_t value) { return std::to_string(value); }

}  // namespace

std::string EscapeValueText(const EscapeState& esc, bool withPlus, bool trimFraction) {
  std::string text;
  if (esc.sign == -1) text += '-';
  if (esc.sign == 1 && withPlus) text += '+';
  text += ValueDigits(esc.value);
  std::uint32_t fraction = esc.fraction;
  std::uint32_t scale = esc.fractionScale;
  if (trimFraction) {
    while (fraction % 10 == 0 && scale >= 10) {
      fraction /= 10;
      scale /= 10;
    }
    if (fraction == 0) return text;
  }
  if (fraction != 0 || scale >= 10) {
    text += StringPrintf(".%0*d", FractionDigits(scale), static_cast<std::int32_t>(fraction));
  }
  return text;
}

std::string EscapeHeaderText(const EscapeState& esc) {
  std::string text = "[ ESC ";
  if (esc.paramChar) {
    text += static_cast<char>(esc.paramChar);
    text += ' ';
    if (esc.groupChar) {
      text += static_cast<char>(esc.groupChar);
      text += ' ';
    }
  }
  if (esc.digitCount > 0) {
    text += EscapeValueText(esc, true, false);
    text += ' ';
  }
  if (esc.terminator) {
    text += static_cast<char>(esc.terminator);
    text += ' ';
  }
  text += "] ";
  return text;
}

std::string ExpandEscapeTemplate(const char* description, const EscapeEntry& entry,
                                 const EscapeState& esc, bool& invalidValue) {
  std::string line;
  for (const char* p = description; *p; ++p) {
    if (*p != '%' || p[1] == '\0') {
      line += *p;
      continue;
    }
    switch (p[1]) {
      case 'f':
        line += EscapeValueText(esc, false, true);
        ++p;
        break;
      case 'd':
        if (esc.sign == -1) line += '-';
        line += ValueDigits(esc.value);
        ++p;
        break;
      case 's': {
        const auto& names = entry.valueNames;
        if (esc.value < names.size() && !names[esc.value].empty()) {
          line += names[esc.value];
        } else {
          line += "*** Invalid value (" + ValueDigits(esc.value) + ")";
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
  return line;
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
