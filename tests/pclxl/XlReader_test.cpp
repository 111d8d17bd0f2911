// The PCL XL stream reader: binding header, tag classes by listing level,
// value forms, embedded data, the reader's own errors and how a stretch ends.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pclxl/XlTestStream.h"

namespace veltrix::test {
namespace {

struct ListingCase {
  const char* name;
  std::vector<std::uint8_t> job;
  std::string listing;
  int level = 4;
};

TEST(XlReader, ListsEachTagClassAtItsLevel) {
  const std::vector<std::uint8_t> mixed = XlStream()
                                              .Byte(0x01)   // unused
                                              .Byte(0xF0)   // reserved
                                              .Byte(0x20)   // whitespace
                                              .UByte(1)
                                              .Attr(49)
                                              .Byte(0xFB)   // a lone embedded data tag
                                              .OpWithData(0x47, "x")  // Comment with data
                                              .Data();
  const std::string unused = "[XL UNUSED    ] Unknown tag value        Tag value 1 (0x01)\n";
  const std::string reserved = "[XL RESERVED  ] Unknown tag value        Tag value 240 (0xF0)\n";
  const std::string comment = "[XL OPERATOR  ] Comment\n";
  const std::string copies = "                PageCopies               1\n";
  const std::string lone = "[XL EMBEDDED  ] EmbeddedDataByte\n";
  const std::string loneError = "[XL *ERROR*   ] Error processing tag 251 (0xFB) EmbeddedDataByte : No Error\n";
  const std::vector<ListingCase> cases = {
      {"level 1 lists errors only", mixed, loneError, 1},
      {"level 2 adds unknown tags", mixed, unused + reserved + loneError, 2},
      {"level 3 adds operators", mixed, unused + reserved + loneError + comment, 3},
      {"level 4 adds attribute lines", mixed, unused + reserved + loneError + comment + copies, 4},
      {"level 7 adds whitespace and embedded data", mixed,
       unused + reserved + "[XL WHITESPACE] \n" + lone + loneError + comment + copies, 7},
      {"level 8 adds data and attribute identifiers", mixed,
       unused + reserved + "[XL WHITESPACE] \n" + "[XL PUSH DATA ] UByteData\n" + "[XL SET ATTRIB] 8BitAttrId\n" +
           lone + loneError + comment + copies,
       8},
  };
  for (const ListingCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeXl(c.job, 0, c.level).listing, c.listing);
  }
}

TEST(XlReader, HeaderAndBindingTags) {
  const std::vector<ListingCase> cases = {
      {"no binding tag: nothing at all", XlStream(false, false).Bytes({0x01, 0x41, 0x0A, 0x45}).Data(), ""},
      {"the header line is skipped whatever it holds",
       XlStream(false, false).Byte(0x29).Bytes({0x01, 0x41, 0xF0}).Byte(0x0A).Op(0x45).Data(),
       "[XL OPERATOR  ] Unknown Op 0x45\n"},
      {"the ASCII binding reads high byte first",
       XlStream(false, false).Text("' XL\n").Bytes({0xC1, 0x01, 0x2C, 0xF8, 0x31, 0x47}).Data(),
       "[XL OPERATOR  ] Comment\n                PageCopies               300 (0x012C)\n"},
      {"a later binding tag is listed and switches the byte order",
       XlStream().Byte(0x28).Bytes({0xC1, 0x01, 0x2C, 0xF8, 0x31, 0x47}).Data(),
       "[XL STREAMBIND] StreamBind Binary HiLo\n[XL OPERATOR  ] Comment\n"
       "                PageCopies               300 (0x012C)\n"},
      {"0x27 after the header changes nothing",
       XlStream(true).Byte(0x27).Bytes({0xC1, 0x01, 0x2C, 0xF8, 0x31, 0x47}).Data(),
       "[XL STREAMBIND] StreamBind Ascii\n[XL OPERATOR  ] Comment\n"
       "                PageCopies               300 (0x012C)\n"},
      {"unnamed data type tags are read as single tags",
       XlStream().Bytes({0xC6, 0xD7, 0xEF}).Op(0x47).Data(), "[XL OPERATOR  ] Comment\n"},
  };
  for (const ListingCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeXl(c.job).listing, c.listing);
  }
}

