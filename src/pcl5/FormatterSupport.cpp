#include "pcl5/FormatterSupport.h"

#include <cstring>

#include "pcl5/EscapeText.h"

namespace veltrix {

std::string_view NameAtIndex(std::span<const std::string_view> names, std::uint32_t value) {
  if (value < names.size() && !names[value].empty()) return names[value];
  return "*** Invalid value";
}

std::string KeyedNameOf(std::span<const KeyedName> table, std::int32_t key) {
  for (const KeyedName& entry : table) {
    if (entry.key == key) return entry.name;
  }
  return StringPrintf("*** unknown value ( %d )", key);
}

std::int32_t Hundredths(const EscapeState& esc) {
  std::uint32_t result = esc.value * 100;
  if (esc.fraction != 0 && esc.fractionScale >= 10) {
    std::uint32_t fraction = esc.fraction;
    std::uint32_t scale = esc.fractionScale;
    while (scale < 100) {
      fraction *= 10;
      scale *= 10;
    }
    while (scale > 100) {
      fraction /= 10;
      scale /= 10;
    }
    result += fraction;
  }
  const auto hundredths = static_cast<std::int32_t>(result);
  return esc.sign == -1 ? static_cast<std::int32_t>(0u - result) : hundredths;
}

std::int64_t Thousandths(const EscapeState& esc) {
  std::int64_t result = static_cast<std::int64_t>(esc.value) * 1000;
  if (esc.fractionScale >= 2) result += static_cast<std::int64_t>(esc.fraction) * 1000 / esc.fractionScale;
  return result;
}

std::string PlainValueText(const EscapeState& esc) { return EscapeValueText(esc, false, false); }

void PutNamedValue(OutputSink& out, std::string_view label, std::span<const std::string_view> names,
                   std::uint32_t value) {
  out.Put(label);
  out.Put(NameAtIndex(names, value));
  out.Put('\n');
}

void PutDescriptionWith(OutputSink& out, const char* description, std::string_view text) {
  // The description holds one "%s"; anything else in it is copied as it is.
  const char* at = std::strstr(description, "%s");
  if (!at) {
    out.Put(description);
  } else {
    out.Put(std::string_view(description, static_cast<std::size_t>(at - description)));
    out.Put(text);
    out.Put(at + 2);
  }
  out.Put('\n');
}

}  // namespace veltrix
