// The PCL XL operator checks: every error an operator raises and the effects
// that reach the listing. Attribute sets that satisfy the operators are shown by
// the Ghostscript jobs of XlRealJobs_test.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pclxl/XlTagTable.h"
#include "pclxl/XlTestStream.h"

namespace veltrix::test {
namespace {

XlStream InPage() { return XlStream().Session().Page(); }

// BeginStream, ReadStream and EndStream of a stream holding `content` after
// its own header line.
XlStream& DefineStream(XlStream& s, std::string_view name, const XlStream& content) {
  const std::string data = ") XL;2;0\n" + content.Str();
  s.UByteArray(name).Attr(139).Op(0x5B);
  return s.UInt32(static_cast<std::uint32_t>(data.size())).Attr(140).OpWithData(0x5C, data).Op(0x5D);
}

TEST(XlOperators, EachRequiredAttributeIsChecked) {
  for (const int tag : {0x62, 0x63, 0x64, 0x65, 0x66, 0x68, 0x6A, 0x6B, 0x6C, 0x6E, 0x6F, 0x70, 0x71, 0x72, 0x73,
                        0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7F, 0x91, 0x93, 0x95, 0x96, 0x97, 0x98,
                        0x99, 0x9B, 0x9D, 0x9E, 0x9F, 0xA0, 0xA1, 0xA2, 0xA3, 0xA8, 0x4F, 0x52, 0x55, 0x5B, 0x5E,
                        0xB0, 0xB3}) {
    const std::string_view name = XlFindTag(static_cast<std::uint8_t>(tag)).name;  // names are not under test
    EXPECT_EQ(ErrorLines(DecodeXl(InPage().Op(tag), 0, 3).listing), Err(tag, name, "Missing Attribute"));
  }
}

TEST(XlOperators, ChecksRaiseTheirErrors) {
  struct Row {
    const char* name;
    XlStream job;
    std::string errors;
  };
  const std::string sequence = "Illegal Operator Sequence", value = "Illegal Attribute Value";
  const std::string missing = "Missing Attribute", length = "Illegal Data Length", noData = "Missing Data";
  const std::string undefined = "Font Undefined";
  XlStream pushes = InPage();
  for (int i = 0; i < 20; ++i) pushes.Op(0x61);
  const XlStream font = InPage().UByte(0).Attr(169).UByteArray("F1").Attr(168).Op(0x4F);
  XlStream inStream = InPage();
  DefineStream(inStream, "S", XlStream(false, false).UByteArray("T").Attr(139).Op(0x5B));
  const Row rowsTable[] = {
      {"BeginPage and EndSession before BeginSession, a second BeginSession, EndPage outside a page, no Orientation",
       XlStream().Page().Op(0x42).Session().Session().Op(0x44).Op(0x43),
       Err(0x43, "BeginPage", sequence) + Err(0x42, "EndSession", sequence) + Err(0x41, "BeginSession", sequence) +
           Err(0x44, "EndPage", sequence) + Err(0x43, "BeginPage", missing)},
      {"Measure 3; a unit per measure below 1 after truncation; millimetres and tenths",
       XlStream().UByte(3).Attr(134).UInt16Xy(600, 600).Attr(137).Op(0x41)
           .UByte(0).Attr(134).Real32Xy(600.7f, 0.5f).Attr(137).Op(0x41)
           .UByte(1).Attr(134).UInt16Xy(3, 3).Attr(137).Op(0x41).Op(0x42)
           .UByte(2).Attr(134).UInt16Xy(1, 1).Attr(137).Op(0x41),
       Err(0x41, "BeginSession", value) + Err(0x41, "BeginSession", value)},
      {"the twentieth PushGS; PopGS below level 0", pushes.Op(0x60).Op(0x60),
       Err(0x61, "PushGS", "Max GS Levels Exceeded")},
      {"SetCursorRel and BeginImage before any page",
       XlStream().SInt16Xy(1, 1).Attr(76).Op(0x6C).Image(2, 4, 5).Op(0xB0),
       Err(0x6C, "SetCursorRel", "Current Cursor Undefined") + Err(0xB0, "BeginImage", "Current Cursor Undefined")},
      {"RGBColor of two elements or a scalar, a Point of the wrong form, NullBrush for a pen, PaletteDepth "
       "without PaletteData, an empty TextData",
       InPage().UByteArray("ab").Attr(11).Op(0x63).UByte(1).Attr(11).Op(0x79).UByte(1).Attr(76).Op(0x6B)
           .UByte(0).Attr(4).Op(0x79).UByte(2).Attr(3).UByte(2).Attr(2).Op(0x6A).UByteArray("").Attr(171).Op(0xA8),
       Err(0x63, "SetBrushSource", length) + Err(0x79, "SetPenSource", length) + Err(0x6B, "SetCursor", missing) +
           Err(0x79, "SetPenSource", missing) + Err(0x6A, "SetColorSpace", missing) + Err(0xA8, "Text", missing)},
      {"point lists: none, not a multiple of 3, PointType 4, short, missing, one byte long",
       InPage().UByte(0).Attr(77).UByte(0).Attr(80).Op(0x9B)
           .UByte(4).Attr(77).UByte(0).Attr(80).OpWithData(0x93, "12345678")
           .UByte(1).Attr(77).UByte(4).Attr(80).OpWithData(0x9B, "1234")
           .UByte(2).Attr(77).UByte(0).Attr(80).OpWithData(0x9B, "123")
           .UByte(2).Attr(77).UByte(0).Attr(80).Op(0x9D)
           .UByte(2).Attr(77).UByte(0).Attr(80).OpWithData(0x9B, "12345"),
       Err(0x9B, "LinePath", length) + Err(0x93, "BezierPath", length) + Err(0x9B, "LinePath", value) +
           Err(0x9B, "LinePath", noData) + Err(0x9D, "LineRelPath", noData) + Err(0x9B, "LinePath", "Extra Data")},
      {"BeginFontHeader of a name SetFont used, in other case; again after RemoveFont",
       InPage().Real32(12).Attr(166).UInt16(277).Attr(170).UByteArray("Courier").Attr(168).Op(0x6F)
           .UByte(0).Attr(169).UByteArray("COURIER").Attr(168).Op(0x4F)
           .UByteArray("courier").Attr(168).Op(0x55).UByte(0).Attr(169).UByteArray("COURIER").Attr(168).Op(0x4F),
       Err(0x4F, "BeginFontHeader", "Font Name Already Exists")},
      {"font operators out of sequence",
       XlStream(font).Op(0x51).Op(0x54).UByteArray("F1").Attr(168).Op(0x55).Op(0x4F),
       Err(0x51, "EndFontHeader", noData) + Err(0x54, "EndChar", sequence) + Err(0x55, "RemoveFont", sequence) +
           Err(0x4F, "BeginFontHeader", sequence)},
      {"character data one byte long, then one short; BeginChar of an unknown or removed font",
       XlStream(font).UInt16(1).Attr(167).OpWithData(0x50, "h").Op(0x51).UByteArray("F1").Attr(168).Op(0x52)
           .UInt16(2).Attr(163).UByte(65).Attr(162).OpWithData(0x53, "abc")
           .UInt16(2).Attr(163).UByte(65).Attr(162).OpWithData(0x53, "a").Op(0x54)
           .UByteArray("F2").Attr(168).Op(0x52).UByteArray("F1").Attr(168).Op(0x55)
           .UByteArray("F1").Attr(168).Op(0x52),
       Err(0x53, "ReadChar", "Extra Data") + Err(0x53, "ReadChar", noData) + Err(0x52, "BeginChar", undefined) +
           Err(0x52, "BeginChar", undefined)},
      {"ExecStream of a stream without a line feed, then of an unknown stream (the code has no name)",
       InPage().UByteArray("S").Attr(139).Op(0x5B).UInt16(1).Attr(140).OpWithData(0x5C, "\x47").Op(0x5D)
           .UByteArray("S").Attr(139).Op(0x5E).UByteArray("none").Attr(139).Op(0x5E),
       Err(0x5E, "ExecStream", "")},
      {"a stream operator inside an executed stream", inStream.UByteArray("S").Attr(139).Op(0x5E),
       Err(0x5B, "BeginStream", "")},
      {"data operators outside their definitions",
       InPage().UInt16(1).Attr(167).OpWithData(0x50, "h").Rows(0, 1).Op(0xB4).Op(0xB5).Op(0xB1)
           .UInt16(1).Attr(140).OpWithData(0x5C, "x").UByteArray("S").Attr(139).Op(0x5B)
           .UByteArray("S").Attr(139).Op(0x5E).Op(0x5D),
       Err(0x50, "ReadFontHeader", sequence) + Err(0xB4, "ReadRastPattern", sequence) +
           Err(0xB5, "EndRastPattern", sequence) + Err(0xB1, "ReadImage", sequence) +
           Err(0x5C, "ReadStream", sequence) + Err(0x5E, "ExecStream", sequence) + Err(0x5D, "EndStream", noData)},
      {"image depth 3, width 0, DestinationSize missing",
       InPage().Image(3, 4, 5).Op(0xB0).Image(2, 0, 5).Op(0xB0)
           .UByte(0).Attr(100).UByte(2).Attr(98).UInt16(4).Attr(108).UInt16(5).Attr(107).Op(0xB0).Op(0xB2),
       Err(0xB0, "BeginImage", value) + Err(0xB0, "BeginImage", value) + Err(0xB0, "BeginImage", missing) +
           Err(0xB2, "EndImage", sequence)},
      {"rows out of order, past the end, empty; BeginImage inside an image",
       InPage().Image(2, 4, 5).Op(0xB0).Rows(0, 2).Op(0xB1).Rows(1, 1).Op(0xB1).Rows(2, 4).Op(0xB1)
           .Rows(2, 0).Op(0xB1).Image(2, 4, 5).Op(0xB0),
       Err(0xB1, "ReadImage", value) + Err(0xB1, "ReadImage", value) + Err(0xB1, "ReadImage", value) +
           Err(0xB0, "BeginImage", sequence)},
  };
  for (const Row& row : rowsTable) EXPECT_EQ(ErrorLines(DecodeXl(row.job, 0, 3).listing), row.errors) << row.name;
}

TEST(XlOperators, EndPageEjectsUnlessNoCopies) {
  const XlStream s = InPage().Op(0x44).Page().UByte(0).Attr(49).Op(0x44).Page().UByte(2).Attr(49).Op(0x44);
  const XlDecodeResult r = DecodeXl(s, DF_PAGE_SUM, 3);
  EXPECT_EQ(r.pageEjects, 2u);
  EXPECT_EQ(ErrorLines(r.listing), "");
  EXPECT_EQ(DecodeXl(s, 0, 3).pageEjects, 0u);
}

// The stored stream holds a Comment and an operator byte without a name; the
// byte read ahead after ExecStream (EndSession) comes after them.
TEST(XlOperators, ExecStreamReadsTheStoredTagsInPlace) {
  XlStream s = XlStream().Session();
  DefineStream(s, "Logo", XlStream(false, false).Op(0x47).Op(0x45));
  s.UByteArray("LOGO").Attr(139).Op(0x5E).Op(0x42).UByteArray("logo").Attr(139).Op(0x5E);
  EXPECT_EQ(DecodeXl(s, 0, 3).listing,
            "[XL OPERATOR  ] BeginSession\n[XL OPERATOR  ] BeginStream\n[XL OPERATOR  ] ReadStream\n"
            "[XL OPERATOR  ] EndStream\n[XL OPERATOR  ] ExecStream\n[XL OPERATOR  ] Comment\n"
            "[XL OPERATOR  ] Unknown Op 0x45\n[XL OPERATOR  ] EndSession\n[XL OPERATOR  ] ExecStream\n"
            "[XL OPERATOR  ] Comment\n[XL OPERATOR  ] Unknown Op 0x45\n");
}

// Values in an executed stream are read byte by byte, those in the job most
// often straight from the input's window (an identifier taken with its
// value, a short array at once): both must list alike. The stream is
// executed where the second job has a Comment with the same attribute.
TEST(XlOperators, StoredValuesListAsTheJobsOwn) {
  const XlStream content = XlStream(false, false).SInt16Xy(-3, 4).Attr(76).UByteArray("Hi").Attr(171)
                               .UInt16(300).Attr(49).Real32(1.5f).Attr(161).UInt16Box(1, 2, 3, 4).Attr(66)
                               .Bytes({0xC9, 0xC0, 2}).U16(65).U16(0x1FF).Attr(171).Op(0x47);
  XlStream executed = XlStream().Session(), inJob = XlStream().Session();
  DefineStream(executed, "S", content).UByteArray("S").Attr(139).Op(0x5E).Op(0x42);
  DefineStream(inJob, "S", content).UByteArray("S").Attr(139).Op(0x47).Text(content.Str()).Op(0x42);
  for (const int level : {4, 9}) {
    std::string listing = DecodeXl(executed, 0, level).listing;
    const std::size_t exec = listing.find("ExecStream");
    ASSERT_NE(exec, std::string::npos);
    listing.replace(exec, 10, "Comment");
    EXPECT_EQ(listing, DecodeXl(inJob, 0, level).listing) << level;
  }
}

}  // namespace
}  // namespace veltrix::test
