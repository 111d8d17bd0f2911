// The PCL XL tag table: one entry per tag byte with its class, its name and
// the routine that handles it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace veltrix {

struct XlReader;

enum XlTagClass : std::uint8_t {
  XL_TAG_UNUSED = 0,
  XL_TAG_RESERVED = 1,
  XL_TAG_WHITESPACE = 2,
  XL_TAG_STREAM_BINDING = 3,
  XL_TAG_OPERATOR = 4,
  XL_TAG_DATA_TYPE = 5,
  XL_TAG_ATTRIBUTE_ID = 6,
  XL_TAG_EMBEDDED_DATA = 7,
};

// Returns false after storing an XlError code in the reader (or leaving the
// code as it was, for the tags that have no code of their own).
using XlTagHandler = bool (*)(XlReader& reader, std::uint8_t tag);

struct XlTagEntry {
  XlTagClass tagClass = XL_TAG_UNUSED;
  std::string_view name = {};      // empty when the tag has no name
  XlTagHandler handler = nullptr;  // nullptr: nothing to do, always succeeds
};

// One entry per tag byte.
extern const std::array<XlTagEntry, 256> kXlTagTable;

// The entry of a tag byte.
inline const XlTagEntry& XlFindTag(std::uint8_t tag) { return kXlTagTable[tag]; }

// The listing label of each class, at most ten characters.
inline constexpr std::string_view kXlTagClassLabels[] = {"UNUSED",   "RESERVED",  "WHITESPACE", "STREAMBIND",
                                                         "OPERATOR", "PUSH DATA", "SET ATTRIB", "EMBEDDED"};

// The listing label of a class: "UNUSED", "OPERATOR", "PUSH DATA", ...
std::string_view XlTagClassLabel(XlTagClass tagClass);

}  // namespace veltrix
