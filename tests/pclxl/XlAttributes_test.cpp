// PCL XL attribute lines and the access routines of the operator handlers.
// The forms that the reader pushes are also listed, through these lines, by
// XlReader_test (ReadsEveryValueForm); they are not repeated here.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "pclxl/XlAttributes.h"

namespace veltrix {
namespace {

std::uint32_t Bits(float f) { return std::bit_cast<std::uint32_t>(f); }

// A value with identifier id; the words of scalars, pairs and boxes.
XlValue V(std::int32_t id, std::uint8_t form, std::uint8_t type, std::initializer_list<std::uint32_t> words = {}) {
  XlValue v;
  v.attrId = id;
  v.form = form;
  v.elementType = type;
  std::ranges::copy(words, v.words);
  return v;
}
XlValue Int(std::int32_t id, std::uint8_t type, std::uint32_t value) { return V(id, XL_FORM_INTEGER, type, {value}); }
XlValue Real(std::int32_t id, float value) { return V(id, XL_FORM_REAL, XL_REAL32, {Bits(value)}); }

// An array in host byte order; the element type and size follow from the form.
XlValue Array(std::int32_t id, std::uint8_t form, const std::vector<std::int64_t>& elements) {
  constexpr std::uint8_t kTypes[] = {XL_SBYTE, XL_SINT16, XL_SINT32, XL_UBYTE, XL_UINT16, XL_UINT32, XL_REAL32};
  constexpr int kSizes[] = {1, 2, 4, 1, 2, 4, 4};
  XlValue v = V(id, form, kTypes[form - XL_FORM_SBYTE_ARRAY]);
  v.count = static_cast<std::int32_t>(elements.size());
  const int size = kSizes[form - XL_FORM_SBYTE_ARRAY];
  for (const std::int64_t e : elements) {
    for (int i = 0; i < size; ++i) {
      const int shift = 8 * (std::endian::native == std::endian::little ? i : size - 1 - i);
      v.data.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(e) >> shift));
    }
  }
  return v;
}

// A value whose count claims more or fewer elements than its data holds.
XlValue Claim(XlValue v, std::int32_t count) {
  v.count = count;
  return v;
}

XlValue Bytes(std::int32_t id, std::string_view text) {
  return Array(id, XL_FORM_UBYTE_ARRAY, std::vector<std::int64_t>(text.begin(), text.end()));
}

// Three bytes of embedded data.
XlValue Embedded(std::int32_t id) {
  XlValue v = Array(id, XL_FORM_UBYTE_ARRAY, {1, 2, 3});
  v.form = XL_FORM_EMBEDDED;
  v.elementType = XL_COMPOSITE;
  return v;
}

TEST(XlAttributeLine, NamesAndValues) {
  struct LineCase {
    XlValue value;
    const char* name;
    const char* text;
  };
  const LineCase cases[] = {
      {Int(40, XL_UBYTE, 1), "Orientation", "LandscapeOrientation"},
      {Int(37, XL_UBYTE, 15), "MediaSize", "A5Paper"},  // the last name of its list
      {Int(40, XL_SINT16, -1), "Orientation", "-1"},
      {Real(40, 1.0f), "Orientation", "1.000000"},
      {Array(40, XL_FORM_UBYTE_ARRAY, {3}), "Orientation", "ReverseLandscape"},
      {Array(40, XL_FORM_UBYTE_ARRAY, {}), "Orientation", "PortraitOrientation"},  // an empty array is 0
      {Bytes(37, "LETTER"), "MediaSize", ""},
      {Claim(Bytes(168, "AB"), 1000), "FontName", "AB"},  // the count is a claim
      {Claim(Array(40, XL_FORM_UINT16_ARRAY, {}), 1), "Orientation", ""},
      {Int(39, XL_UBYTE, 1), "MediaType", "1"},  // not enumerated
      {Int(165, XL_SBYTE, -12), "CharShear", "-12"},
      {Array(49, XL_FORM_UINT16_ARRAY, {300}), "PageCopies", "300 (0x012C)"},
      {Array(43, XL_FORM_REAL32_ARRAY, {Bits(0.5f)}), "PageScale", "0.500000"},
      {Array(43, XL_FORM_UINT16_ARRAY, {1, 2}), "PageScale", ""},
      {Array(171, XL_FORM_UINT32_ARRAY, {0x12345, 127, 31}), "TextData--------------->:", "<0x00012345>\x7F<0x1F>"},
      {Array(129, XL_FORM_SBYTE_ARRAY, {-1, 32}), "CommentData", "<0xFF> "},  // signed text taken unsigned
      {Array(129, XL_FORM_SINT16_ARRAY, {-2}), "CommentData", "<0xFFFE>"},
      {Bytes(168, ""), "FontName", ""},
      {Array(168, XL_FORM_REAL32_ARRAY, {Bits(2.0f)}), "FontName", "2.000000"},
      {Int(152, XL_UBYTE, 0), "Vendor Interleave", "0"},  // a name with blanks
      {Int(500, XL_UBYTE, 5), "", "5"},
      {Int(10, XL_UBYTE, 1), "Unknown attrib 0x0A", "1"},
      {Embedded(163), "CharDataSize", ""},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(&c - cases);
    const XlListingLine line = XlFormatAttribute(c.value);
    EXPECT_EQ(line.label, "");
    EXPECT_EQ(line.name, c.name);
    EXPECT_EQ(line.value, c.text);
  }
}

