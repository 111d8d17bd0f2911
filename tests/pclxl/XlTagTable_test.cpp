// The tag table: the class of every tag byte, range by range. Class labels
// and tag names reach the listing and are checked there (XlReader_test,
// XlUsageSummary_test).
#include <gtest/gtest.h>

#include "pclxl/XlTagTable.h"

namespace veltrix {
namespace {

TEST(XlTagTable, EveryByteHasTheClassOfItsRange) {
  struct Range {
    int first, last;
    XlTagClass tagClass;
  };
  const Range ranges[] = {
      {0x00, 0x00, XL_TAG_WHITESPACE}, {0x01, 0x08, XL_TAG_UNUSED},         {0x09, 0x0D, XL_TAG_WHITESPACE},
      {0x0E, 0x1F, XL_TAG_UNUSED},     {0x20, 0x20, XL_TAG_WHITESPACE},     {0x21, 0x26, XL_TAG_UNUSED},
      {0x27, 0x29, XL_TAG_STREAM_BINDING}, {0x2A, 0x40, XL_TAG_UNUSED},     {0x41, 0xBF, XL_TAG_OPERATOR},
      {0xC0, 0xEF, XL_TAG_DATA_TYPE},  {0xF0, 0xF7, XL_TAG_RESERVED},       {0xF8, 0xF9, XL_TAG_ATTRIBUTE_ID},
      {0xFA, 0xFB, XL_TAG_EMBEDDED_DATA}, {0xFC, 0xFF, XL_TAG_RESERVED},
  };
  for (const Range& r : ranges) {
    for (int tag = r.first; tag <= r.last; ++tag) {
      EXPECT_EQ(XlFindTag(static_cast<std::uint8_t>(tag)).tagClass, r.tagClass) << tag;
    }
  }
}

}  // namespace
}  // namespace veltrix
