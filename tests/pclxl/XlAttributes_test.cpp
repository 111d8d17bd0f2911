// PCL XL attribute lines and the access routines of the operator handlers.
// The forms that the reader pushes are also listed, through these lines, by
// XlReader_test (ReadsEveryValueForm); they are not repeated here.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>
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
      {Int(40, XL_UBYTE, 7), "Orientation", "7"},
      {Int(40, XL_SINT16, -1), "Orientation", "-1"},
      {Real(40, 1.0f), "Orientation", "1.000000"},
      {Array(40, XL_FORM_UBYTE_ARRAY, {3}), "Orientation", "ReverseLandscape"},
      {Array(40, XL_FORM_UBYTE_ARRAY, {}), "Orientation", "PortraitOrientation"},  // an empty array is 0
      {Bytes(37, "LETTER"), "MediaSize", ""},
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
      {Embedded(-1), "", ""},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(&c - cases);
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
  XlValue one = Array(40, XL_FORM_UINT16_ARRAY, {});
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
  XlValue mixed = Array(171, XL_FORM_UINT32_ARRAY, {});
  mixed.count = static_cast<std::int32_t>(codes.size());
  mixed.data.resize(codes.size() * 4);
  std::memcpy(mixed.data.data(), codes.data(), mixed.data.size());
  const std::string cut = XlFormatAttribute(mixed).value;
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


// The attribute list of the format, in its own order (the vendor image
// attributes last, but Vendor Data Length among the job attributes).
struct ListedAttribute {
  std::int32_t id;
  const char* name;
};
constexpr ListedAttribute kListedAttributes[] = {
    {1, "CMYColor"}, {2, "PaletteDepth"}, {3, "ColorSpace"}, {4, "NullBrush"}, {5, "NullPen"},
    {6, "PaletteData"}, {7, "PaletteIndex"}, {8, "PatternSelectID"}, {9, "GrayLevel"}, {11, "RGBColor"},
    {12, "PatternOrigin"}, {13, "NewDestinationSize"}, {33, "DeviceMatrix"}, {34, "DitherMatrixDataType"},
    {35, "DitherOrigin"}, {36, "MediaDestination"}, {37, "MediaSize"}, {38, "MediaSource"},
    {39, "MediaType"}, {40, "Orientation"}, {41, "PageAngle"}, {42, "PageOrigin"}, {43, "PageScale"},
    {44, "ROP3"}, {45, "TxMode"}, {47, "CustomMediaSize"}, {48, "CustomMediaSizeUnits"}, {49, "PageCopies"},
    {50, "DitherMatrixSize"}, {51, "DitherMatrixDepth"}, {52, "SimplexPageMode"}, {53, "DuplexPageMode"},
    {54, "DuplexPageSide"}, {65, "ArcDirection"}, {66, "BoundingBox"}, {67, "DashOffset"},
    {68, "EllipseDimension"}, {69, "EndPoint"}, {70, "FillMode"}, {71, "LineCapStyle"},
    {72, "LineJoinStyle"}, {73, "MiterLength"}, {74, "LineDashStyle"}, {75, "PenWidth"}, {76, "Point"},
    {77, "NumberOfPoints"}, {78, "SolidLine"}, {79, "StartPoint"}, {80, "PointType"}, {81, "ControlPoint1"},
    {82, "ControlPoint2"}, {83, "ClipRegion"}, {84, "ClipMode"}, {97, "ColorDepthArray"}, {98, "ColorDepth"},
    {99, "BlockHeight"}, {100, "ColorMapping"}, {101, "CompressMode"}, {102, "DestinationBox"},
    {103, "DestinationSize"}, {104, "PatternPersistence"}, {105, "PatternDefineID"}, {107, "SourceHeight"},
    {108, "SourceWidth"}, {109, "StartLine"}, {110, "PadBytesMultiple"}, {111, "NumberOfXPairs"},
    {112, "YStart"}, {113, "XStart"}, {114, "XEnd"}, {115, "NumberOfScanLines"}, {129, "CommentData"},
    {130, "DataOrg"}, {134, "Measure"}, {136, "SourceType"}, {137, "UnitsPerMeasure"}, {138, "QueryKey"},
    {139, "StreamName"}, {140, "StreamDataLength"}, {143, "ErrorReport"}, {144, "IOReadTimeOut"},
    {146, "Vendor Data Length"}, {158, "PassThroughCommand"}, {159, "PassThroughArray"},
    {160, "Diagnostics"}, {161, "CharAngle"}, {162, "CharCode"}, {163, "CharDataSize"}, {164, "CharScale"},
    {165, "CharShear"}, {166, "CharSize"}, {167, "FontHeaderLength"}, {168, "FontName"}, {169, "FontFormat"},
    {170, "SymbolSet"}, {171, "TextData--------------->:"}, {172, "CharSubModeArray"}, {175, "XSpacingData"},
    {176, "YSpacingData"}, {177, "CharBoldValue"}, {145, "Vendor Begin Image"}, {147, "Vendor Strip Count"},
    {148, "Vendor Strip Height"}, {149, "Vendor Version"}, {151, "Vendor Color Space"},
    {152, "Vendor Interleave"},
};

