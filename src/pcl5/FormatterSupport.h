// What the value formatters share: the value in the forms they show it, and
// the name lookups by index and by key.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "pcl5/Pcl5View.h"

namespace veltrix {

// A (number, name) pair of a keyed table; the first pair with the key wins.
struct KeyedName {
  std::int32_t key = 0;
  const char* name = nullptr;
};

// The name at `value`; past the end of the list, or an empty name, gives
// "*** Invalid value".
std::string_view NameAtIndex(std::span<const std::string_view> names, std::uint32_t value);
// The name of `key`; "*** unknown value ( %d )" when the table has none.
std::string KeyedNameOf(std::span<const KeyedName> table, std::int32_t key);

// The value times 100 with its fraction brought to two places, negative with
// a minus sign (pitch and point size).
std::int32_t Hundredths(const EscapeState& esc);
// The value times 1000 plus the fraction in thousandths (decipoint sizes).
std::int64_t Thousandths(const EscapeState& esc);
// The value field as shown in the header, without a plus sign, fraction kept.
std::string PlainValueText(const EscapeState& esc);

// Writes `label`, the name at `value` (as NameAtIndex gives it) and "\n".
void PutNamedValue(OutputSink& out, std::string_view label, std::span<const std::string_view> names,
                   std::uint32_t value);

// Writes `description` used as a printf format with one "%s", then "\n".
void PutDescriptionWith(OutputSink& out, const char* description, std::string_view text);

inline OutputSink& Listing(const Pcl5View& run) { return *run.ctx.listing; }
inline std::uint32_t Value(const Pcl5View& run) { return run.pcl.esc.value; }

}  // namespace veltrix
