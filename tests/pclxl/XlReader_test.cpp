// The PCL XL stream reader: binding header, tag classes by listing level,
// value forms, embedded data, the reader's own errors and how a stretch ends.
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "pclxl/XlTestStream.h"

namespace veltrix::test {
namespace {

struct ListingCase {
  const char* name;
  XlStream job;
  std::string listing;
  int level = 4;
};

void ExpectListings(std::span<const ListingCase> cases) {
  for (const ListingCase& c : cases) EXPECT_EQ(DecodeXl(c.job, 0, c.level).listing, c.listing) << c.name;
}

const std::string kComment = "[XL OPERATOR  ] Comment\n";

TEST(XlReader, ListsEachTagClassAtItsLevel) {
  // Unused, reserved and whitespace tags, a value with its identifier, a lone
  // embedded data tag, and a Comment with embedded data.
  const XlStream mixed = XlStream().Bytes({0x01, 0xF0, 0x20}).UByte(1).Attr(49).Byte(0xFB).OpWithData(0x47, "x");
  const std::string u = "[XL UNUSED    ] Unknown tag value        Tag value 1 (0x01)\n"
                        "[XL RESERVED  ] Unknown tag value        Tag value 240 (0xF0)\n";
  const std::string w = "[XL WHITESPACE] \n", d = "[XL PUSH DATA ] UByteData\n[XL SET ATTRIB] 8BitAttrId\n";
  const std::string e = "[XL EMBEDDED  ] EmbeddedDataByte\n", x = Err(0xFB, "EmbeddedDataByte", "No Error");
  const std::string c = kComment + "                PageCopies               1\n";
  const std::pair<int, std::string> cases[] = {{1, x},     {2, u + x},         {3, u + x + kComment},
                                               {4, u + x + c}, {7, u + w + e + x + c}, {8, u + w + d + e + x + c}};
  for (const auto& [level, listing] : cases) EXPECT_EQ(DecodeXl(mixed, 0, level).listing, listing) << level;
}

TEST(XlReader, HeaderAndBindingTags) {
  const std::string_view hi300 = "\xC1\x01\x2C\xF8\x31\x47";  // PageCopies 300 high byte first, Comment
  const std::string copies = kComment + "                PageCopies               300 (0x012C)\n";
  const ListingCase cases[] = {
      {"no binding tag: nothing at all", XlStream(false, false).Bytes({0x01, 0x41, 0x0A, 0x45}), ""},
      {"the header line is skipped whatever it holds",
       XlStream(false, false).Bytes({0x29, 0x01, 0x41, 0xF0, 0x0A, 0x45}), "[XL OPERATOR  ] Unknown Op 0x45\n"},
      {"the ASCII binding reads high byte first", XlStream(false, false).Text("' XL\n").Text(hi300), copies},
      {"a later binding tag is listed and switches the byte order", XlStream().Byte(0x28).Text(hi300),
       "[XL STREAMBIND] StreamBind Binary HiLo\n" + copies},
      {"0x27 after the header changes nothing", XlStream().Byte(0x27).Bytes({0xC1, 0x2C, 0x01, 0xF8, 0x31, 0x47}),
       "[XL STREAMBIND] StreamBind Ascii\n" + copies},
  };
  ExpectListings(cases);
}

// Every value form, read in both byte orders; the most recent value is listed first.
TEST(XlReader, ReadsEveryValueForm) {
  for (const bool high : {false, true}) {
    XlStream s(high);
    s.UByte(10).Attr(2).UByte(9).Attr(3).UInt16(300).Attr(49).UInt32(70000).Attr(99).SInt16(-5).Attr(41)
        .SInt32(-70000).Attr(109).Real32(1.5f).Attr(161).UByteXy(3, 4).Attr(76).UInt16Xy(600, 300).Attr(137)
        .SInt16Xy(-3, 4).Attr(42).Real32Xy(0.5f, -2.0f).Attr(43).UInt16Box(1, 2, 30000, 4).Attr(66)
        .Byte(0xE5).U32(0x3F800000).U32(0x40000000).U32(0).U32(0xBF800000).Attr(102)
        .UByteArray(std::string("A\0B", 3)).Attr(168).Bytes({0xC9, 0xC1}).U16(2).U16(300).U16(65).Attr(171)
        .Byte(0xC8).Byte(0xC1).U16(2).Text("Hi").Attr(129).Byte(0xC8).Byte(0xC0).Byte(0).Attr(168).Op(0x47);
    EXPECT_EQ(DecodeXl(s).listing,
              "[XL OPERATOR  ] Comment\n"
              "                FontName\n"
              "                CommentData              Hi\n"
              "                TextData--------------->:<0x012C>A\n"
              "                FontName                 A<0x00>B\n"
              "                DestinationBox\n"
              "                (1.000000, 2.000000), (0.000000, -1.000000)\n"  // 44 characters
              "                BoundingBox              (1, 2), (30000, 4)\n"
              "                PageScale                (0.500000, -2.000000)\n"
              "                PageOrigin               (-3, 4)\n"
              "                UnitsPerMeasure          (600, 300)\n"
              "                Point                    (3, 4)\n"
              "                CharAngle                1.500000\n"
              "                StartLine                -70000\n"
              "                PageAngle                -5\n"
              "                BlockHeight              70000 (0x11170)\n"
              "                PageCopies               300 (0x012C)\n"
              "                ColorSpace               9\n"
              "                PaletteDepth             10 (0x0A)\n")
        << (high ? "high byte first" : "low byte first");
  }
}

// 0xFB with a length of 0, then 0xFA with a four-byte length in either byte
// order: the data is read with the operator, never as tags, and the 0xFA and
// 0xFB bytes are not counted.
TEST(XlReader, EmbeddedDataFollowsItsOperator) {
  for (const bool high : {false, true}) {
    SCOPED_TRACE(high ? "high byte first" : "low byte first");
    XlStream s(high);
    const XlDecodeResult r = DecodeXl(s.Op(0xBF).Bytes({0xFB, 0, 0xBF, 0xFA}).U32(3).Bytes({0x01, 0xF0, 0x41, 0x47}));
    EXPECT_EQ(r.listing, "[XL OPERATOR  ] PclPassThru\n[XL OPERATOR  ] PclPassThru\n" + kComment);
    EXPECT_EQ(r.usage.tagCounts[0xFA] + r.usage.tagCounts[0xFB], 0u);
    EXPECT_EQ(r.usage.tagCounts[0xBF], 2u);
    EXPECT_EQ(r.usage.tagTotal, 3u);
  }
}

TEST(XlReader, HandlerErrorsBecomeErrorLines) {
  XlStream overflow;
  for (int i = 0; i < 33; ++i) overflow.UByte(1);
  const std::string noValue = Err(0xF8, "8BitAttrId", "Attribute Without Value On Stack");
  const ListingCase cases[] = {
      {"UInt32 with the top bit set", XlStream().UInt32(0x80000000u).Attr(49).Op(0x47),
       Err(0xC2, "UInt32Data", "SYS_0") + noValue + kComment, 3},
      {"a 33rd value", overflow.Op(0x47), Err(0xC0, "UByteData", "Internal Overflow") + kComment, 3},
      {"identifier twice in a row", XlStream().UByte(1).Attr(49).Attr(49).Op(0x47),
       noValue + kComment + "                PageCopies               1\n"},
      {"array count not introduced by 0xC0 or 0xC1: the rest is read as tags",
       XlStream().Bytes({0xC8, 0xC2, 0x01, 0x45}),
       Err(0xC8, "UByteArray", "No Error") + "[XL UNUSED    ] Unknown tag value        Tag value 1 (0x01)\n"
           "[XL OPERATOR  ] Unknown Op 0x45\n"},
      {"a lone embedded data tag carries the last error", XlStream().Attr(1).Byte(0xFA).Op(0x47),
       noValue + Err(0xFA, "EmbeddedData", "Attribute Without Value On Stack") + kComment},
      {"the input ends inside a value", XlStream().Bytes({0xC1, 0x01}), Err(0xC1, "UInt16Data", "EOF reading value")},
  };
  ExpectListings(cases);
  EXPECT_EQ(DecodeXl(XlStream().Attr(1).Byte(0xFA)).exceptions, 2u);
}

// The slots of the value stack are used again after each operator: nothing
// of a value from before (its identifier, elements or words) shows in a
// later one.
TEST(XlReader, ValuesOfAnEarlierOperatorLeaveNothingBehind) {
  const XlStream s = XlStream().UByteArray("long").Attr(168).UInt16Box(1, 2, 3, 4).Attr(66).Op(0x47)
                         .UByteArray("a").UByte(7).Attr(49).Op(0x47);
  EXPECT_EQ(DecodeXl(s).listing, kComment +
                                     "                BoundingBox              (1, 2), (3, 4)\n"
                                     "                FontName                 long\n" +
                                     kComment +
                                     "                PageCopies               7\n"
                                     "                                         97 (0x61)\n");
}

TEST(XlReader, HowTheStretchEnds) {
  // The result, end of input, language exit and bytes left after the stretch.
  const std::tuple<const char*, XlStream, int, bool, bool, std::uint64_t> cases[] = {
      {"end of input", XlStream().Op(0x47), 1, true, false, 0},
      {"UEL outside a session", XlStream().Text("\x1b%-12345X@PJL"), 1, false, true, 4},
      {"UEL inside the header line", XlStream(false, false).Text(") XL\x1b%-12345X@"), 1, false, true, 1},
      {"UEL inside a session", XlStream().Session().Text("\x1b%-12345X@"), 0, false, true, 1},
      {"another escape", XlStream().Text("\x1b%-12346X@"), 0, false, false, 2},
      {"input ends inside the escape", XlStream().Text("\x1b%-123"), 0, true, false, 0},
      {"input ends inside an embedded length", XlStream().Bytes({0x47, 0xFA, 0x01, 0x00}), 0, true, false, 0},
      {"embedded length of 2^31", XlStream().Bytes({0x47, 0xFA, 0x00, 0x00, 0x00, 0x80, 0x41}), 0, false, false, 1},
      {"input ends inside array data", XlStream().Bytes({0xC8, 0xC1, 0xFF, 0xFF, 0x01}), 1, true, false, 0},
  };
  for (const auto& [name, job, result, endOfFile, languageExit, bytesLeft] : cases) {
    const XlDecodeResult r = DecodeXl(job);
    EXPECT_EQ(std::tuple(r.result, r.endOfFile, r.languageExit, r.bytesLeft),
              std::tuple(result, endOfFile, languageExit, bytesLeft)) << name;
    EXPECT_EQ(r.listing.find("*ERROR*"), std::string::npos) << name << "\n" << r.listing;
  }
}

TEST(XlReader, CountsTagsAndAttributesAtEveryLevelAndWhenSuppressed) {
  const XlStream s = XlStream().Byte(0x20).UByte(1).Attr(49).UByte(2).Attr16(500).Op(0x45).Byte(0x01);
  for (const int level : {0, 4, 9}) {
    SCOPED_TRACE(level);
    const XlUsageCounters u = DecodeXl(s, 0, level).usage;
    EXPECT_EQ(u.tagCounts[0x20], 1u);
    EXPECT_EQ(u.tagCounts[0xC0], 2u);
    EXPECT_EQ(u.tagCounts[0xF9], 1u);
    EXPECT_EQ(u.tagCounts[0x29], 0u);  // the binding tag of the header
    EXPECT_EQ(u.tagTotal, 7u);
    EXPECT_EQ(u.attributeCounts[49], 1u);
    EXPECT_EQ(u.attributeTotal, 2u);  // identifier 500 counts in the total only
  }
  // Suppressed: nothing written, exceptions and tags still counted.
  const XlDecodeResult r = DecodeXl(XlStream().Byte(0x01).Op(0x43).Attr(1), DF_SUPPRESS);
  EXPECT_EQ(r.listing, "");
  EXPECT_EQ(r.exceptions, 2u);
  EXPECT_EQ(r.usage.tagTotal, 3u);
}

}  // namespace
}  // namespace veltrix::test