const char* ListedName(std::int32_t id) {
  for (const ListedAttribute& a : kListedAttributes) {
    if (a.id == id) return a.name;
  }
  return nullptr;
}

TEST(XlAttributeTable, EveryIdentifierHasItsListedNameOrNone) {
  ASSERT_EQ(std::size(kListedAttributes), 106u);
  std::vector<std::int32_t> ids = {-1, INT32_MIN, INT32_MAX, 0xFFFF, 0x10000};
  for (std::int32_t id = 0; id < 512; ++id) ids.push_back(id);
  for (const std::int32_t id : ids) {
    SCOPED_TRACE(id);
    const char* want = ListedName(id);
    const char* got = XlAttributeName(id);
    if (want == nullptr) {
      EXPECT_EQ(got, nullptr);
    } else {
      ASSERT_NE(got, nullptr);
      EXPECT_STREQ(got, want);
      EXPECT_EQ(XlFormatAttribute(Int(id, XL_UBYTE, 0)).name, want);
    }
  }
}

// Each enumerated attribute, every value of its list and past its end, for
// every identifier; a value without a name is shown as its number.
TEST(XlAttributeLine, EnumeratedValuesShowTheirNames) {
  struct EnumeratedAttribute {
    std::int32_t id;
    std::vector<std::string_view> names;
  };
  const EnumeratedAttribute enumerated[] = {
      {2, {"1Bit", "4Bit", "8Bit"}},
      {98, {"1Bit", "4Bit", "8Bit"}},
      {3, {"BiLevel", "Gray", "RGB", "CMY"}},
      {33, {"DeviceBest", "DeviceIndependent"}},
      {37, {"LetterPaper", "LegalPaper", "A4Paper", "ExecPaper", "LedgerPaper", "A3Paper", "COM10Envelope",
          "MonarchEnvelope", "C5Envelope", "DLEnvelope", "JB4Paper", "JB5Paper", "B5Envelope", "JPostcard",
          "JDoublePostcard", "A5Paper"}},
      {38, {"DefaultSource", "AutoSelect", "ManualFeed", "MultiPurposeTray", "UpperCassette", "LowerCassette",
          "EnvelopeTray"}},
      {40, {"PortraitOrientation", "LandscapeOrientation", "ReversePortrait", "ReverseLandscape"}},
      {45, {"Opaque", "Transparent"}},
      {48, {"Inch", "Millimeter", "TenthsOfAMillimeter"}},
      {134, {"Inch", "Millimeter", "TenthsOfAMillimeter"}},
      {52, {"SimplexFrontSide"}},
      {53, {"DuplexHorizontalBinding", "DuplexVerticalBinding"}},
      {54, {"FrontMediaSide", "BackMediaSide"}},
      {65, {"ClockWise", "CounterClockWise"}},
      {70, {"NonZeroWinding", "EvenOdd"}},
      {84, {"NonZeroWinding", "EvenOdd"}},
      {71, {"ButtCap", "RoundCap", "SquareCap", "TriangleCap"}},
      {72, {"MiterJoin", "RoundJoin", "BevelJoin", "NoJoin"}},
      {80, {"UByte", "SByte", "UInt16", "SInt16", "Real32"}},
      {83, {"Interior", "Exterior"}},
      {100, {"DirectPixel", "IndexedPixel"}},
      {101, {"NoCompression", "RLECompression"}},
      {104, {"TempPattern", "PagePattern", "SessionPattern"}},
      {130, {"BinaryHighByteFirst", "BinaryLowByteFirst"}},
      {136, {"DefaultDataSource"}},
      {143, {"NoReporting", "BackChannel", "ErrorPage", "BackChAndErrPage"}},
  };
  for (std::int32_t id = 0; id < 300; ++id) {
    SCOPED_TRACE(id);
    const auto it = std::ranges::find(enumerated, id, &EnumeratedAttribute::id);
    const std::vector<std::string_view> names = it != std::end(enumerated) ? it->names : std::vector<std::string_view>{};
    const auto got = XlEnumerationNames(id);
    EXPECT_TRUE(std::ranges::equal(got, names));
    for (std::int32_t value = -1; value < 18; ++value) {
      const std::string want = value >= 0 && static_cast<std::size_t>(value) < names.size()
                                   ? std::string(names[static_cast<std::size_t>(value)])
                                   : std::to_string(value);
      EXPECT_EQ(XlFormatAttribute(Int(id, XL_SINT16, static_cast<std::uint32_t>(value))).value, want) << value;
    }
  }
}

// Only CommentData, FontName and TextData show an integer array as text; for
// any other attribute an array of two elements shows nothing.
TEST(XlAttributeLine, OnlyTheTextAttributesShowCharacters) {
  for (std::int32_t id = 0; id < 300; ++id) {
    const bool text = id == 129 || id == 168 || id == 171;
    EXPECT_EQ(XlFormatAttribute(Bytes(id, "A\x01")).value, text ? "A<0x01>" : "") << id;
    EXPECT_EQ(XlFormatAttribute(Array(id, XL_FORM_UINT16_ARRAY, {300, 66})).value, text ? "<0x012C>B" : "") << id;
  }
}
}  // namespace
}  // namespace veltrix