// Integers are written two digits at a time: every length, both signs and
// both ends of the range give printf's text.
TEST(XlAttributeLine, IntegersOfEveryLength) {
  std::vector<std::int32_t> values = {0, INT32_MIN, INT32_MAX};
  for (std::int64_t p = 1; p <= 1000000000; p *= 10) {
    for (const std::int64_t v : {p - 1, p, p + 1, 5 * p}) {
      values.push_back(static_cast<std::int32_t>(std::min<std::int64_t>(v, INT32_MAX)));
      values.push_back(static_cast<std::int32_t>(std::max<std::int64_t>(-v, INT32_MIN)));
    }
  }
  for (const std::int32_t v : values) {
    const auto word = static_cast<std::uint32_t>(v);
    EXPECT_EQ(XlFormatAttribute(Int(41, XL_SINT32, word)).value, std::to_string(v));
    EXPECT_EQ(XlFormatAttribute(V(42, XL_FORM_INTEGER_PAIR, XL_COMPOSITE, {word, 7})).value,
              "(" + std::to_string(v) + ", 7)");
  }
}

TEST(XlAttributeLine, LongTextStopsAfter2038Characters) {
  EXPECT_EQ(XlFormatAttribute(Bytes(129, std::string(3000, 'a'))).value.size(), 2038u);
  // 339 six-character tokens make 2034 characters, one more passes the stop.
  const std::string tokens = XlFormatAttribute(Bytes(129, std::string(600, '\x01'))).value;
  EXPECT_EQ(tokens.size(), 2040u);
  EXPECT_EQ(tokens.substr(2028), "<0x01><0x01>");
  // 2037 characters and then a twelve-character token: the buffer of 2048
  // bytes holds 2047 of them.
  std::vector<std::int64_t> codes(169, 0x10000);
  codes.insert(codes.end(), 9, 'z');
  codes.push_back(0x10000);
  const std::string cut = XlFormatAttribute(Array(171, XL_FORM_UINT32_ARRAY, codes)).value;
  EXPECT_EQ(cut.size(), 2047u);
  EXPECT_EQ(cut.substr(2028), "zzzzzzzzz<0x0001000");
}

// What an access routine gives, as text: the outputs joined by commas, or "-"
// when it fails and leaves them alone.
template <typename T, std::size_t N>
std::string Got(bool ok, const T (&out)[N]) {
  std::string text;
  for (const T o : out) {
    if (!ok && o != T(99)) return "changed";
    char number[32];
    std::snprintf(number, sizeof number, "%s%.17g", text.empty() ? "" : ",", static_cast<double>(o));
    text += number;
  }
  return ok ? text : "-";
}
using Stack = std::span<const XlValue>;
std::string Integer(Stack s, int id) { std::int32_t o[1] = {99}; return Got(XlGetInteger(s, id, o[0]), o); }
std::string RealOf(Stack s, int id) { double o[1] = {99}; return Got(XlGetReal(s, id, o[0]), o); }
std::string IntPair(Stack s, int id) {
  std::int32_t o[2] = {99, 99};
  return Got(XlGetIntegerPair(s, id, o[0], o[1]), o);
}
std::string RealPair(Stack s, int id) { double o[2] = {99, 99}; return Got(XlGetRealPair(s, id, o[0], o[1]), o); }
std::string Box(Stack s, int id) { std::int32_t o[4] = {99, 99, 99, 99}; return Got(XlGetIntegerBox(s, id, o), o); }
std::string Element(const XlValue& v, int i) { std::int32_t o[1] = {99}; return Got(XlGetElement(v, i, o[0]), o); }
std::string Text(Stack s, int id, std::size_t size) {
  char text[8] = "keep";
  return XlGetText(s, id, text, size) ? std::string(text) : "-" + std::string(text);
}