// Every value form, read in both byte orders; the most recent value is listed first.
TEST(XlReader, ReadsEveryValueForm) {
  for (const bool high : {false, true}) {
    SCOPED_TRACE(high ? "high byte first" : "low byte first");
    XlStream s(high);
    s.UByte(10).Attr(2)
        .UByte(9).Attr(3)
        .UInt16(300).Attr(49)
        .UInt32(70000).Attr(99)
        .SInt16(-5).Attr(41)
        .SInt32(-70000).Attr(109)
        .Real32(1.5f).Attr(161)
        .UByteXy(3, 4).Attr(76)
        .UInt16Xy(600, 300).Attr(137)
        .SInt16Xy(-3, 4).Attr(42)
        .Real32Xy(0.5f, -2.0f).Attr(43)
        .UInt16Box(1, 2, 30000, 4).Attr(66)
        .Byte(0xE5).U32(0x3F800000).U32(0x40000000).U32(0).U32(0xBF800000).Attr(102)
        .UByteArray(std::string("A\0B", 3)).Attr(168)
        .UInt16Array({300, 65}).Attr(171)
        .Byte(0xC8).Byte(0xC1).U16(2).Text("Hi").Attr(129)
        .Byte(0xC8).Byte(0xC0).Byte(0).Attr(168)
        .Op(0x47);
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
              "                PaletteDepth             10 (0x0A)\n");
  }
}

TEST(XlReader, EmbeddedDataFollowsItsOperator) {
  // 0xFB with a length of 0, then 0xFA with a four-byte length in either byte
  // order: the data is read with the operator, never as tags.
  for (const bool high : {false, true}) {
    SCOPED_TRACE(high ? "high byte first" : "low byte first");
    XlStream s(high);
    s.Op(0xBF).Bytes({0xFB, 0x00}).Op(0xBF).Byte(0xFA).U32(3).Bytes({0x01, 0xF0, 0x41}).Op(0x47);
    const XlDecodeResult r = DecodeXl(s);
    EXPECT_EQ(r.listing, "[XL OPERATOR  ] PclPassThru\n[XL OPERATOR  ] PclPassThru\n[XL OPERATOR  ] Comment\n");
    EXPECT_EQ(r.usage.tagCounts[0xFA] + r.usage.tagCounts[0xFB], 0u);
    EXPECT_EQ(r.usage.tagCounts[0xBF], 2u);
    EXPECT_EQ(r.usage.tagTotal, 3u);
  }
}

TEST(XlReader, HandlerErrorsBecomeErrorLines) {
  XlStream overflow;
  for (int i = 0; i < 33; ++i) overflow.UByte(1);
  overflow.Op(0x47);
  const std::vector<ListingCase> cases = {
      {"UInt32 with the top bit set", XlStream().UInt32(0x80000000u).Attr(49).Op(0x47).Data(),
       "[XL *ERROR*   ] Error processing tag 194 (0xC2) UInt32Data : SYS_0\n"
       "[XL *ERROR*   ] Error processing tag 248 (0xF8) 8BitAttrId : Attribute Without Value On Stack\n"
       "[XL OPERATOR  ] Comment\n",
       3},
      {"a 33rd value", overflow.Data(),
       "[XL *ERROR*   ] Error processing tag 192 (0xC0) UByteData : Internal Overflow\n"
       "[XL OPERATOR  ] Comment\n",
       3},
      {"identifier twice in a row", XlStream().UByte(1).Attr(49).Attr(49).Op(0x47).Data(),
       "[XL *ERROR*   ] Error processing tag 248 (0xF8) 8BitAttrId : Attribute Without Value On Stack\n"
       "[XL OPERATOR  ] Comment\n                PageCopies               1\n"},
      {"array count not introduced by 0xC0 or 0xC1: the rest is read as tags",
       XlStream().Bytes({0xC8, 0xC2, 0x01, 0x45}).Data(),
       "[XL *ERROR*   ] Error processing tag 200 (0xC8) UByteArray : No Error\n"
       "[XL UNUSED    ] Unknown tag value        Tag value 1 (0x01)\n"
       "[XL OPERATOR  ] Unknown Op 0x45\n"},
      {"a lone embedded data tag carries the last error",
       XlStream().Attr(1).Byte(0xFA).Op(0x47).Data(),
       "[XL *ERROR*   ] Error processing tag 248 (0xF8) 8BitAttrId : Attribute Without Value On Stack\n"
       "[XL *ERROR*   ] Error processing tag 250 (0xFA) EmbeddedData : Attribute Without Value On Stack\n"
       "[XL OPERATOR  ] Comment\n"},
      {"the input ends inside a value", XlStream().Bytes({0xC1, 0x01}).Data(),
       "[XL *ERROR*   ] Error processing tag 193 (0xC1) UInt16Data : EOF reading value\n"},
  };
  for (const ListingCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeXl(c.job, 0, c.level).listing, c.listing);
  }
  EXPECT_EQ(DecodeXl(XlStream().Attr(1).Byte(0xFA)).exceptions, 2u);
}

