// Vendor image data of PCL XL: the run-length code of the strips, their
// one-bit form, the record walk of a vendor block with its tables and blank
// strips, the raster blocks in the listing, and jobs of a real driver
// (tests/pclxl/make-vendor-jobs.sh) held against Ghostscript's own bitmap of
// the same page.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "decode/RunState.h"
#include "pclxl/XlOperators.h"
#include "pclxl/XlTestStream.h"
#include "pclxl/XlVendorImage.h"
#include "pclxl/XlVendorStrips.h"
#include "raster/RasterTestSupport.h"

namespace veltrix::test {
namespace {


// n grey-looking RGB pixels (k, k, k) for k = first, first + 1, ... (mod 256).
Bytes Ramp(std::size_t n, int first) {
  Bytes all;
  for (std::size_t i = 0; i < n; ++i) all.insert(all.end(), 3, static_cast<std::uint8_t>(first + i));
  return all;
}

const Bytes kWhite3 = Hex("FFFFFF");
// ---- The run-length code --------------------------------------------------

struct StripCase {
  const char* name;
  std::int32_t width, rows;
  std::uint8_t pixelSize;
  bool bytePixels;  // tag 0x9031
  Bytes payload;
  VendorStripStatus want;
  Bytes wantPixels = {};  // the rows one after another, without their padding
};

VendorStripStatus DecodeStrip(const StripCase& c, Bytes& pixels) {
  const VendorStripShape shape = VendorStripShapeOf(c.width, c.rows, c.pixelSize);
  Bytes rows(shape.stride * static_cast<std::size_t>(std::max(c.rows, 0)), 0xEE);
  Bytes seed(shape.stride, 0xEE);
  const VendorStripStatus status = DecodeVendorStrip(c.payload, rows, seed, shape, c.bytePixels);
  const std::size_t rowBytes = static_cast<std::size_t>(std::max(c.width, 0)) * c.pixelSize;
  for (std::int32_t r = 0; r < c.rows && status == VendorStripStatus::kDecoded; ++r) {
    const auto row = rows.begin() + static_cast<std::ptrdiff_t>(r * shape.stride);
    pixels.insert(pixels.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    // The padding up to the stride stays white.
    EXPECT_EQ(Bytes(row + static_cast<std::ptrdiff_t>(rowBytes), row + static_cast<std::ptrdiff_t>(shape.stride)),
              Bytes(shape.stride - rowBytes, 0xFF));
  }
  return status;
}

TEST(XlVendorStrips, RunLengthCodeRows) {
  using S = VendorStripStatus;
  const StripCase cases[] = {
      // Seed count 3 continued by 5: eight white seed pixels, then operation 0, n = 0: one literal.
      {"seed 3+5 then a literal", 9, 1, 3, false, Hex("18 05 | 102030"), S::kDecoded,
       Concat({Repeat(kWhite3, 8), Hex("102030")})},
      // Operation 4, n = 7, count byte 2: r = 9, eleven pixels.
      {"fill 7+2+2 of a new colour", 11, 1, 3, false, Hex("87 | 0A141E | 02"), S::kDecoded, Repeat(Hex("0A141E"), 11)},
      {"eight literals and a count byte of 0", 8, 1, 3, false, Concat({Hex("07"), Ramp(8, 1), Hex("00")}), S::kDecoded,
       Ramp(8, 1)},
      {"literal count bytes of 255 go on", 265, 1, 3, false,
       Concat({Hex("07"), Ramp(8, 0), Hex("FF"), Ramp(255, 8), Hex("02"), Ramp(2, 263)}), S::kDecoded, Ramp(265, 0)},
      // Operation 1, n = 2: the west pixel, then two literals.
      {"west neighbour then literals", 4, 1, 3, false, Hex("00 112233 | 22 445566 778899"), S::kDecoded,
       Hex("112233 112233 445566 778899")},
      {"west of the first column is white", 2, 1, 3, false, Hex("21 010203"), S::kDecoded, Hex("FFFFFF 010203")},
      // Operation 2 in the second row: seed pixels x + 1; past the last column white.
      {"north-east neighbours", 3, 2, 3, false, Hex("02 010101 020202 030303 | 40 | 40 | 40"), S::kDecoded,
       Hex("010101 020202 030303 | 020202 030303 FFFFFF")},
      // Operation 3: the last pixel of the run before, and it stays cached.
      {"cached colour", 5, 1, 3, false, Hex("01 0A0A0A 0B0B0B | 61 0C0C0C | 60"), S::kDecoded,
       Hex("0A0A0A 0B0B0B 0B0B0B 0C0C0C 0C0C0C")},
      {"the cached colour starts white", 2, 1, 3, false, Hex("E0"), S::kDecoded, Hex("FFFFFF FFFFFF")},
      // Operations 5, 6 and 7 fill two pixels each and cache their colour.
      {"west, north-east and cached fills", 7, 2, 3, false,
       Concat({Hex("06"), Ramp(7, 1), Hex("00 AAAAAA | A0 | C0 | E0")}), S::kDecoded,
       Concat({Ramp(7, 1), Hex("AAAAAA AAAAAA AAAAAA 050505 050505 050505 050505")})},
      // 0x9F: seed count 3 + 0 completes the row; its operation bits are not used.
      {"a seed copy that ends the row ends the command", 3, 2, 3, false, Hex("02 010101 020202 030303 | 9F 00"),
       S::kDecoded, Hex("010101 020202 030303 | 010101 020202 030303")},
      {"seed count over a byte of 255", 259, 2, 3, false, Hex("18 FF 01 | 18 FF 00 112233"), S::kDecoded,
       Concat({Repeat(kWhite3, 259), Repeat(kWhite3, 258), Hex("112233")})},
      // Grey pixels: 255 minus the first data byte; GrayRunDecoder reads three.
      {"grey literals of three bytes", 3, 1, 1, false, Hex("02 | 0A6363 FF0000 000000"), S::kDecoded,
       Hex("F5 00 FF")},
      {"byte-pixel grey literals and fill", 4, 1, 1, true, Hex("01 0A FF | 80 20"), S::kDecoded, Hex("F5 00 DF DF")},
      // Failures.
      {"seed copy past the row", 2, 1, 3, false, Hex("18 00"), S::kSeedPastRow},
      {"literal run past the row", 2, 1, 3, false, Concat({Hex("02"), Ramp(3, 0)}), S::kRunPastRow},
      {"fill past the row", 2, 1, 3, false, Hex("81 000000"), S::kRunPastRow},
      {"data ends inside a row", 3, 1, 3, false, Hex("00 010101"), S::kRunPastRow},
      {"data ends inside a pixel", 2, 1, 3, false, Hex("01 010101 0202"), S::kDataShort},
      {"data ends before the last row", 1, 2, 3, false, Hex("00 010101"), S::kDataShort},
      {"one byte after the last row", 1, 1, 3, false, Hex("00 010101 | 00"), S::kDataLeftOver},
      {"no width", 0, 1, 3, false, Hex("00"), S::kNoPixels},
  };
  for (const StripCase& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes pixels;
    EXPECT_EQ(static_cast<int>(DecodeStrip(c, pixels)), static_cast<int>(c.want));
    if (c.want == VendorStripStatus::kDecoded) {
      EXPECT_EQ(pixels, c.wantPixels);
    }
  }
}

// ---- The record walk ------------------------------------------------------

Bytes Record(std::uint16_t tag, const Bytes& payload, std::uint32_t length) {
  Bytes r = {static_cast<std::uint8_t>(tag), static_cast<std::uint8_t>(tag >> 8)};
  for (int i = 0; i < 4; ++i) r.push_back(static_cast<std::uint8_t>(length >> (8 * i)));
  return Concat({r, payload});
}
Bytes Record(std::uint16_t tag, const Bytes& payload) {
  return Record(tag, payload, static_cast<std::uint32_t>(payload.size()));
}

XlView PrepareRun(RunState& run, std::uint32_t flags, ByteReader& in, OutputSink& sink) {
  run.ctx.flags = flags;
  run.ctx.input = &in;
  run.ctx.listing = &sink;
  ResetRaster(run.rasterRows, false, (flags & DF_RAS_GRAPH) != 0);
  return XlViewOf(run);
}

// A reader as the vendor data finds it: the image and strip that the
// VendorFxn operators before the data announced are in its raster state.
struct VendorHarness {
  std::string listing;
  OutputSink sink{&listing};
  ByteReader in{std::span<const std::uint8_t>()};
  RunState run;
  XlReader reader;

  explicit VendorHarness(std::uint32_t flags = DF_RAS_GRAPH) : reader(PrepareRun(run, flags, in, sink)) {}
  VendorHarness& Image(std::int32_t width, std::int32_t height, std::int32_t colourSpace) {
    XlRasterState& r = reader.state.raster;
    r.sourceWidth = r.destinationWidth = width;
    r.sourceHeight = r.destinationHeight = height;
    r.vendorColorSpace = colourSpace;
    reader.state.dataBlock = XL_BLOCK_IMAGE;
    return *this;
  }
  VendorHarness& Strip(std::int32_t startLine, std::int32_t rows) {
    reader.state.raster.startLine = startLine;
    reader.state.raster.blockHeight = rows;
    return *this;
  }
  bool Walk(const Bytes& block) { return XlDecodeVendorImageData(reader, block); }
  std::string Listing() {
    sink.Flush();
    return listing;
  }
};

TEST(XlVendorImage, RecordWalkKeepsTheTables) {
  struct WalkCase {
    const char* name;
    Bytes block;
    Bytes wantA, wantB;  // both start as {EE}
  };
  const Bytes kOld = {0xEE};
  const WalkCase cases[] = {
      {"six bytes are not looked at", Hex("00 80 00 00 00 00"), kOld, kOld},
      {"seven bytes are a record", Hex("00 80 01 00 00 00 AA"), {0xAA}, kOld},
      {"tables A and B", Concat({Record(0x8000, Hex("01 02")), Record(0x8001, Hex("03"))}), Hex("01 02"), {0x03}},
      {"a later table replaces the first", Concat({Record(0x8000, Hex("01 02")), Record(0x8000, Hex("09"))}), {0x09},
       kOld},
      {"a length past the block is cut to it", Record(0x8001, Hex("05 06"), 0xFFFFFFFF), kOld, Hex("05 06")},
      {"unknown tags are skipped", Concat({Record(0x1234, Hex("AB CD")), Record(0x8000, Hex("0F"))}), {0x0F}, kOld},
      {"a tag high byte first is another tag", Hex("80 00 01 00 00 00 AA"), kOld, kOld},
      {"six bytes left after a record", Concat({Record(0x8000, Hex("01")), Hex("01 80 00 00 00 00")}), {0x01}, kOld},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.name);
    VendorHarness h;
    h.reader.state.vendorTableA = kOld;
    h.reader.state.vendorTableB = kOld;
    EXPECT_TRUE(h.Walk(c.block));
    EXPECT_EQ(h.reader.state.vendorTableA, c.wantA);
    EXPECT_EQ(h.reader.state.vendorTableB, c.wantB);
    EXPECT_EQ(h.Listing(), "");
  }
}

// Two rows of ten colour pixels: the first black, the rest seed copies.
const Bytes kBlackFirstPixel = Hex("00 000000 | 18 06 | 18 07");
const std::string kBlackFirstRows = "<rast>:1       \n<rast>:1       \n";

TEST(XlVendorImage, CompressedStripsAreShownAsOneBitRows) {
  struct ShowCase {
    const char* name;
    std::uint32_t flags;
    std::int32_t width, rows, colourSpace;
    Bytes block;
    std::string want;
  };
  const Bytes grey = Hex("02 | 800000 7F0000 FF0000");  // 7F 80 00: black, white, black
  const ShowCase cases[] = {
      {"a black first pixel", DF_RAS_GRAPH, 10, 2, 4, Record(0x9011, kBlackFirstPixel),
       "Raster Block\n" + kBlackFirstRows},
      {"rows not listed", 0, 10, 2, 4, Record(0x9011, kBlackFirstPixel), ""},
      {"exceptions only", DF_RAS_GRAPH | DF_SUPPRESS, 10, 2, 4, Record(0x9011, kBlackFirstPixel), ""},
      {"sums 382 and 383", DF_RAS_GRAPH, 2, 1, 4, Record(0x9011, Hex("01 7F807F 7F8080")),
       "Raster Block\n<rast>:1       \n"},
      {"grey 127 and 128", DF_RAS_GRAPH, 3, 1, 0, Record(0x9011, grey), "Raster Block\n<rast>:1 1     \n"},
      {"a white row", DF_RAS_GRAPH, 3, 1, 0, Record(0x9031, Hex("E0 | 00 00")), "Raster Block\n<rast>:\n"},
      // A trailing byte fails the first strip; the walk goes on to the second.
      {"a failing strip is dropped", DF_RAS_GRAPH, 10, 2, 4,
       Concat({Record(0x9011, Concat({kBlackFirstPixel, Hex("00")})), Record(0x9011, kBlackFirstPixel)}),
       "Raster Block\n" + kBlackFirstRows},
      {"a blank strip is not shown", DF_RAS_GRAPH, 10, 2, 4, Record(0x9021, kBlackFirstPixel), ""},
  };
  for (const ShowCase& c : cases) {
    SCOPED_TRACE(c.name);
    VendorHarness h(c.flags);
    h.Image(c.width, 64, c.colourSpace).Strip(0, c.rows);
    EXPECT_TRUE(h.Walk(c.block));
    EXPECT_EQ(h.Listing(), c.want);
  }
}

TEST(XlVendorImage, StripBufferCap) {
  // 4096 grey pixels a row, all seed copies: 3 + 16 x 255 + 13.
  const Bytes whiteRow = Concat({Hex("18"), Bytes(16, 0xFF), Hex("0D")});
  // (rows + 1) x 4096 bytes: 8191 rows fill the cap exactly.
  constexpr std::int32_t kRowsAtCap = static_cast<std::int32_t>(kMaxVendorStripBytes / 4096) - 1;
  for (const std::int32_t rows : {kRowsAtCap, kRowsAtCap + 1}) {
    SCOPED_TRACE(rows);
    VendorHarness h;
    h.Image(4096, 1 << 20, 0).Strip(0, rows);
    const bool fits = rows == kRowsAtCap;
    EXPECT_EQ(h.Walk(Concat({Record(0x9031, Repeat(whiteRow, static_cast<std::size_t>(rows))), Record(0x8000, {0x01})})),
              fits);
    // Past the cap the block ends at the strip: the table after it is not kept.
    EXPECT_EQ(h.reader.state.vendorTableA, fits ? Bytes{0x01} : Bytes{});
    const std::string listing = h.Listing();
    EXPECT_EQ(listing.size(), fits ? std::string("Raster Block\n").size() + rows * std::string("<rast>:\n").size() : 0);
  }
  // The same claim holds at one byte a pixel and passes the cap at three.
  for (const std::int32_t colourSpace : {0, 4}) {
    SCOPED_TRACE(colourSpace);
    VendorHarness h;
    h.Image(3'000'000, 64, colourSpace).Strip(0, 8);
    EXPECT_EQ(h.Walk(Record(0x9021, {0x00})), colourSpace == 0);
    EXPECT_EQ(h.reader.state.raster.linesDone, colourSpace == 0 ? 8 : 0);
    EXPECT_EQ(h.reader.errorCode, XL_ERR_NONE);
  }
}

TEST(XlVendorImage, BlankStripsCountRows) {
  struct BlankStrip {
    std::int32_t startLine, rows, colourSpace;
    bool ok;
    std::int64_t linesDone;  // after the strip
  };
  struct BlankCase {
    const char* name;
    std::vector<BlankStrip> strips;
  };
  const BlankCase cases[] = {
      {"strips in order fill the image", {{0, 128, 4, true, 128}, {128, 128, 4, true, 256}}},
      {"a strip before the rows received", {{0, 128, 4, true, 128}, {64, 16, 4, false, 128}}},
      {"no rows", {{0, 0, 4, false, 0}}},
      {"past the image", {{200, 57, 4, false, 0}}},
      {"up to the last row", {{200, 56, 4, true, 256}}},
      // A strip of another colour kind lays the image out again from row 0.
      {"the colour kind changes", {{0, 128, 4, true, 128}, {0, 128, 0, true, 128}, {0, 16, 0, false, 128}}},
      // Any colour space but 0 is of the colour kind, though below 1 its pixels are grey.
      {"a negative colour space", {{0, 128, 4, true, 128}, {0, 16, -1, false, 128}}},
  };
  for (const BlankCase& c : cases) {
    SCOPED_TRACE(c.name);
    VendorHarness h;
    h.Image(100, 256, 4);
    for (const BlankStrip& s : c.strips) {
      h.reader.state.raster.vendorColorSpace = s.colourSpace;
      h.Strip(s.startLine, s.rows);
      EXPECT_EQ(h.Walk(Concat({Record(0x9021, Hex("01 02 03")), Record(0x8001, {0x0B})})), s.ok);
      EXPECT_EQ(h.reader.state.raster.linesDone, s.linesDone);
      EXPECT_EQ(h.reader.errorCode, s.ok ? XL_ERR_NONE : XL_ERR_ILLEGAL_VALUE);
      // A failing strip ends the block before the record after it.
      EXPECT_EQ(h.reader.state.vendorTableB, s.ok ? Bytes{0x0B} : Bytes{});
      EXPECT_EQ(h.reader.state.dataBlock, XL_BLOCK_IMAGE);
      h.reader.state.vendorTableB.clear();
    }
    EXPECT_EQ(h.Listing(), "");
  }
  // Laying the rows out again needs a positive image size.
  VendorHarness h;
  h.Image(100, 256, 4).Strip(0, 16);
  h.reader.state.raster.destinationWidth = 0;
  EXPECT_FALSE(h.Walk(Record(0x9021, {0x00})));
  EXPECT_EQ(h.reader.errorCode, XL_ERR_ILLEGAL_VALUE);
  EXPECT_EQ(h.reader.state.dataBlock, XL_BLOCK_NONE);
}

// ---- Through the decoder --------------------------------------------------

std::string EnterXl(const XlStream& s) { return "\x1B%-12345X@PJL ENTER LANGUAGE=PCLXL\n" + s.Str(); }

TEST(XlVendorImage, VendorDataFollowsItsOperator) {
  for (const bool highByteFirst : {false, true}) {
    SCOPED_TRACE(highByteFirst);
    const Bytes block = Record(0x9011, kBlackFirstPixel);
    XlStream s(highByteFirst);
    s.Session().Page();
    s.UInt16(10).Attr(108).UInt16(2).Attr(107).UByte(4).Attr(151).UInt32(0).Attr(146).Op(0x46);
    s.UInt16(0).Attr(109).UInt16(2).Attr(99).UInt32(static_cast<std::uint32_t>(block.size())).Attr(146).Op(0x46);
    s.Text(std::string(block.begin(), block.end()));
    s.Op(0x46).Op(0x44).Op(0x42);
    const MemoryDecodeResult r = Decode(EnterXl(s), kNoSummaries | DF_RAS_GRAPH);
    EXPECT_EQ(ErrorLines(r.listing), "");
    EXPECT_NE(r.listing.find("Start Raster Graphics :  width 10, height 2\n"), std::string::npos) << r.listing;
    const std::string shown =
        "StartLine                0\nRaster Block\n" + kBlackFirstRows + "[XL OPERATOR  ] VendorFxn\n";
    EXPECT_NE(r.listing.find(shown), std::string::npos) << r.listing;
    EXPECT_NE(r.listing.find("End Raster Graphics\n[XL OPERATOR  ] EndPage"), std::string::npos) << r.listing;
  }
}

// ---- Jobs of a real driver ------------------------------------------------

// The rows of the listing, "1" a black pixel; a row line ends after its last one.
std::vector<std::string> RowTexts(const std::string& listing) {
  std::vector<std::string> rows;
  std::istringstream in(listing);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("<rast>:")) rows.push_back(line.substr(7));
  }
  return rows;
}

