// PCL XL attribute lines and the access routines of the operator handlers.
#include <bit>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pclxl/XlAttributes.h"

namespace veltrix {
namespace {

XlValue Scalar(std::int32_t id, std::uint8_t type, std::int32_t value) {
  XlValue v;
  v.attrId = id;
  v.form = XL_FORM_INTEGER;
  v.elementType = type;
  v.words[0] = static_cast<std::uint32_t>(value);
  return v;
}

XlValue Real(std::int32_t id, float value) {
  XlValue v;
  v.attrId = id;
  v.form = XL_FORM_REAL;
  v.elementType = XL_REAL32;
  v.words[0] = std::bit_cast<std::uint32_t>(value);
  return v;
}

XlValue Composite(std::int32_t id, std::uint8_t form, std::initializer_list<std::uint32_t> words) {
  XlValue v;
  v.attrId = id;
  v.form = form;
  v.elementType = XL_COMPOSITE;
  int i = 0;
  for (std::uint32_t w : words) v.words[i++] = w;
  return v;
}

std::uint32_t Bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// An array in host byte order; the element size follows from the type.
XlValue Array(std::int32_t id, std::uint8_t form, std::uint8_t type,
              std::initializer_list<std::int64_t> elements) {
  XlValue v;
  v.attrId = id;
  v.form = form;
  v.elementType = type;
  v.count = static_cast<std::int32_t>(elements.size());
  const std::size_t size = type <= XL_SBYTE ? 1 : type <= XL_SINT16 ? 2 : 4;
  for (std::int64_t e : elements) {
    const auto word = static_cast<std::uint32_t>(e);
    const auto half = static_cast<std::uint16_t>(word);
    const auto byte = static_cast<std::uint8_t>(word);
    const void* from = size == 1 ? static_cast<const void*>(&byte)
                       : size == 2 ? static_cast<const void*>(&half) : &word;
    const auto* p = static_cast<const std::uint8_t*>(from);
    v.data.insert(v.data.end(), p, p + size);
  }
  return v;
}

XlValue Bytes(std::int32_t id, const std::string& text) {
  XlValue v = Array(id, XL_FORM_UBYTE_ARRAY, XL_UBYTE, {});
  v.data.assign(text.begin(), text.end());
  v.count = static_cast<std::int32_t>(text.size());
  return v;
}

struct LineCase {
  const char* what;
  XlValue value;
  const char* name;
  const char* text;
};

TEST(XlAttributeLine, NamesAndValues) {
  XlValue embedded;
  embedded.form = XL_FORM_EMBEDDED;
  embedded.elementType = XL_COMPOSITE;
  embedded.count = 3;
  embedded.data = {1, 2, 3};
  XlValue embeddedWithId = embedded;
  embeddedWithId.attrId = 163;

  const LineCase cases[] = {
      {"enumerated", Scalar(40, XL_UBYTE, 1), "Orientation", "LandscapeOrientation"},
      {"enumeration last", Scalar(37, XL_UBYTE, 15), "MediaSize", "A5Paper"},
      {"past the enumeration", Scalar(40, XL_UBYTE, 7), "Orientation", "7"},
      {"negative, no name", Scalar(40, XL_SINT16, -1), "Orientation", "-1"},
      {"enumerated real", Real(40, 1.0f), "Orientation", "1.000000"},
      {"one-element array", Array(40, XL_FORM_UBYTE_ARRAY, XL_UBYTE, {3}), "Orientation",
       "ReverseLandscape"},
      {"empty array is 0", Array(40, XL_FORM_UBYTE_ARRAY, XL_UBYTE, {}), "Orientation",
       "PortraitOrientation"},
      {"shared list", Scalar(84, XL_UBYTE, 1), "ClipMode", "EvenOdd"},
      {"shared list", Scalar(134, XL_UBYTE, 2), "Measure", "TenthsOfAMillimeter"},
      {"media size text", Bytes(37, "LETTER"), "MediaSize", ""},
      {"not enumerated", Scalar(39, XL_UBYTE, 1), "MediaType", "1"},
      {"UByte 10", Scalar(49, XL_UBYTE, 10), "PageCopies", "10 (0x0A)"},
      {"UByte 9", Scalar(49, XL_UBYTE, 9), "PageCopies", "9"},
      {"UByte 255", Scalar(49, XL_UBYTE, 255), "PageCopies", "255 (0xFF)"},
      {"UInt16 300", Scalar(49, XL_UINT16, 300), "PageCopies", "300 (0x012C)"},
      {"UInt32 70000", Scalar(140, XL_UINT32, 70000), "StreamDataLength", "70000 (0x11170)"},
      {"SByte", Scalar(165, XL_SBYTE, -12), "CharShear", "-12"},
      {"Real32", Real(41, -2.5f), "PageAngle", "-2.500000"},
      {"one UInt16", Array(49, XL_FORM_UINT16_ARRAY, XL_UINT16, {300}), "PageCopies",
       "300 (0x012C)"},
      {"one Real32", Array(43, XL_FORM_REAL32_ARRAY, XL_REAL32, {Bits(0.5f)}), "PageScale",
       "0.500000"},
      {"long array", Array(43, XL_FORM_UINT16_ARRAY, XL_UINT16, {1, 2}), "PageScale", ""},
      {"pair", Composite(42, XL_FORM_INTEGER_PAIR, {static_cast<std::uint32_t>(-3), 7}),
       "PageOrigin", "(-3, 7)"},
      {"real pair", Composite(43, XL_FORM_REAL_PAIR, {Bits(1.5f), Bits(-0.25f)}), "PageScale",
       "(1.500000, -0.250000)"},
      {"box", Composite(66, XL_FORM_INTEGER_BOX, {1, 2, 300, 400}), "BoundingBox",
       "(1, 2), (300, 400)"},
      {"real box", Composite(66, XL_FORM_REAL_BOX, {Bits(1), Bits(2), Bits(3), Bits(4)}),
       "BoundingBox", "(1.000000, 2.000000), (3.000000, 4.000000)"},
      {"font name", Bytes(168, std::string("A\0B", 3)), "FontName", "A<0x00>B"},
      {"text codes", Array(171, XL_FORM_UINT16_ARRAY, XL_UINT16, {300, 65}),
       "TextData--------------->:", "<0x012C>A"},
      {"text 32-bit", Array(171, XL_FORM_UINT32_ARRAY, XL_UINT32, {0x12345, 127, 31}),
       "TextData--------------->:", "<0x00012345>\x7F<0x1F>"},
      {"signed text unsigned", Array(129, XL_FORM_SBYTE_ARRAY, XL_SBYTE, {-1, 32}),
       "CommentData", "<0xFF> "},
      {"signed 16-bit text", Array(129, XL_FORM_SINT16_ARRAY, XL_SINT16, {-2}), "CommentData",
       "<0xFFFE>"},
      {"empty text", Bytes(168, ""), "FontName", ""},
      {"real text array", Array(168, XL_FORM_REAL32_ARRAY, XL_REAL32, {Bits(2.0f)}), "FontName",
       "2.000000"},
      {"vendor name", Scalar(146, XL_UINT32, 5), "Vendor Data Length", "5"},
      {"vendor at the end", Scalar(152, XL_UBYTE, 0), "Vendor Interleave", "0"},
      {"16-bit identifier", Scalar(500, XL_UBYTE, 5), "", "5"},
      {"identifier not listed", Scalar(10, XL_UBYTE, 1), "Unknown attrib 0x0A", "1"},
      {"embedded data", embeddedWithId, "CharDataSize", ""},
      {"embedded, no identifier", embedded, "", ""},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.what);
    const XlListingLine line = XlFormatAttribute(c.value);
    EXPECT_EQ(line.label, "");
    EXPECT_EQ(line.name, c.name);
    EXPECT_EQ(line.value, c.text);
  }
}

TEST(XlAttributeLine, CountIsAClaim) {
  XlValue name = Bytes(168, "AB");
  name.count = 1000;  // only two bytes behind it
  EXPECT_EQ(XlFormatAttribute(name).value, "AB");
  XlValue one = Array(40, XL_FORM_UINT16_ARRAY, XL_UINT16, {});
  one.count = 1;
  EXPECT_EQ(XlFormatAttribute(one).value, "");
}

TEST(XlAttributeLine, LongTextStopsAfter2038Characters) {
  EXPECT_EQ(XlFormatAttribute(Bytes(129, std::string(3000, 'a'))).value.size(), 2038u);
  // 339 six-character tokens make 2034 characters, one more passes the stop.
  const std::string tokens = XlFormatAttribute(Bytes(129, std::string(600, '\x01'))).value;
  EXPECT_EQ(tokens.size(), 2040u);
  EXPECT_EQ(tokens.substr(2028), "<0x01><0x01>");
  // 2037 characters and then a twelve-character token: the buffer of 2048
  // bytes holds 2047 of them.
  std::vector<std::uint32_t> codes(169, 0x10000);
  codes.insert(codes.end(), 9, 'z');
  codes.push_back(0x10000);
  XlValue mixed = Array(171, XL_FORM_UINT32_ARRAY, XL_UINT32, {});
  mixed.count = static_cast<std::int32_t>(codes.size());
  mixed.data.resize(codes.size() * 4);
  std::memcpy(mixed.data.data(), codes.data(), mixed.data.size());
  const std::string cut = XlFormatAttribute(mixed).value;
  EXPECT_EQ(cut.size(), 2047u);
  EXPECT_EQ(cut.substr(2028), "zzzzzzzzz<0x0001000");
}

TEST(XlAttributeVocabulary, Names) {
  EXPECT_STREQ(XlAttributeName(1), "CMYColor");
  EXPECT_STREQ(XlAttributeName(171), "TextData--------------->:");
  EXPECT_STREQ(XlAttributeName(145), "Vendor Begin Image");
  EXPECT_STREQ(XlAttributeName(151), "Vendor Color Space");
  EXPECT_STREQ(XlAttributeName(177), "CharBoldValue");
  for (std::int32_t missing : {0, 10, 46, 106, 150, 178, 256, -1}) {
    EXPECT_EQ(XlAttributeName(missing), nullptr) << missing;
  }
  EXPECT_EQ(XlEnumerationNames(80).size(), 5u);
  EXPECT_TRUE(XlEnumerationNames(36).empty());   // MediaDestination
  EXPECT_TRUE(XlEnumerationNames(160).empty());  // Diagnostics
}

TEST(XlAttributeAccess, ScalarsConvert) {
  const std::vector<XlValue> stack = {
      Scalar(1, XL_SINT16, -7), Real(2, 2.9f), Real(3, -2.9f), Real(4, 1e20f),
      Composite(5, XL_FORM_INTEGER_PAIR, {1, 2}), Bytes(6, "A"), Scalar(1, XL_UBYTE, 8)};
  EXPECT_EQ(XlFindAttribute(stack, 1), &stack[6]);  // the most recently pushed
  EXPECT_EQ(XlFindAttribute({}, 1), nullptr);
  std::int32_t i = 99;
  double d = 0;
  EXPECT_TRUE(XlGetInteger(stack, 1, i));
  EXPECT_EQ(i, 8);
  EXPECT_TRUE(XlGetInteger(stack, 2, i));
  EXPECT_EQ(i, 2);
  EXPECT_TRUE(XlGetInteger(stack, 3, i));
  EXPECT_EQ(i, -2);
  EXPECT_TRUE(XlGetInteger(stack, 4, i));
  EXPECT_EQ(i, INT32_MAX);
  i = 99;
  EXPECT_FALSE(XlGetInteger(stack, 5, i));
  EXPECT_FALSE(XlGetInteger(stack, 6, i));
  EXPECT_FALSE(XlGetInteger(stack, 7, i));
  EXPECT_EQ(i, 99);
  EXPECT_TRUE(XlGetReal(std::span(stack).first(1), 1, d));
  EXPECT_EQ(d, -7.0);
  EXPECT_TRUE(XlGetReal(stack, 2, d));
  EXPECT_EQ(d, static_cast<double>(2.9f));
  EXPECT_FALSE(XlGetReal(stack, 5, d));
}

TEST(XlAttributeAccess, PairsAndBoxesConvert) {
  const auto m = static_cast<std::uint32_t>(-4);
  const std::vector<XlValue> stack = {
      Composite(1, XL_FORM_INTEGER_PAIR, {m, 5}),
      Composite(2, XL_FORM_REAL_PAIR, {Bits(-1.5f), Bits(3.75f)}),
      Composite(3, XL_FORM_INTEGER_BOX, {1, 2, 3, m}),
      Composite(4, XL_FORM_REAL_BOX, {Bits(0.9f), Bits(-0.9f), Bits(10.5f), Bits(-10.5f)}),
      Scalar(5, XL_UBYTE, 1)};
  std::int32_t x = 0, y = 0;
  double rx = 0, ry = 0;
  EXPECT_TRUE(XlGetIntegerPair(stack, 1, x, y));
  EXPECT_EQ(x, -4);
  EXPECT_EQ(y, 5);
  EXPECT_TRUE(XlGetIntegerPair(stack, 2, x, y));
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, 3);
  EXPECT_FALSE(XlGetIntegerPair(stack, 3, x, y));
  EXPECT_FALSE(XlGetIntegerPair(stack, 5, x, y));
  EXPECT_TRUE(XlGetRealPair(stack, 1, rx, ry));
  EXPECT_EQ(rx, -4.0);
  EXPECT_EQ(ry, 5.0);
  EXPECT_TRUE(XlGetRealPair(stack, 2, rx, ry));
  EXPECT_EQ(rx, -1.5);
  EXPECT_EQ(ry, 3.75);
  EXPECT_FALSE(XlGetRealPair(stack, 4, rx, ry));
  std::int32_t box[4] = {};
  EXPECT_TRUE(XlGetIntegerBox(stack, 3, box));
  EXPECT_EQ(box[3], -4);
  EXPECT_TRUE(XlGetIntegerBox(stack, 4, box));
  EXPECT_EQ(box[0], 0);
  EXPECT_EQ(box[1], 0);
  EXPECT_EQ(box[2], 10);
  EXPECT_EQ(box[3], -10);
  EXPECT_FALSE(XlGetIntegerBox(stack, 1, box));
}

