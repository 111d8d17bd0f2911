// The PCL XL operator checks: every error an operator raises, the attribute
// sets that satisfy each operator, and the effects that reach the listing.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pclxl/XlTestStream.h"

namespace veltrix::test {
namespace {

std::string ErrorLines(const std::string& listing) {
  std::string errors;
  for (std::size_t at = 0; (at = listing.find("[XL *ERROR*   ]", at)) != std::string::npos;) {
    const std::size_t end = listing.find('\n', at) + 1;
    errors += listing.substr(at, end - at);
    at = end;
  }
  return errors;
}

XlStream InPage() { return XlStream().Session().Page(); }

std::string Bytes(const XlStream& s) { return std::string(s.Data().begin(), s.Data().end()); }

// BeginStream, ReadStream and EndStream of a stream holding `content` after
// its own header line.
XlStream& DefineStream(XlStream& s, std::string_view name, const XlStream& content) {
  const std::string data = ") XL;2;0\n" + Bytes(content);
  s.UByteArray(name).Attr(139).Op(0x5B);
  s.UInt32(static_cast<std::uint32_t>(data.size())).Attr(140).OpWithData(0x5C, data);
  return s.Op(0x5D);
}

XlStream Image(XlStream s, int depth, int width, int height) {
  s.UByte(0).Attr(100).UByte(depth).Attr(98).UInt16(width).Attr(108).UInt16(height).Attr(107)
      .UInt16Xy(width, height).Attr(103);
  return s;
}

XlStream Rows(XlStream s, int start, int count) {
  s.UInt16(start).Attr(109).UInt16(count).Attr(99).UByte(0).Attr(101);
  return s;
}

TEST(XlOperators, EachRequiredAttributeIsChecked) {
  struct Row {
    int tag;
    const char* name;
  };
  const Row rows[] = {
      {0x62, "SetClipReplace"},   {0x63, "SetBrushSource"},     {0x64, "SetCharAngle"},
      {0x65, "SetCharScale"},     {0x66, "SetCharShear"},       {0x68, "SetClipRectangle"},
      {0x6A, "SetColorSpace"},    {0x6B, "SetCursor"},          {0x6C, "SetCursorRel"},
      {0x6E, "SetFillMode"},      {0x6F, "SetFont"},            {0x70, "SetLineDash"},
      {0x71, "SetLineCap"},       {0x72, "SetLineJoin"},        {0x73, "SetMiterLimit"},
      {0x75, "SetPageOrigin"},    {0x76, "SetPageRotation"},    {0x77, "SetPageScale"},
      {0x78, "SetPaintTxMode"},   {0x79, "SetPenSource"},       {0x7A, "SetPenWidth"},
      {0x7B, "SetROP"},           {0x7C, "SetSourceTxMode"},    {0x7F, "SetClipMode"},
      {0x91, "ArcPath"},          {0x93, "BezierPath"},         {0x95, "BezierRelPath"},
      {0x96, "Chord"},            {0x97, "ChordPath"},          {0x98, "Ellipse"},
      {0x99, "EllipsePath"},      {0x9B, "LinePath"},           {0x9D, "LineRelPath"},
      {0x9E, "Pie"},              {0x9F, "PiePath"},            {0xA0, "Rectangle"},
      {0xA1, "RectanglePath"},    {0xA2, "RoundRectangle"},     {0xA3, "RoundRectanglePath"},
      {0xA8, "Text"},             {0x4F, "BeginFontHeader"},    {0x52, "BeginChar"},
      {0x55, "RemoveFont"},       {0x5B, "BeginStream"},        {0x5E, "ExecStream"},
      {0xB0, "BeginImage"},       {0xB3, "BeginRastPattern"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    char line[128];
    std::snprintf(line, sizeof line, "[XL *ERROR*   ] Error processing tag %d (0x%02X) %s : Missing Attribute\n",
                  row.tag, row.tag, row.name);
    EXPECT_EQ(ErrorLines(DecodeXl(InPage().Op(row.tag), 0, 3).listing), line);
  }
}

TEST(XlOperators, AttributeSetsThatSatisfyEachOperator) {
  const std::string text3 = "\x10\x20\x30";
  XlStream points(false, false);
  points.U16(1).U16(2).U16(0xFFFD).U16(4);
  XlStream s = InPage();
  s.UByte(0).Attr(83).Op(0x62)
      .UByte(128).Attr(9).Op(0x63)
      .UByteArray(text3).Attr(11).Op(0x63)
      .SInt16(5).Attr(8).Op(0x63)
      .UByte(0).Attr(4).Op(0x63)
      .UByte(0).Attr(5).Op(0x79)
      .Real32(-30).Attr(161).Op(0x64)
      .Real32Xy(1, 1).Attr(164).Op(0x65)
      .Real32Xy(0, 0).Attr(165).Op(0x66)
      .UByte(0).Attr(83).UInt16Box(0, 0, 10, 10).Attr(66).Op(0x68)
      .UByte(2).Attr(3).Op(0x6A)
      .UByte(1).Attr(3).UByte(0).Attr(2).UByteArray(std::string("\x00\xff", 2)).Attr(6).Op(0x6A)
      .SInt16Xy(1, 2).Attr(76).Op(0x6B)
      .SInt16Xy(-1, 2).Attr(76).Op(0x6C)
      .UByte(0).Attr(70).Op(0x6E)
      .Real32(12).Attr(166).UInt16(277).Attr(170).UByteArray("Courier").Attr(168).Op(0x6F)
      .UByte(0).Attr(78).Op(0x70)
      .UInt16Array({5, 5}).Attr(74).Op(0x70)
      .UByte(1).Attr(71).Op(0x71)
      .UByte(1).Attr(72).Op(0x72)
      .UByte(10).Attr(73).Op(0x73)
      .SInt16Xy(10, 10).Attr(42).Op(0x75)
      .SInt16(90).Attr(41).Op(0x76)
      .Real32Xy(2, 2).Attr(43).Op(0x77)
      .UByte(0).Attr(134).UInt16Xy(600, 600).Attr(137).Op(0x77)
      .UByte(1).Attr(45).Op(0x78)
      .UByte(1).Attr(45).Op(0x7C)
      .UInt16(3).Attr(75).Op(0x7A)
      .UByte(252).Attr(44).Op(0x7B)
      .UByte(1).Attr(84).Op(0x7F);
  for (const int arc : {0x91, 0x96, 0x97, 0x9E, 0x9F}) {
    s.UInt16Box(0, 0, 10, 10).Attr(66).SInt16Xy(0, 5).Attr(79).SInt16Xy(5, 0).Attr(69).Op(arc);
  }
  for (const int box : {0x98, 0x99, 0xA0, 0xA1}) s.UInt16Box(0, 0, 10, 10).Attr(66).Op(box);
  for (const int round : {0xA2, 0xA3}) s.UInt16Box(0, 0, 10, 10).Attr(66).UByteXy(2, 2).Attr(68).Op(round);
  s.SInt16Xy(5, 5).Attr(69).Op(0x9B)
      .UByte(2).Attr(77).UByte(3).Attr(80).OpWithData(0x9B, Bytes(points))
      .UByte(2).Attr(77).UByte(0).Attr(80).OpWithData(0x9D, "\x01\x02\x03\x04")
      .SInt16Xy(1, 1).Attr(81).SInt16Xy(2, 2).Attr(82).SInt16Xy(3, 3).Attr(69).Op(0x93)
      .UByte(3).Attr(77).UByte(1).Attr(80).OpWithData(0x95, "\x01\x02\x03\x04\x05\x06")
      .UByteArray("Hi").Attr(171).Op(0xA8);
  s = Image(s, 2, 4, 5).Op(0xB0);
  s = Rows(s, 0, 2).OpWithData(0xB1, std::string(8, '\0'));
  s = Rows(s, 2, 3).UByte(9).Attr(110).Op(0xB1).Op(0xB2);
  s = Image(s.UByte(2).Attr(104).UByte(7).Attr(105), 0, 8, 2).Op(0xB3);
  s = Rows(s, 0, 2).Op(0xB4).Op(0xB5);
  s.UByte(0).Attr(169).UByteArray("F1").Attr(168).Op(0x4F)
      .UInt16(4).Attr(167).OpWithData(0x50, "abcd").Op(0x51)
      .UByteArray("f1").Attr(168).Op(0x52)
      .UInt16(2).Attr(163).UByte(65).Attr(162).OpWithData(0x53, "xy").Op(0x54)
      .UByteArray("F1").Attr(168).Op(0x55);
  DefineStream(s, "S", XlStream(false, false).Op(0x47));
  s.UByteArray("s").Attr(139).Op(0x5E).Op(0x44).Op(0x42);
  // Operators that check nothing, unnamed operators and PopGS at level 0.
  for (const int op : {0x45, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x60, 0x67, 0x69, 0x6D, 0x74, 0x7D, 0x80,
                       0x81, 0x84, 0x85, 0x86, 0xA9, 0xB6, 0xB8, 0xB9, 0xBF, 0x46}) {
    s.Op(op);
  }
  const XlDecodeResult r = DecodeXl(s, 0, 3);
  EXPECT_EQ(ErrorLines(r.listing), "");
  EXPECT_EQ(r.exceptions, 0u);
}

TEST(XlOperators, ChecksRaiseTheirErrors) {
  struct Row {
    const char* name;
    XlStream job;
    std::string errors;
  };
  XlStream pushes = InPage();
  for (int i = 0; i < 20; ++i) pushes.Op(0x61);
  pushes.Op(0x60).Op(0x60);
  const XlStream imageOpen = Rows(Image(InPage(), 2, 4, 5).Op(0xB0), 0, 2).Op(0xB1);
  const XlStream font = InPage().UByte(0).Attr(169).UByteArray("F1").Attr(168).Op(0x4F);
  XlStream character = font;
  character.UInt16(1).Attr(167).OpWithData(0x50, "h").Op(0x51).UByteArray("F1").Attr(168).Op(0x52);
  const XlStream linePoints = InPage().UByte(2).Attr(77).UByte(0).Attr(80);
  const std::vector<Row> rows = {
      {"BeginPage before BeginSession", XlStream().Page(),
       "[XL *ERROR*   ] Error processing tag 67 (0x43) BeginPage : Illegal Operator Sequence\n"},
      {"a second BeginSession", XlStream().Session().Session(),
       "[XL *ERROR*   ] Error processing tag 65 (0x41) BeginSession : Illegal Operator Sequence\n"},
      {"EndSession outside a session, EndPage outside a page", XlStream().Op(0x42).Session().Op(0x44),
       "[XL *ERROR*   ] Error processing tag 66 (0x42) EndSession : Illegal Operator Sequence\n"
       "[XL *ERROR*   ] Error processing tag 68 (0x44) EndPage : Illegal Operator Sequence\n"},
      {"Measure 3", XlStream().UByte(3).Attr(134).UInt16Xy(600, 600).Attr(137).Op(0x41),
       "[XL *ERROR*   ] Error processing tag 65 (0x41) BeginSession : Illegal Attribute Value\n"},
      {"a unit per measure below 1 after truncation",
       XlStream().UByte(0).Attr(134).Real32Xy(600.7f, 0.5f).Attr(137).Op(0x41),
       "[XL *ERROR*   ] Error processing tag 65 (0x41) BeginSession : Illegal Attribute Value\n"},
      {"millimetres and tenths", XlStream().UByte(1).Attr(134).UInt16Xy(3, 3).Attr(137).Op(0x41).Op(0x42)
           .UByte(2).Attr(134).UInt16Xy(1, 1).Attr(137).Op(0x41), ""},
      {"BeginPage without Orientation", XlStream().Session().Op(0x43),
       "[XL *ERROR*   ] Error processing tag 67 (0x43) BeginPage : Missing Attribute\n"},
      {"custom media size units 3",
       XlStream().Session().UByte(0).Attr(40).UByte(3).Attr(48).Real32Xy(8.5f, 11).Attr(47).Op(0x43),
       "[XL *ERROR*   ] Error processing tag 67 (0x43) BeginPage : Illegal Attribute Value\n"},
      {"custom media size below one unit",
       XlStream().Session().UByte(0).Attr(40).UByte(0).Attr(48).Real32Xy(0.0001f, 11).Attr(47).Op(0x43),
       "[XL *ERROR*   ] Error processing tag 67 (0x43) BeginPage : Illegal Attribute Value\n"},
      {"custom media size, and a page without any media size",
       XlStream().Session().UByte(0).Attr(40).UByte(0).Attr(48).Real32Xy(8.5f, 11).Attr(47).Op(0x43)
           .Op(0x44).UByte(0).Attr(40).Op(0x43), ""},
      {"the twentieth PushGS; PopGS below level 0", pushes,
       "[XL *ERROR*   ] Error processing tag 97 (0x61) PushGS : Max GS Levels Exceeded\n"},
      {"SetCursorRel and BeginImage before any page",
       Image(XlStream().SInt16Xy(1, 1).Attr(76).Op(0x6C), 2, 4, 5).Op(0xB0),
       "[XL *ERROR*   ] Error processing tag 108 (0x6C) SetCursorRel : Current Cursor Undefined\n"
       "[XL *ERROR*   ] Error processing tag 176 (0xB0) BeginImage : Current Cursor Undefined\n"},
      {"a Point of the wrong form", InPage().UByte(1).Attr(76).Op(0x6B),
       "[XL *ERROR*   ] Error processing tag 107 (0x6B) SetCursor : Missing Attribute\n"},
      {"RGBColor of two elements or a scalar", InPage().UByteArray("ab").Attr(11).Op(0x63).UByte(1).Attr(11).Op(0x79),
       "[XL *ERROR*   ] Error processing tag 99 (0x63) SetBrushSource : Illegal Data Length\n"
       "[XL *ERROR*   ] Error processing tag 121 (0x79) SetPenSource : Illegal Data Length\n"},
      {"NullBrush does not set a pen", InPage().UByte(0).Attr(4).Op(0x79),
       "[XL *ERROR*   ] Error processing tag 121 (0x79) SetPenSource : Missing Attribute\n"},
      {"PaletteDepth without PaletteData", InPage().UByte(2).Attr(3).UByte(2).Attr(2).Op(0x6A),
       "[XL *ERROR*   ] Error processing tag 106 (0x6A) SetColorSpace : Missing Attribute\n"},
      {"NumberOfPoints 0", InPage().UByte(0).Attr(77).UByte(0).Attr(80).Op(0x9B),
       "[XL *ERROR*   ] Error processing tag 155 (0x9B) LinePath : Illegal Data Length\n"},
      {"BezierPath with 4 points", InPage().UByte(4).Attr(77).UByte(0).Attr(80).OpWithData(0x93, "12345678"),
       "[XL *ERROR*   ] Error processing tag 147 (0x93) BezierPath : Illegal Data Length\n"},
      {"PointType 4", InPage().UByte(1).Attr(77).UByte(4).Attr(80).OpWithData(0x9B, "1234"),
       "[XL *ERROR*   ] Error processing tag 155 (0x9B) LinePath : Illegal Attribute Value\n"},
      {"point data short or missing",
       XlStream(linePoints).OpWithData(0x9B, "123").UByte(2).Attr(77).UByte(0).Attr(80).Op(0x9D),
       "[XL *ERROR*   ] Error processing tag 155 (0x9B) LinePath : Missing Data\n"
       "[XL *ERROR*   ] Error processing tag 157 (0x9D) LineRelPath : Missing Data\n"},
      {"point data one byte long", XlStream(linePoints).OpWithData(0x9B, "12345"),
       "[XL *ERROR*   ] Error processing tag 155 (0x9B) LinePath : Extra Data\n"},
      {"Text with an empty TextData", InPage().Bytes({0xC8, 0xC0, 0x00}).Attr(171).Op(0xA8),
       "[XL *ERROR*   ] Error processing tag 168 (0xA8) Text : Missing Attribute\n"},
      {"BeginFontHeader of a name SetFont used, in other case; again after RemoveFont",
       InPage().Real32(12).Attr(166).UInt16(277).Attr(170).UByteArray("Courier").Attr(168).Op(0x6F)
           .UByte(0).Attr(169).UByteArray("COURIER").Attr(168).Op(0x4F)
           .UByteArray("courier").Attr(168).Op(0x55)
           .UByte(0).Attr(169).UByteArray("COURIER").Attr(168).Op(0x4F),
       "[XL *ERROR*   ] Error processing tag 79 (0x4F) BeginFontHeader : Font Name Already Exists\n"},
      {"font operators out of sequence",
       XlStream(font).Op(0x51).Op(0x54).UByteArray("F1").Attr(168).Op(0x55).Op(0x4F),
       "[XL *ERROR*   ] Error processing tag 81 (0x51) EndFontHeader : Missing Data\n"
       "[XL *ERROR*   ] Error processing tag 84 (0x54) EndChar : Illegal Operator Sequence\n"
       "[XL *ERROR*   ] Error processing tag 85 (0x55) RemoveFont : Illegal Operator Sequence\n"
       "[XL *ERROR*   ] Error processing tag 79 (0x4F) BeginFontHeader : Illegal Operator Sequence\n"},
      {"ReadFontHeader outside a header", InPage().UInt16(1).Attr(167).OpWithData(0x50, "h"),
       "[XL *ERROR*   ] Error processing tag 80 (0x50) ReadFontHeader : Illegal Operator Sequence\n"},
      {"BeginChar of an unknown or removed font",
       XlStream(character).Op(0x54).UByteArray("F2").Attr(168).Op(0x52).UByteArray("F1").Attr(168).Op(0x55)
           .UByteArray("F1").Attr(168).Op(0x52),
       "[XL *ERROR*   ] Error processing tag 82 (0x52) BeginChar : Font Undefined\n"
       "[XL *ERROR*   ] Error processing tag 82 (0x52) BeginChar : Font Undefined\n"},
      {"character data one byte long, then one short",
       XlStream(character).UInt16(2).Attr(163).UByte(65).Attr(162).OpWithData(0x53, "abc")
           .UInt16(2).Attr(163).UByte(65).Attr(162).OpWithData(0x53, "a"),
       "[XL *ERROR*   ] Error processing tag 83 (0x53) ReadChar : Extra Data\n"
       "[XL *ERROR*   ] Error processing tag 83 (0x53) ReadChar : Missing Data\n"},
      {"ExecStream of an unknown stream", InPage().UByteArray("none").Attr(139).Op(0x5E),
       "[XL *ERROR*   ] Error processing tag 94 (0x5E) ExecStream : \n"},
      {"a stream operator inside an executed stream",
       [] {
         XlStream s = InPage();
         DefineStream(s, "S", XlStream(false, false).UByteArray("T").Attr(139).Op(0x5B));
         return s.UByteArray("S").Attr(139).Op(0x5E);
       }(),
       "[XL *ERROR*   ] Error processing tag 91 (0x5B) BeginStream : \n"},
      {"stream operators out of sequence",
       InPage().UInt16(1).Attr(140).OpWithData(0x5C, "x").UByteArray("S").Attr(139).Op(0x5B)
           .UByteArray("S").Attr(139).Op(0x5E).Op(0x5D),
       "[XL *ERROR*   ] Error processing tag 92 (0x5C) ReadStream : Illegal Operator Sequence\n"
       "[XL *ERROR*   ] Error processing tag 94 (0x5E) ExecStream : Illegal Operator Sequence\n"
       "[XL *ERROR*   ] Error processing tag 93 (0x5D) EndStream : Missing Data\n"},
      {"ExecStream of a stream without a line feed",
       InPage().UByteArray("S").Attr(139).Op(0x5B).UInt16(1).Attr(140).OpWithData(0x5C, "\x47").Op(0x5D)
           .UByteArray("S").Attr(139).Op(0x5E), ""},
      {"image values", Image(InPage(), 3, 4, 5).Op(0xB0).Op(0xB2),
       "[XL *ERROR*   ] Error processing tag 176 (0xB0) BeginImage : Illegal Attribute Value\n"
       "[XL *ERROR*   ] Error processing tag 178 (0xB2) EndImage : Illegal Operator Sequence\n"},
      {"image width 0", Image(InPage(), 2, 0, 5).Op(0xB0),
       "[XL *ERROR*   ] Error processing tag 176 (0xB0) BeginImage : Illegal Attribute Value\n"},
      {"DestinationSize missing",
       InPage().UByte(0).Attr(100).UByte(2).Attr(98).UInt16(4).Attr(108).UInt16(5).Attr(107).Op(0xB0),
       "[XL *ERROR*   ] Error processing tag 176 (0xB0) BeginImage : Missing Attribute\n"},
      {"rows out of order, past the end, empty; BeginImage inside an image",
       [&] {
         XlStream s = Rows(imageOpen, 1, 1).Op(0xB1);
         s = Rows(s, 2, 4).Op(0xB1);
         s = Rows(s, 2, 0).Op(0xB1);
         return Image(s, 2, 4, 5).Op(0xB0);
       }(),
       "[XL *ERROR*   ] Error processing tag 177 (0xB1) ReadImage : Illegal Attribute Value\n"
       "[XL *ERROR*   ] Error processing tag 177 (0xB1) ReadImage : Illegal Attribute Value\n"
       "[XL *ERROR*   ] Error processing tag 177 (0xB1) ReadImage : Illegal Attribute Value\n"
       "[XL *ERROR*   ] Error processing tag 176 (0xB0) BeginImage : Illegal Operator Sequence\n"},
      {"raster pattern operators outside a pattern", Rows(InPage(), 0, 1).Op(0xB4).Op(0xB5).Op(0xB1),
       "[XL *ERROR*   ] Error processing tag 180 (0xB4) ReadRastPattern : Illegal Operator Sequence\n"
       "[XL *ERROR*   ] Error processing tag 181 (0xB5) EndRastPattern : Illegal Operator Sequence\n"
       "[XL *ERROR*   ] Error processing tag 177 (0xB1) ReadImage : Illegal Operator Sequence\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ErrorLines(DecodeXl(row.job, 0, 3).listing), row.errors);
  }
}

TEST(XlOperators, EndPageEjectsUnlessNoCopies) {
  const XlStream s = InPage().Op(0x44).Page().UByte(0).Attr(49).Op(0x44).Page().UByte(2).Attr(49).Op(0x44);
  const XlDecodeResult r = DecodeXl(s, DF_PAGE_SUM, 3);
  EXPECT_EQ(r.pageEjects, 2u);
  EXPECT_EQ(ErrorLines(r.listing), "");
  EXPECT_EQ(DecodeXl(s, 0, 3).pageEjects, 0u);
}

TEST(XlOperators, ExecStreamReadsTheStoredTagsInPlace) {
  // The stored stream holds a Comment and an operator byte without a name;
  // the byte read ahead after ExecStream (EndSession) comes after them.
  XlStream s = XlStream().Session();
  DefineStream(s, "Logo", XlStream(false, false).Op(0x47).Op(0x45));
  s.UByteArray("LOGO").Attr(139).Op(0x5E).Op(0x42).UByteArray("logo").Attr(139).Op(0x5E);
  EXPECT_EQ(DecodeXl(s, 0, 3).listing,
            "[XL OPERATOR  ] BeginSession\n[XL OPERATOR  ] BeginStream\n[XL OPERATOR  ] ReadStream\n"
            "[XL OPERATOR  ] EndStream\n[XL OPERATOR  ] ExecStream\n[XL OPERATOR  ] Comment\n"
            "[XL OPERATOR  ] Unknown Op 0x45\n[XL OPERATOR  ] EndSession\n[XL OPERATOR  ] ExecStream\n"
            "[XL OPERATOR  ] Comment\n[XL OPERATOR  ] Unknown Op 0x45\n");
}

TEST(XlOperators, VendorFxnStartsAndEndsRasterGraphics) {
  XlStream s = InPage();
  s.UInt16(10).Attr(108).UInt16(5).Attr(107).Op(0x46)
      .UInt16(3).Attr(146).UByte(0).Attr(109).UByte(5).Attr(99).Op(0x46).Bytes({0x01, 0x01, 0x01})
      .Op(0x46)
      .UByte(0).Attr(108).UByte(5).Attr(107).Op(0x46);
  const std::string opening = "[XL OPERATOR  ] BeginSession\n[XL OPERATOR  ] BeginPage\n";
  EXPECT_EQ(DecodeXl(s, DF_RAS_GRAPH | DF_RAS_CONTIGUOUS, 3).listing,
            opening + "Start Raster Graphics :  width 10, height 5\nEnd Raster Graphics\nStart Raster Graphics : \n");
  EXPECT_EQ(DecodeXl(s, DF_RAS_CONTIGUOUS, 3).listing, opening);
}

}  // namespace
}  // namespace veltrix::test
