// Where each header format keeps its fields, held against a header of
// distinct bytes cut at every length: a field wholly inside the block holds
// its bytes, one cut in two holds its first bytes in its high end, one past
// the end is 0, and so is every field the format does not carry. Then the
// notice rules and the Intellifont tail, with sizes that lie.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "FontDescriptorTestSupport.h"

namespace veltrix::test {
namespace {

using Getter = std::uint32_t (*)(const FontDescriptor&);

// A field's raw bits (signed bytes as their byte value).
template <auto Member>
std::uint32_t Get(const FontDescriptor& d) {
  using T = std::remove_cvref_t<decltype(d.*Member)>;
  return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<T>>(d.*Member));
}

// Part of a field in the stream: `size` big-endian bytes at `offset`,
// shifted left by `shift` in the field's value.
struct Part {
  std::size_t offset = 0;
  int size = 1;
  int shift = 0;
};

struct FieldAt {
  const char* name;
  Getter get;
  std::vector<Part> parts;
};

// Every numeric field of the record but the notice length (checked with the
// notice): those a format does not place must be 0.
const std::vector<Getter> kAllFields = {
    Get<&FontDescriptor::descriptorSize>, Get<&FontDescriptor::headerFormat>, Get<&FontDescriptor::fontType>,
    Get<&FontDescriptor::baselinePosition>, Get<&FontDescriptor::cellWidth>, Get<&FontDescriptor::cellHeight>,
    Get<&FontDescriptor::orientation>, Get<&FontDescriptor::spacing>, Get<&FontDescriptor::symbolSet>,
    Get<&FontDescriptor::pitch>, Get<&FontDescriptor::height>, Get<&FontDescriptor::xHeight>,
    Get<&FontDescriptor::widthType>, Get<&FontDescriptor::style>, Get<&FontDescriptor::strokeWeight>,
    Get<&FontDescriptor::typeface>, Get<&FontDescriptor::slant>, Get<&FontDescriptor::serifStyle>,
    Get<&FontDescriptor::quality>, Get<&FontDescriptor::placement>, Get<&FontDescriptor::underlineDistance>,
    Get<&FontDescriptor::underlineHeight>, Get<&FontDescriptor::textHeight>, Get<&FontDescriptor::textWidth>,
    Get<&FontDescriptor::firstCode>, Get<&FontDescriptor::lastCode>, Get<&FontDescriptor::pitchExtended>,
    Get<&FontDescriptor::heightExtended>, Get<&FontDescriptor::capHeight>, Get<&FontDescriptor::fontNumber>,
    Get<&FontDescriptor::xResolution>, Get<&FontDescriptor::yResolution>,
    Get<&FontDescriptor::horizontalPixelResolution>, Get<&FontDescriptor::verticalPixelResolution>,
    Get<&FontDescriptor::topDoubleUnderlinePosition>, Get<&FontDescriptor::topDoubleUnderlineHeight>,
    Get<&FontDescriptor::bottomDoubleUnderlinePosition>, Get<&FontDescriptor::bottomDoubleUnderlineHeight>,
    Get<&FontDescriptor::printerBlockSize>, Get<&FontDescriptor::fontDataSize>,
    Get<&FontDescriptor::unidirectional>, Get<&FontDescriptor::compressed>, Get<&FontDescriptor::noHalfPitch>,
    Get<&FontDescriptor::noDoublePitch>, Get<&FontDescriptor::noHalfHeight>, Get<&FontDescriptor::noBold>,
    Get<&FontDescriptor::noDraft>, Get<&FontDescriptor::boldMethod>, Get<&FontDescriptor::pass2BaseOffset>,
    Get<&FontDescriptor::pass3BaseOffset>, Get<&FontDescriptor::pass4BaseOffset>,
    Get<&FontDescriptor::scaleFactor>, Get<&FontDescriptor::masterUnderlinePosition>,
    Get<&FontDescriptor::masterUnderlineThickness>, Get<&FontDescriptor::fontScalingTechnology>,
    Get<&FontDescriptor::variety>,
};

// Offsets 0 to 22, alike in every format (the style MSB at 4 is listed with
// each layout's style).
const std::vector<FieldAt> kCommonFields = {
    {"descriptor size", Get<&FontDescriptor::descriptorSize>, {{0, 2}}},
    {"header format", Get<&FontDescriptor::headerFormat>, {{2, 1}}},
    {"font type", Get<&FontDescriptor::fontType>, {{3, 1}}},
    {"baseline", Get<&FontDescriptor::baselinePosition>, {{6, 2}}},
    {"cell width", Get<&FontDescriptor::cellWidth>, {{8, 2}}},
    {"cell height", Get<&FontDescriptor::cellHeight>, {{10, 2}}},
    {"orientation", Get<&FontDescriptor::orientation>, {{12, 1}}},
    {"spacing", Get<&FontDescriptor::spacing>, {{13, 1}}},
    {"symbol set", Get<&FontDescriptor::symbolSet>, {{14, 2}}},
    {"pitch", Get<&FontDescriptor::pitch>, {{16, 2}}},
    {"height", Get<&FontDescriptor::height>, {{18, 2}}},
    {"xHeight", Get<&FontDescriptor::xHeight>, {{20, 2}}},
    {"width type", Get<&FontDescriptor::widthType>, {{22, 1}}},
};

// The fields from the serif style to the font number, at `at` + 0 to 20.
std::vector<FieldAt> SerifToFontNumber(std::size_t at) {
  return {
      {"serif style", Get<&FontDescriptor::serifStyle>, {{at, 1}}},
      {"quality", Get<&FontDescriptor::quality>, {{at + 1, 1}}},
      {"placement", Get<&FontDescriptor::placement>, {{at + 2, 1}}},
      {"underline distance", Get<&FontDescriptor::underlineDistance>, {{at + 3, 1}}},
      {"underline height", Get<&FontDescriptor::underlineHeight>, {{at + 4, 1}}},
      {"text height", Get<&FontDescriptor::textHeight>, {{at + 5, 2}}},
      {"text width", Get<&FontDescriptor::textWidth>, {{at + 7, 2}}},
      {"first code", Get<&FontDescriptor::firstCode>, {{at + 9, 2}}},
      {"last code", Get<&FontDescriptor::lastCode>, {{at + 11, 2}}},
      {"pitch extended", Get<&FontDescriptor::pitchExtended>, {{at + 13, 1}}},
      {"height extended", Get<&FontDescriptor::heightExtended>, {{at + 14, 1}}},
      {"cap height", Get<&FontDescriptor::capHeight>, {{at + 15, 2}}},
      {"font number", Get<&FontDescriptor::fontNumber>, {{at + 17, 4}}},
  };
}

// The DeskJet extension, from `at` (28 bytes).
std::vector<FieldAt> DeskJetExtension(std::size_t at) {
  return {
      {"horizontal resolution", Get<&FontDescriptor::horizontalPixelResolution>, {{at, 2}}},
      {"vertical resolution", Get<&FontDescriptor::verticalPixelResolution>, {{at + 2, 2}}},
      {"top double underline position", Get<&FontDescriptor::topDoubleUnderlinePosition>, {{at + 4, 1}}},
      {"top double underline height", Get<&FontDescriptor::topDoubleUnderlineHeight>, {{at + 5, 1}}},
      {"bottom double underline position", Get<&FontDescriptor::bottomDoubleUnderlinePosition>, {{at + 6, 1}}},
      {"bottom double underline height", Get<&FontDescriptor::bottomDoubleUnderlineHeight>, {{at + 7, 1}}},
      {"printer-specific block size", Get<&FontDescriptor::printerBlockSize>, {{at + 8, 2}}},
      {"font data size", Get<&FontDescriptor::fontDataSize>, {{at + 10, 2}}},
      {"unidirectional", Get<&FontDescriptor::unidirectional>, {{at + 12, 1}}},
      {"compressed", Get<&FontDescriptor::compressed>, {{at + 13, 1}}},
      {"no half pitch", Get<&FontDescriptor::noHalfPitch>, {{at + 15, 1}}},
      {"no double pitch", Get<&FontDescriptor::noDoublePitch>, {{at + 16, 1}}},
      {"no half height", Get<&FontDescriptor::noHalfHeight>, {{at + 17, 1}}},
      {"no bold", Get<&FontDescriptor::noBold>, {{at + 18, 1}}},
      {"no draft", Get<&FontDescriptor::noDraft>, {{at + 19, 1}}},
      {"bold method", Get<&FontDescriptor::boldMethod>, {{at + 20, 1}}},
      {"pass 2 base offset", Get<&FontDescriptor::pass2BaseOffset>, {{at + 22, 2}}},
      {"pass 3 base offset", Get<&FontDescriptor::pass3BaseOffset>, {{at + 24, 2}}},
      {"pass 4 base offset", Get<&FontDescriptor::pass4BaseOffset>, {{at + 26, 2}}},
  };
}

std::vector<FieldAt> Join(std::vector<FieldAt> a, const std::vector<FieldAt>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Offsets 23 to 47 of every format but the DeskJet ones. The typeface is
// stored low byte first.
std::vector<FieldAt> LaserJetFields() {
  return Join(Join(kCommonFields,
                   {
                       {"style", Get<&FontDescriptor::style>, {{4, 1, 8}, {23, 1, 0}}},
                       {"stroke weight", Get<&FontDescriptor::strokeWeight>, {{24, 1}}},
                       {"typeface", Get<&FontDescriptor::typeface>, {{25, 1, 0}, {26, 1, 8}}},
                   }),
              SerifToFontNumber(27));
}

struct Layout {
  int format;
  std::size_t length;              // the block, cut from here down to 0
  std::vector<FieldAt> fields;
  std::vector<Part> nameParts;     // 16 bytes each
};

std::vector<Layout> Layouts() {
  const std::vector<FieldAt> deskJet = Join(
      Join(kCommonFields,
           {
               {"style: one byte, the MSB dropped", Get<&FontDescriptor::style>, {{23, 1}}},
               {"stroke weight", Get<&FontDescriptor::strokeWeight>, {{24, 1}}},
               {"typeface: one byte", Get<&FontDescriptor::typeface>, {{25, 1}}},
               {"slant", Get<&FontDescriptor::slant>, {{26, 1}}},
           }),
      Join(SerifToFontNumber(27), DeskJetExtension(64)));
  const std::vector<FieldAt> deskJet500 = Join(
      Join(kCommonFields,
           {
               {"style: a whole word", Get<&FontDescriptor::style>, {{23, 2}}},
               {"stroke weight", Get<&FontDescriptor::strokeWeight>, {{25, 1}}},
               {"typeface", Get<&FontDescriptor::typeface>, {{26, 1, 0}, {27, 1, 8}}},
               {"slant", Get<&FontDescriptor::slant>, {{28, 1}}},
           }),
      Join(SerifToFontNumber(29), DeskJetExtension(66)));
  const std::vector<FieldAt> trueType = Join(
      LaserJetFields(), {
                            {"scale factor", Get<&FontDescriptor::scaleFactor>, {{64, 2}}},
                            {"master underline position", Get<&FontDescriptor::masterUnderlinePosition>, {{66, 2}}},
                            {"master underline thickness", Get<&FontDescriptor::masterUnderlineThickness>, {{68, 2}}},
                            {"scaling technology", Get<&FontDescriptor::fontScalingTechnology>, {{70, 1}}},
                            {"variety", Get<&FontDescriptor::variety>, {{71, 1}}},
                        });
  const std::vector<FieldAt> resolution =
      Join(LaserJetFields(), {
                                 {"x resolution", Get<&FontDescriptor::xResolution>, {{64, 2}}},
                                 {"y resolution", Get<&FontDescriptor::yResolution>, {{66, 2}}},
                             });
  // With a descriptor size of 66 the global data size is right after the name.
  const std::vector<FieldAt> intellifont =
      Join(LaserJetFields(), {{"global data size", Get<&FontDescriptor::printerBlockSize>, {{64, 2}}}});
  return {
      {0, 64, LaserJetFields(), {{48}}},     {7, 64, LaserJetFields(), {{48}}},
      {20, 68, resolution, {{48}}},          {15, 72, trueType, {{48}}},
      {16, 72, trueType, {{48}}},            {10, 66, intellifont, {{48}}},
      {11, 66, intellifont, {{48}}},         {5, 92, deskJet, {{48}}},
      {9, 92, deskJet, {{48}}},              {12, 110, deskJet500, {{50}, {94}}},
  };
}

// The reading rule, from the test's side: the bytes of the part that lie
// inside the block fill its high end.
std::uint32_t ExpectedValue(const Bytes& full, std::size_t cut, const FieldAt& field) {
  std::uint32_t value = 0;
  for (const Part& part : field.parts) {
    std::uint32_t bits = 0;
    for (int i = 0; i < part.size; ++i) {
      const std::size_t at = part.offset + static_cast<std::size_t>(i);
      bits = bits << 8 | (at < cut ? full[at] : 0u);
    }
    value |= bits << part.shift;
  }
  return value;
}

// Distinct bytes, none 0, so that a name has no NUL; then the sizes that
// steer the reading: a descriptor size beyond every block (no notice, and
// for formats 10 and 11 one that puts the global data size at 64), and a
// printer-specific block of 36 (only format 12 reads more name after it).
Bytes PatternHeader(const Layout& layout) {
  HeaderBytes h(layout.length);
  for (std::size_t i = 0; i < layout.length; ++i) h.Byte(i, static_cast<int>(1 + (i * 37) % 251));
  const bool intellifont = layout.format == 10 || layout.format == 11;
  h.Word(0, intellifont ? 66 : 0xFFF0).Byte(2, layout.format);
  if (layout.format == 5 || layout.format == 9) h.Word(72, 36);
  if (layout.format == 12) h.Word(74, 36);
  return h.bytes();
}

TEST(FontDescriptorLayout, EveryFieldAtEveryCut) {
  for (const Layout& layout : Layouts()) {
    const Bytes full = PatternHeader(layout);
    std::set<Getter> placed;
    for (const FieldAt& field : layout.fields) placed.insert(field.get);
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << "format " << layout.format << " cut at " << cut);
      const Bytes block(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
      const DecodedHeader got = DecodeHeader(block);
      for (const FieldAt& field : layout.fields) {
        EXPECT_EQ(field.get(got.descriptor), ExpectedValue(full, cut, field)) << field.name;
      }
      for (Getter get : kAllFields) {
        if (!placed.contains(get)) {
          EXPECT_EQ(get(got.descriptor), 0u) << "a field this format does not carry";
        }
      }
      // The name: the 16-byte parts that the block reaches; a part after
      // the first only when the block size field was read whole as 36.
      std::string name;
      for (std::size_t p = 0; p < layout.nameParts.size(); ++p) {
        const std::size_t from = layout.nameParts[p].offset;
        if (p > 0 && cut < 76) break;
        for (std::size_t at = from; at < from + 16 && at < cut; ++at) name += static_cast<char>(full[at]);
        if (cut < from + 16) break;
      }
      EXPECT_EQ(got.descriptor.fontName, name);
      // Cut before its format byte, a header reads as format 0, whose notice
      // is what the block holds past its descriptor size: a 1-byte block
      // whose size reads below 1 has one byte, a NUL since nothing is left.
      const std::size_t size = got.descriptor.descriptorSize;
      const std::string notice = cut < 3 && cut > size ? std::string(cut - size, '\0') : "";
      EXPECT_EQ(got.descriptor.notice, notice);
      EXPECT_EQ(got.descriptor.noticeLength, notice.size());
      // The whole listing but for a size of 26 or less, which ends it early.
      EXPECT_EQ(got.listing.ends_with("\n\n"), got.descriptor.descriptorSize > 26);
    }
  }
}

// --- Notice text --------------------------------------------------------------

// Formats 0, 20 and unknown ones: the bytes past the descriptor size, read
// from where the fields ended; their count comes from the sizes, so where
// the block has fewer bytes from there the notice keeps NULs (listed as
// blanks).
TEST(FontDescriptorNotice, TrailingNotice) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  std::string longText;
  for (int i = 0; i < 30; ++i) longText += letters;  // 780 bytes
  const struct {
    const char* what;
    HeaderBytes header;
    std::string notice;
  } cases[] = {
      {"20 bytes past 64", Header(64, 64, 0).Append("Copr.\x01" "1992 Acme\xFF" "Ltd."),
       "Copr.\x01" "1992 Acme\xFF" "Ltd."},
      {"block just as long as the descriptor", Header(64, 64, 0), ""},
      {"block shorter than the descriptor size", Header(64, 100, 0).Append("abc"), ""},
      {"at most 511 bytes", Header(64, 64, 0).Append(longText), longText.substr(0, 511)},
      {"format 20 reads from 68", Header(68, 68, 20).Append("notice"), "notice"},
      {"unknown format", Header(64, 64, 99).Append("xyz"), "xyz"},
      {"descriptor size past 64: read from 64", Header(64, 70, 0).Text(64, "0123456789"), "0123"},
      {"descriptor size short of the fields: NULs where the block ended", Header(68, 60, 20).Append("ab"),
       std::string("ab\0\0\0\0\0\0\0\0", 10)},
      {"descriptor size 0", Header(64, 0, 0).Append(longText), longText.substr(0, 511)},
      {"format 5 has none", Header(92, 92, 5).Append("text"), ""},
      {"format 9 has none", Header(92, 92, 9).Append("text"), ""},
      {"format 12 has none", Header(94, 94, 12).Append("text"), ""},
      {"format 15 has none", Header(72, 72, 15).Append("text"), ""},
      {"format 16 has none", Header(72, 72, 16).Append("text"), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodedHeader got = DecodeHeader(c.header.bytes());
    EXPECT_EQ(got.descriptor.notice, c.notice);
    EXPECT_EQ(got.descriptor.noticeLength, c.notice.size());
  }
}

// The Copyright line shows every notice byte, control codes, bytes from
// 0x80 and the NULs of a notice cut short as blanks.
TEST(FontDescriptorNotice, CopyrightLine) {
  const DecodedHeader got = DecodeHeader(Header(68, 60, 20).Append("(c)\x1b\x7f\x80z").bytes());
  EXPECT_EQ(LineOf(got.listing, "         Copyright : "), "         Copyright : (c) \x7f z        ");
}

// Formats 10 and 11: the global data size sits at the descriptor size less
// 2, the global data follows, and the notice is what is left but for the 2
// closing bytes. Both sizes may lie.
TEST(FontDescriptorNotice, IntellifontTail) {
  std::string longText;
  while (longText.size() < 600) longText += "0123456789";
  const struct {
    const char* what;
    HeaderBytes header;
    std::uint16_t globalDataSize;
    std::string notice;
  } cases[] = {
      {"data, notice, closing bytes", Header(80, 80, 10).Word(78, 3).Append("GGG").Append("Notice").Append(2, 9), 3,
       "Notice"},
      {"format 11", Header(70, 70, 11).Word(68, 0).Append("N11").Append(2, 9), 0, "N11"},
      {"only the closing bytes left", Header(80, 80, 10).Word(78, 3).Append("GGG").Append(2, 9), 3, ""},
      {"one notice byte", Header(80, 80, 10).Word(78, 3).Append("GGG").Append("n").Append(2, 9), 3, "n"},
      {"global data runs past the block", Header(80, 80, 10).Word(78, 1000).Append("not a notice"), 1000, ""},
      {"global data size 65535", Header(80, 80, 10).Word(78, 0xFFFF).Append("not a notice"), 0xFFFF, ""},
      {"size field cut after one byte", Header(79, 80, 10).Byte(78, 0x12), 0x1200, ""},
      {"size field past the block", Header(70, 80, 10), 0, ""},
      {"descriptor size 0xFFFF: nothing past the skip", Header(100, 0xFFFF, 10).Append("text"), 0, ""},
      {"descriptor size short of 66: no skip back, size read at 64",
       Header(64, 30, 11).Word(64, 2).Append("GG").Append("Back").Append(2, 9), 2, "Back"},
      {"descriptor size 0", Header(64, 0, 10).Word(64, 0).Append("Zero").Append(2, 9), 0, "Zero"},
      {"at most 511 bytes", Header(66, 66, 10).Word(64, 0).Append(longText).Append(2, 9), 0,
       longText.substr(0, 511)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DecodedHeader got = DecodeHeader(c.header.bytes());
    EXPECT_EQ(got.descriptor.printerBlockSize, c.globalDataSize);
    EXPECT_EQ(got.descriptor.notice, c.notice);
    EXPECT_EQ(got.descriptor.noticeLength, c.notice.size());
    EXPECT_EQ(got.listing.find("Ptr Spef. Block Sz"), std::string::npos);  // not listed for these formats
  }
}

}  // namespace
}  // namespace veltrix::test
