// The tag table: the class of the tags at the edge of every byte range, and
// the names of the tags that are not operators.
#include <gtest/gtest.h>

#include "pclxl/XlTagTable.h"

namespace veltrix {
namespace {

TEST(XlTagTable, ClassRangesEndWhereTheyShould) {
  struct Row {
    int tag;
    XlTagClass tagClass;
  };
  const Row rows[] = {
      {0x00, XL_TAG_WHITESPACE},     {0x01, XL_TAG_UNUSED},         {0x08, XL_TAG_UNUSED},
      {0x09, XL_TAG_WHITESPACE},     {0x0D, XL_TAG_WHITESPACE},     {0x0E, XL_TAG_UNUSED},
      {0x1F, XL_TAG_UNUSED},         {0x20, XL_TAG_WHITESPACE},     {0x21, XL_TAG_UNUSED},
      {0x26, XL_TAG_UNUSED},         {0x27, XL_TAG_STREAM_BINDING}, {0x29, XL_TAG_STREAM_BINDING},
      {0x2A, XL_TAG_UNUSED},         {0x40, XL_TAG_UNUSED},         {0x41, XL_TAG_OPERATOR},
      {0xBF, XL_TAG_OPERATOR},       {0xC0, XL_TAG_DATA_TYPE},      {0xEF, XL_TAG_DATA_TYPE},
      {0xF0, XL_TAG_RESERVED},       {0xF7, XL_TAG_RESERVED},       {0xF8, XL_TAG_ATTRIBUTE_ID},
      {0xF9, XL_TAG_ATTRIBUTE_ID},   {0xFA, XL_TAG_EMBEDDED_DATA},  {0xFB, XL_TAG_EMBEDDED_DATA},
      {0xFC, XL_TAG_RESERVED},       {0xFF, XL_TAG_RESERVED},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tag);
    EXPECT_EQ(XlFindTag(static_cast<std::uint8_t>(row.tag)).tagClass, row.tagClass);
  }
  EXPECT_EQ(XlTagClassLabel(XL_TAG_DATA_TYPE), "PUSH DATA");
  EXPECT_EQ(XlTagClassLabel(XL_TAG_ATTRIBUTE_ID), "SET ATTRIB");
}

TEST(XlTagTable, NamesOfDataAndBindingTags) {
  struct Row {
    int tag;
    const char* name;
  };
  const Row rows[] = {
      {0x27, "StreamBind Ascii"}, {0x29, "StreamBind Binary LoHi"}, {0xC5, "Real32Data"},
      {0xC6, ""},                 {0xCD, "Real32Array"},            {0xD2, "UInt32Xy"},
      {0xE3, "SInt16Box"},        {0xE6, ""},                       {0xF9, "16BitAttrId"},
      {0xFB, "EmbeddedDataByte"}, {0x45, ""},                       {0xBF, "PclPassThru"},
      {0x01, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tag);
    EXPECT_EQ(XlFindTag(static_cast<std::uint8_t>(row.tag)).name, row.name);
  }
}

}  // namespace
}  // namespace veltrix