TEST(XlAttributeAccess, ConvertByForm) {
  const auto m = static_cast<std::uint32_t>(-4);
  const std::vector<XlValue> stack = {
      Int(1, XL_UBYTE, 8), Int(1, XL_SINT16, -7), Real(2, 2.9f), Real(3, -2.9f), Real(4, 1e20f),
      V(5, XL_FORM_INTEGER_PAIR, XL_COMPOSITE, {m, 5}),
      V(6, XL_FORM_REAL_PAIR, XL_COMPOSITE, {Bits(-1.5f), Bits(3.75f)}),
      V(7, XL_FORM_INTEGER_BOX, XL_COMPOSITE, {1, 2, 3, m}),
      V(8, XL_FORM_REAL_BOX, XL_COMPOSITE, {Bits(0.9f), Bits(-0.9f), Bits(10.5f), Bits(-10.5f)}), Bytes(9, "A")};
  EXPECT_EQ(XlFindAttribute(stack, 1), &stack[1]);  // the most recently pushed
  EXPECT_EQ(XlFindAttribute({}, 1), nullptr);
  const auto all = [&](std::string (*get)(Stack, int)) {
    std::string text;
    for (int id = 1; id <= 10; ++id) text += get(stack, id) + " ";
    return text;
  };
  EXPECT_EQ(all(Integer), "-7 2 -2 2147483647 - - - - - - ");
  EXPECT_EQ(all(RealOf), "-7 2.9000000953674316 -2.9000000953674316 1.0000000200408773e+20 - - - - - - ");
  EXPECT_EQ(all(IntPair), "- - - - -4,5 -1,3 - - - - ");
  EXPECT_EQ(all(RealPair), "- - - - -4,5 -1.5,3.75 - - - - ");
  EXPECT_EQ(all(Box), "- - - - - - 1,2,3,-4 0,0,10,-10 - - ");
}

TEST(XlAttributeAccess, Elements) {
  const std::pair<XlValue, std::string> cases[] = {
      {Array(1, XL_FORM_SBYTE_ARRAY, {0, -2}), "-2"},         {Array(1, XL_FORM_UBYTE_ARRAY, {0, 0xFE}), "254"},
      {Array(1, XL_FORM_SINT16_ARRAY, {0, -300}), "-300"},    {Array(1, XL_FORM_UINT16_ARRAY, {0, 0xFFFE}), "65534"},
      {Array(1, XL_FORM_SINT32_ARRAY, {0, -70000}), "-70000"}, {Array(1, XL_FORM_UINT32_ARRAY, {0, 70000}), "70000"},
      {Array(1, XL_FORM_REAL32_ARRAY, {0, Bits(-3.99f)}), "-3"},
  };
  for (const auto& [value, want] : cases) {
    EXPECT_EQ(Element(value, 1) + " " + Element(value, 2) + " " + Element(value, -1), want + " - -") << want;
  }
  XlValue claims = Array(1, XL_FORM_UINT16_ARRAY, {1});
  claims.count = 5;
  EXPECT_EQ(Element(claims, 0) + Element(claims, 1), "1-");  // the second is inside count, outside the data
  EXPECT_EQ(Element(Int(1, XL_UBYTE, 1), 0) + Element(V(1, XL_FORM_INTEGER_PAIR, XL_COMPOSITE, {1, 2}), 0), "--");
}

TEST(XlAttributeAccess, Text) {
  const std::vector<XlValue> stack = {Bytes(168, "Courier"), Array(139, XL_FORM_UINT16_ARRAY, {0x141, 0x42}),
                                      Bytes(37, ""), Int(40, XL_UBYTE, 1)};
  EXPECT_EQ(Text(stack, 168, 8) + " " + Text(stack, 168, 4), "Courier Cou");
  EXPECT_EQ(Text(stack, 139, 8), "AB");  // the low byte of each element
  for (const int id : {37, 40, 170}) EXPECT_EQ(Text(stack, id, 8), "-keep") << id;
  EXPECT_EQ(Text(stack, 168, 0), "-keep");
}

// The name and value tables are checked at compile time; a few lookups prove
// the search, at the ends and gaps of the identifier range.
TEST(XlAttributeTable, LookupsAtTheEdges) {
  EXPECT_STREQ(XlAttributeName(1), "CMYColor");
  EXPECT_STREQ(XlAttributeName(146), "Vendor Data Length");
  EXPECT_STREQ(XlAttributeName(177), "CharBoldValue");
  for (const std::int32_t id : {0, 178, -1, INT32_MAX, 0x10001}) EXPECT_EQ(XlAttributeName(id), nullptr) << id;
  EXPECT_TRUE(std::ranges::equal(XlEnumerationNames(143), std::vector<std::string_view>{
                                     "NoReporting", "BackChannel", "ErrorPage", "BackChAndErrPage"}));
  EXPECT_TRUE(XlEnumerationNames(41).empty());
  EXPECT_EQ(XlFormatAttribute(Int(98, XL_SINT16, 2)).value, "8Bit");
  EXPECT_EQ(XlFormatAttribute(Int(134, XL_SINT16, 3)).value, "3");  // one past the end of its list
  EXPECT_EQ(XlFormatAttribute(Bytes(130, "A\x01")).value, "");  // beside CommentData: not a text attribute
}

}  // namespace
}  // namespace veltrix
