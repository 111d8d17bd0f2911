// Character descriptor blocks cut short at every field boundary: the fields
// that are there keep their bytes, a 2-byte field of which one byte is there
// holds that byte times 256, the rest read 0, and the listing is written all
// the same.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fonts/CharDescriptorTestSupport.h"

namespace veltrix {
namespace {

using namespace test::chars;

struct LaserJetCut {
  std::size_t length;
  std::uint8_t format, continuation, descriptorSize, charClass, orientation;
  std::uint16_t left, top, width, height, deltaX;
};

TEST(CharDescriptorCutShort, LaserJetAtEveryFieldBoundary) {
  const Bytes full = {4, 0, 14, 2, 3, 0, 0x12, 0x34, 0x56, 0x78, 0x01, 0x0A, 0x01, 0x02, 0x9A, 0xBC};
  const LaserJetCut cases[] = {
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {1, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {2, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0},
      {3, 4, 0, 14, 0, 0, 0, 0, 0, 0, 0},
      {4, 4, 0, 14, 2, 0, 0, 0, 0, 0, 0},
      {5, 4, 0, 14, 2, 3, 0, 0, 0, 0, 0},
      {6, 4, 0, 14, 2, 3, 0, 0, 0, 0, 0},
      {7, 4, 0, 14, 2, 3, 0x1200, 0, 0, 0, 0},
      {8, 4, 0, 14, 2, 3, 0x1234, 0, 0, 0, 0},
      {9, 4, 0, 14, 2, 3, 0x1234, 0x5600, 0, 0, 0},
      {10, 4, 0, 14, 2, 3, 0x1234, 0x5678, 0, 0, 0},
      {11, 4, 0, 14, 2, 3, 0x1234, 0x5678, 0x0100, 0, 0},
      {12, 4, 0, 14, 2, 3, 0x1234, 0x5678, 0x010A, 0, 0},
      {13, 4, 0, 14, 2, 3, 0x1234, 0x5678, 0x010A, 0x0100, 0},
      {14, 4, 0, 14, 2, 3, 0x1234, 0x5678, 0x010A, 0x0102, 0},
      {15, 4, 0, 14, 2, 3, 0x1234, 0x5678, 0x010A, 0x0102, 0x9A00},
      {16, 4, 0, 14, 2, 3, 0x1234, 0x5678, 0x010A, 0x0102, 0x9ABC},
  };
  for (const LaserJetCut& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << " bytes");
    const Bytes block(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(c.length));
    const CharDescriptor d = ReadBlock(block);
    EXPECT_EQ(d.format, c.format);
    EXPECT_EQ(d.continuation, c.continuation);
    EXPECT_EQ(d.descriptorSize, c.descriptorSize);
    EXPECT_EQ(d.charClass, c.charClass);
    EXPECT_EQ(d.orientation, c.orientation);
    EXPECT_EQ(d.leftOffset, c.left);
    EXPECT_EQ(d.topOffset, c.top);
    EXPECT_EQ(d.characterWidth, c.width);
    EXPECT_EQ(d.characterHeight, c.height);
    EXPECT_EQ(d.deltaX, c.deltaX);
    EXPECT_TRUE(d.data.empty());

    const Decoded listed = DecodeBlock(block, true, true);
    EXPECT_EQ(listed.width, c.deltaX);
    if (c.format == 4) {  // a short block is listed all the same; nothing to draw
      EXPECT_EQ(Lines(listed.listing).size(), 10u);
      EXPECT_EQ(LineOf(listed.listing, "         Delta X :"), "         Delta X : " + std::to_string(c.deltaX));
    } else {
      EXPECT_EQ(listed.listing, "");  // an empty block is format 0, which lists nothing
    }
  }
}

struct DeskJetCut {
  std::size_t length;
  std::uint8_t descriptorSize, charType, width, compressedWidth;
  std::int8_t leftPad, rightPad;
  std::uint8_t alignPoint;
};

TEST(CharDescriptorCutShort, DeskJet500AtEveryFieldBoundary) {
  const Bytes full = {12, 0, 7, 2, 12, 7, 0xFE, 3, 9};
  const DeskJetCut cases[] = {
      {1, 0, 0, 0, 0, 0, 0, 0},     {2, 0, 0, 0, 0, 0, 0, 0},      {3, 7, 0, 0, 0, 0, 0, 0},
      {4, 7, 2, 0, 0, 0, 0, 0},     {5, 7, 2, 12, 0, 0, 0, 0},     {6, 7, 2, 12, 7, 0, 0, 0},
      {7, 7, 2, 12, 7, -2, 0, 0},   {8, 7, 2, 12, 7, -2, 3, 0},    {9, 7, 2, 12, 7, -2, 3, 9},
  };
  for (const DeskJetCut& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << " bytes");
    const Bytes block(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(c.length));
    const CharDescriptor d = ReadBlock(block);
    EXPECT_EQ(d.format, 12);
    EXPECT_EQ(d.descriptorSize, c.descriptorSize);
    EXPECT_EQ(d.charType, c.charType);
    EXPECT_EQ(d.characterWidth, c.width);
    EXPECT_EQ(d.compressedWidth, c.compressedWidth);
    EXPECT_EQ(d.leftPsPad, c.leftPad);
    EXPECT_EQ(d.rightPsPad, c.rightPad);
    EXPECT_EQ(d.compoundAlignPoint, c.alignPoint);
    EXPECT_EQ(d.characterHeight, 50);
    const Decoded listed = DecodeBlock(block, true, true);
    EXPECT_EQ(Lines(listed.listing).size(), 9u);
    EXPECT_EQ(listed.width, 0);
  }
}

struct TrueTypeCut {
  std::size_t length;
  std::uint8_t charClass;
  std::uint16_t charDataSize, glyphDataSize, glyphId;
  std::uint8_t checksum;
};

// A char data size that is cut short or below 4 makes the glyph data size
// wrap; the skip over the glyph then ends at the end of the block.
TEST(CharDescriptorCutShort, TrueTypeAtEveryFieldBoundary) {
  const Bytes full = {15, 0, 2, 15, 0x00, 0x0A, 0x01, 0x23, 1, 2, 3, 4, 5, 6, 0, 0xAB};
  const TrueTypeCut cases[] = {
      {3, 0, 0, 65532, 0, 0},        {4, 15, 0, 65532, 0, 0},       {5, 15, 0, 65532, 0, 0},
      {6, 15, 10, 6, 0, 0},          {7, 15, 10, 6, 0x0100, 0},     {8, 15, 10, 6, 0x0123, 0},
      {14, 15, 10, 6, 0x0123, 0},    {15, 15, 10, 6, 0x0123, 0},    {16, 15, 10, 6, 0x0123, 0xAB},
  };
  for (const TrueTypeCut& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << " bytes");
    const Bytes block(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(c.length));
    const CharDescriptor d = ReadBlock(block);
    EXPECT_EQ(d.charClass, c.charClass);
    EXPECT_EQ(d.charDataSize, c.charDataSize);
    EXPECT_EQ(d.glyphDataSize, c.glyphDataSize);
    EXPECT_EQ(d.glyphId, c.glyphId);
    EXPECT_EQ(d.checksum, c.checksum);
    const Decoded listed = DecodeBlock(block, true, true);
    EXPECT_EQ(Lines(listed.listing).size(), 7u);
    EXPECT_EQ(listed.width, 0);
  }
}

}  // namespace
}  // namespace veltrix