TEST(XlReader, HowTheStretchEnds) {
  struct EndCase {
    const char* name;
    std::vector<std::uint8_t> job;
    int result;
    bool endOfFile;
    bool languageExit;
    std::uint64_t bytesLeft;
  };
  const std::vector<EndCase> cases = {
      {"end of input", XlStream().Op(0x47).Data(), 1, true, false, 0},
      {"UEL outside a session", XlStream().Text("\x1b%-12345X@PJL").Data(), 1, false, true, 4},
      {"UEL inside the header line", XlStream(false, false).Text(") XL\x1b%-12345X@").Data(), 1, false, true, 1},
      {"UEL inside a session", XlStream().Session().Text("\x1b%-12345X@").Data(), 0, false, true, 1},
      {"UEL inside a page", XlStream().Session().Page().Text("\x1b%-12345X").Data(), 0, false, true, 0},
      {"another escape", XlStream().Text("\x1b%-12346X@").Data(), 0, false, false, 2},
      {"input ends inside the escape", XlStream().Text("\x1b%-123").Data(), 0, true, false, 0},
      {"input ends inside an embedded length", XlStream().Bytes({0x47, 0xFA, 0x01, 0x00}).Data(), 0, true, false, 0},
      {"embedded length of 2^31", XlStream().Bytes({0x47, 0xFA, 0x00, 0x00, 0x00, 0x80, 0x41}).Data(), 0, false,
       false, 1},
      {"input ends inside embedded data", XlStream().Bytes({0x47, 0xFB, 0x09, 0x01}).Data(), 1, true, false, 0},
      {"input ends inside array data", XlStream().Bytes({0xC8, 0xC1, 0xFF, 0xFF, 0x01}).Data(), 1, true, false, 0},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    const XlDecodeResult r = DecodeXl(c.job);
    EXPECT_EQ(r.result, c.result);
    EXPECT_EQ(r.endOfFile, c.endOfFile);
    EXPECT_EQ(r.languageExit, c.languageExit);
    EXPECT_EQ(r.bytesLeft, c.bytesLeft);
    EXPECT_EQ(r.listing.find("*ERROR*"), std::string::npos) << r.listing;
  }
}

TEST(XlReader, CountsTagsAndAttributesAtEveryLevel) {
  const XlStream s = XlStream().Byte(0x20).UByte(1).Attr(49).UByte(2).Attr16(500).Op(0x45).Byte(0x01);
  for (const int level : {0, 4, 9}) {
    SCOPED_TRACE(level);
    const XlDecodeResult r = DecodeXl(s, 0, level);
    EXPECT_EQ(r.usage.tagCounts[0x20], 1u);
    EXPECT_EQ(r.usage.tagCounts[0xC0], 2u);
    EXPECT_EQ(r.usage.tagCounts[0xF9], 1u);
    EXPECT_EQ(r.usage.tagCounts[0x29], 0u);  // the binding tag of the header
    EXPECT_EQ(r.usage.tagTotal, 7u);
    EXPECT_EQ(r.usage.attributeCounts[49], 1u);
    EXPECT_EQ(r.usage.attributeTotal, 2u);  // identifier 500 counts in the total only
  }
}

TEST(XlReader, SuppressWritesNothingButStillCounts) {
  const XlStream s = XlStream().Byte(0x01).Op(0x43).Attr(1);
  const XlDecodeResult r = DecodeXl(s, DF_SUPPRESS);
  EXPECT_EQ(r.listing, "");
  EXPECT_EQ(r.exceptions, 2u);
  EXPECT_EQ(r.usage.tagTotal, 3u);
}

TEST(XlReader, ContiguousRasterHidesVendorFxn) {
  // VendorFxn with three bytes of vendor data: they are consumed, not listed.
  const XlStream s = XlStream().UByte(3).Attr(146).Op(0x46).Bytes({0x01, 0x01, 0x01}).Op(0x47);
  const XlDecodeResult hidden = DecodeXl(s, DF_RAS_CONTIGUOUS);
  EXPECT_EQ(hidden.listing, "[XL OPERATOR  ] Comment\n");
  EXPECT_EQ(hidden.usage.tagCounts[0x46], 0u);
  const XlDecodeResult shown = DecodeXl(s);
  EXPECT_EQ(shown.listing,
            "[XL OPERATOR  ] VendorFxn\n                Vendor Data Length       3\n[XL OPERATOR  ] Comment\n");
  EXPECT_EQ(shown.usage.tagCounts[0x46], 1u);
}

}  // namespace
}  // namespace veltrix::test
