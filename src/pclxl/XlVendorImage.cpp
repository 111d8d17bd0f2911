#include "pclxl/XlVendorImage.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <string_view>

#include "decode/core/DecodeContext.h"
#include "pclxl/XlOperators.h"
#include "pclxl/XlReader.h"
#include "pclxl/XlVendorStrips.h"
#include "raster/RasterGraphics.h"

namespace veltrix {

namespace {

constexpr std::size_t kRecordHeaderSize = 6;
// Fewer bytes than a header and one payload byte at the end of a block are
// not looked at.
constexpr std::size_t kSmallestRecord = 7;

// Colour kinds of image rows; a blank strip of another kind than the rows
// so far lays the image out again.
constexpr std::int32_t kGreyRows = 1;
constexpr std::int32_t kColourRows = 2;

// False ends the block.
using RecordHandler = bool (*)(XlReader& reader, std::span<const std::uint8_t> payload);

struct VendorRecord {
  std::uint16_t tag = 0;
  std::string_view meaning = {};
  RecordHandler handle = nullptr;
};

bool RowsListed(const DecodeContext& ctx) {
  return ctx.listing != nullptr && (ctx.flags & DF_RAS_GRAPH) != 0 && (ctx.flags & DF_SUPPRESS) == 0;
}

// The one-bit rows of a strip, through the raster row listing.
void ShowRasterBlock(const XlView& view, std::span<const std::uint8_t> bits, std::size_t rowCount,
                     std::size_t bytesPerRow) {
  DecodeContext& ctx = view.ctx;
  if ((ctx.flags & DF_RAS_CONTIGUOUS) == 0) ctx.listing->Put("Raster Block\n");
  SetRasterCompression(view.raster, 0);
  for (std::size_t r = 0; r < rowCount; ++r) {
    DecodeRasterRow(view.raster, bits.subspan(r * bytesPerRow, bytesPerRow), *ctx.listing, false);
  }
}

VendorStripShape CurrentStripShape(const XlRasterState& r) {
  return VendorStripShapeOf(r.sourceWidth, r.blockHeight, VendorPixelSize(r.vendorColorSpace));
}

bool DecodeStrip(XlReader& reader, std::span<const std::uint8_t> payload, bool bytePixels) {
  const VendorStripShape shape = CurrentStripShape(reader.state.raster);
  const std::uint64_t bufferBytes = VendorStripBufferBytes(shape);
  if (bufferBytes == 0) return true;                     // no pixels: nothing to decode or show
  if (bufferBytes > kMaxVendorStripBytes) return false;  // as a buffer that cannot be had
  // Decoding a strip changes nothing but what the listing shows of it.
  if (!RowsListed(reader.view.ctx)) return true;

  // Not cleared: the decoder writes every row it reaches, and a strip whose
  // rows are not all reached is not shown.
  const std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[bufferBytes]);
  if (!buffer) return false;
  const std::size_t rowsBytes = static_cast<std::size_t>(shape.rows) * shape.stride;
  const std::span<std::uint8_t> rows(buffer.get(), rowsBytes);
  const std::span<std::uint8_t> seedRow(buffer.get() + rowsBytes, shape.stride);
  if (DecodeVendorStrip(payload, rows, seedRow, shape, bytePixels) != VendorStripStatus::kDecoded) return true;