int IntegerAfter(const std::string& listing, const std::string& label, int& second) {
  const std::size_t at = listing.find(label);
  int first = -1;
  second = -1;
  if (at != std::string::npos) std::sscanf(listing.c_str() + at + label.size(), " (%d, %d)", &first, &second);
  return first;
}

TEST(XlVendorImage, DriverStripsMatchGhostscriptsPage) {
  const Bitmap page = ReadPbm(ReadFile(TestDir() / "pclxl/data/pxljr-card.pbm"));
  ASSERT_EQ(page.width, 900);  // 1.5 x 1.25 inches at 600 dpi
  ASSERT_EQ(page.height, 750);
  for (const char* job : {"pxljr-card-best-colour.pxl", "pxljr-card-best-grey.pxl"}) {
    for (const std::uint32_t contiguous : {0u, DF_RAS_CONTIGUOUS}) {
      SCOPED_TRACE(std::string(job) + (contiguous ? " contiguous" : ""));
      const MemoryDecodeResult r =
          Decode(ReadFile(TestDir() / "pclxl/data" / job), kNoSummaries | DF_RAS_GRAPH | contiguous);
      EXPECT_EQ(ErrorLines(r.listing), "");
      EXPECT_EQ(r.exceptionCount, 0u);
      // The driver says 704 x 640 pixels in strips of 128 rows, placed at PageOrigin.
      EXPECT_NE(r.listing.find("Start Raster Graphics :  width 704, height 640\n"), std::string::npos);
      EXPECT_EQ(Count(r.listing, "Raster Block\n"), contiguous ? 0u : 5u);
      int originY = 0;
      const int originX = IntegerAfter(r.listing, "\n                PageOrigin", originY);  // the attribute line
      ASSERT_GE(originX, 0);
      ASSERT_LE(originX + 704, page.width);
      ASSERT_LE(originY + 640, page.height);
      const std::vector<std::string> rows = RowTexts(r.listing);
      ASSERT_EQ(rows.size(), 640u);
      std::size_t differing = 0, black = 0;
      for (int y = 0; y < 640; ++y) {
        const std::string& row = rows[static_cast<std::size_t>(y)];
        EXPECT_LE(row.size(), 704u);
        for (int x = 0; x < 704; ++x) {
          const bool got = static_cast<std::size_t>(x) < row.size() && row[static_cast<std::size_t>(x)] == '1';
          black += got;
          differing += got != page.Pixel(originX + x, originY + y);
        }
      }
      EXPECT_GT(black, 10000u);  // text, rules and a disc
      EXPECT_EQ(differing, 0u);
    }
  }
}

TEST(XlVendorImage, DriverBlankStripsFillTheImage) {
  const std::string job = ReadFile(TestDir() / "pclxl/data/pxljr-card-normal-colour.pxl");
  // In its normal quality the driver sends every strip under the blank strip
  // tag: nothing is shown, and the stretch has no error.
  const MemoryDecodeResult r = Decode(job, kNoSummaries | DF_RAS_GRAPH);
  EXPECT_EQ(ErrorLines(r.listing), "");
  EXPECT_EQ(Count(r.listing, "Raster Block\n"), 0u);
  EXPECT_EQ(Count(r.listing, "<rast>:"), 0u);
  EXPECT_EQ(Count(r.listing, "Start Raster Graphics :  width 704, height 640\n"), 1u);
  EXPECT_EQ(Count(r.listing, "End Raster Graphics\n"), 1u);

}

}  // namespace
}  // namespace veltrix::test