TEST(XlAttributeAccess, Elements) {
  struct ElementCase {
    XlValue value;
    std::int32_t want;
  };
  const ElementCase cases[] = {
      {Array(1, XL_FORM_SBYTE_ARRAY, XL_SBYTE, {0, -2}), -2},
      {Array(1, XL_FORM_UBYTE_ARRAY, XL_UBYTE, {0, 0xFE}), 254},
      {Array(1, XL_FORM_SINT16_ARRAY, XL_SINT16, {0, -300}), -300},
      {Array(1, XL_FORM_UINT16_ARRAY, XL_UINT16, {0, 0xFFFE}), 65534},
      {Array(1, XL_FORM_SINT32_ARRAY, XL_SINT32, {0, -70000}), -70000},
      {Array(1, XL_FORM_UINT32_ARRAY, XL_UINT32, {0, 70000}), 70000},
      {Array(1, XL_FORM_REAL32_ARRAY, XL_REAL32, {0, Bits(-3.99f)}), -3},
  };
  for (const ElementCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.value.form));
    std::int32_t out = 12345;
    EXPECT_TRUE(XlGetElement(c.value, 1, out));
    EXPECT_EQ(out, c.want);
    out = 12345;
    EXPECT_FALSE(XlGetElement(c.value, 2, out));
    EXPECT_FALSE(XlGetElement(c.value, -1, out));
    EXPECT_EQ(out, 12345);
  }
  XlValue claims = Array(1, XL_FORM_UINT16_ARRAY, XL_UINT16, {1});
  claims.count = 5;
  std::int32_t out = 0;
  EXPECT_TRUE(XlGetElement(claims, 0, out));
  EXPECT_FALSE(XlGetElement(claims, 1, out));  // inside count, outside the data
  EXPECT_FALSE(XlGetElement(Scalar(1, XL_UBYTE, 1), 0, out));
  EXPECT_FALSE(XlGetElement(Composite(1, XL_FORM_INTEGER_PAIR, {1, 2}), 0, out));
}

TEST(XlAttributeAccess, Text) {
  const std::vector<XlValue> stack = {
      Bytes(168, "Courier"), Array(139, XL_FORM_UINT16_ARRAY, XL_UINT16, {0x141, 0x42}),
      Bytes(37, ""), Scalar(40, XL_UBYTE, 1)};
  char buffer[8];
  EXPECT_TRUE(XlGetText(stack, 168, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "Courier");
  EXPECT_TRUE(XlGetText(stack, 168, buffer, 4));
  EXPECT_STREQ(buffer, "Cou");
  EXPECT_TRUE(XlGetText(stack, 139, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "AB");  // low byte of each element
  std::strcpy(buffer, "keep");
  EXPECT_FALSE(XlGetText(stack, 37, buffer, sizeof buffer));
  EXPECT_FALSE(XlGetText(stack, 40, buffer, sizeof buffer));
  EXPECT_FALSE(XlGetText(stack, 170, buffer, sizeof buffer));
  EXPECT_FALSE(XlGetText(stack, 168, buffer, 0));
  EXPECT_STREQ(buffer, "keep");
}

}  // namespace
}  // namespace veltrix