  const std::size_t bytesPerRow = PackVendorStripToBits(rows, shape);
  ShowRasterBlock(reader.view, rows, static_cast<std::size_t>(shape.rows), bytesPerRow);
  return true;
}

bool DecodeColourStrip(XlReader& reader, std::span<const std::uint8_t> payload) {
  return DecodeStrip(reader, payload, false);
}

bool DecodeBytePixelStrip(XlReader& reader, std::span<const std::uint8_t> payload) {
  return DecodeStrip(reader, payload, true);
}

// The image rows laid out again as 8 bits a pixel, as BeginImage would.
bool LayOutImageRows(XlReader& reader, std::int32_t colourKind) {
  XlRasterState& r = reader.state.raster;
  if (r.sourceWidth < 1 || r.sourceHeight < 1 || r.destinationWidth < 1 || r.destinationHeight < 1) {
    return XlFail(reader, XL_ERR_ILLEGAL_VALUE);
  }
  r.colorDepth = 2;
  r.bytesPerRow = r.sourceWidth;
  r.linesDone = 0;
  reader.state.imageColourKind = colourKind;
  return true;
}

// A white strip: nothing to decode or show, but its rows count against the
// image as the rows of ReadImage do.
bool AcceptBlankStrip(XlReader& reader, std::span<const std::uint8_t>) {
  XlRasterState& r = reader.state.raster;
  // The white rows are never looked at, so they are not made; a strip
  // whose buffer could not be had still ends the block.
  if (VendorStripBufferBytes(CurrentStripShape(r)) > kMaxVendorStripBytes) return false;
  const std::int32_t colourKind = r.vendorColorSpace != 0 ? kColourRows : kGreyRows;
  if (colourKind != reader.state.imageColourKind) {
    reader.state.dataBlock = XL_BLOCK_NONE;
    if (!LayOutImageRows(reader, colourKind)) return false;
    reader.state.dataBlock = XL_BLOCK_IMAGE;
  }
  return XlAcceptImageRows(reader, r.startLine, r.blockHeight);
}

// Tables the vendor's printer reads; kept, not interpreted.
bool StoreTableA(XlReader& reader, std::span<const std::uint8_t> payload) {
  reader.state.vendorTableA.assign(payload.begin(), payload.end());
  return true;
}

bool StoreTableB(XlReader& reader, std::span<const std::uint8_t> payload) {
  reader.state.vendorTableB.assign(payload.begin(), payload.end());
  return true;
}

constexpr auto kVendorRecords = std::to_array<VendorRecord>({  // strictly ascending tags
    {kVendorTableA, "vendor table A", StoreTableA},
    {kVendorTableB, "vendor table B", StoreTableB},
    {kVendorStrip, "compressed strip", DecodeColourStrip},
    {kVendorBlankStrip, "blank strip", AcceptBlankStrip},
    {kVendorStripBytePixels, "compressed strip of byte pixels", DecodeBytePixelStrip},
});
static_assert(std::ranges::adjacent_find(kVendorRecords, std::ranges::greater_equal{}, &VendorRecord::tag) ==
              kVendorRecords.end());

const VendorRecord* FindVendorRecord(std::uint16_t tag) {
  const auto it = std::ranges::lower_bound(kVendorRecords, tag, {}, &VendorRecord::tag);
  return it != kVendorRecords.end() && it->tag == tag ? &*it : nullptr;
}

std::uint32_t LowByteFirst(std::span<const std::uint8_t> bytes) {
  std::uint32_t v = 0;
  for (std::size_t i = bytes.size(); i-- > 0;) v = v << 8 | bytes[i];
  return v;
}

}  // namespace

bool XlDecodeVendorImageData(XlReader& reader, std::span<const std::uint8_t> block) {
  std::size_t pos = 0;
  while (block.size() - pos >= kSmallestRecord) {
    const auto tag = static_cast<std::uint16_t>(LowByteFirst(block.subspan(pos, 2)));
    const std::uint32_t length = LowByteFirst(block.subspan(pos + 2, 4));
    pos += kRecordHeaderSize;
    // A length that runs past the block is cut to the block.
    const std::size_t payloadSize = std::min<std::size_t>(length, block.size() - pos);
    const VendorRecord* record = FindVendorRecord(tag);
    if (record != nullptr && !record->handle(reader, block.subspan(pos, payloadSize))) return false;
    pos += payloadSize;  // at least the header was passed: the walk always moves on
  }
  return true;
}

}  // namespace veltrix
