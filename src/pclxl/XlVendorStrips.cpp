#include "pclxl/XlVendorStrips.h"

#include <array>
#include <cstring>

namespace veltrix {

namespace {

using Pixel = std::array<std::uint8_t, 3>;  // a grey pixel uses byte 0 only
constexpr Pixel kWhite = {255, 255, 255};

// Bits 7-5 of a command byte: where the first pixel of the run comes from,
// and whether the run repeats it (a fill) or goes on with literal pixels.
enum class PixelSource : std::uint8_t { kData, kWest, kNorthEast, kCached };
struct RunOperation {
  PixelSource source = PixelSource::kData;
  bool fill = false;
};
constexpr std::array<RunOperation, 8> kRunOperations = {{
    {PixelSource::kData, false},       // 0: n + 1 literal pixels
    {PixelSource::kWest, false},       // 1: the west neighbour, then n literal pixels
    {PixelSource::kNorthEast, false},  // 2: the north-east neighbour, then n literal pixels
    {PixelSource::kCached, false},     // 3: the cached colour, then n literal pixels
    {PixelSource::kData, true},        // 4: a new colour, r + 2 times
    {PixelSource::kWest, true},        // 5: the west neighbour's colour, r + 2 times
    {PixelSource::kNorthEast, true},   // 6: the north-east neighbour's colour, r + 2 times
    {PixelSource::kCached, true},      // 7: the cached colour, r + 2 times
}};

// Bits 4-3 of a command byte count pixels copied from the seed row first;
// bits 2-0 are n. The value 3 in the seed count and 7 in n continue in
// count bytes.
constexpr unsigned kLongSeedCount = 3;
constexpr unsigned kLongCount = 7;

// One strip being decoded: the data cursor, the row being built, the row
// above it (the seed row) and the colour the last run left behind.
struct StripDecode {
  const VendorRunDecoder& decoder;
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;
  std::uint8_t* row = nullptr;
  const std::uint8_t* seed = nullptr;
  std::uint64_t width = 0;
  std::uint64_t x = 0;  // pixels of the row done
  Pixel cached = kWhite;
};

bool HasData(const StripDecode& s) { return s.pos < s.data.size(); }

bool TakeByte(StripDecode& s, std::uint8_t& out) {
  if (!HasData(s)) return false;
  out = s.data[s.pos++];
  return true;
}

// Adds count bytes to `count` up to and including the first one below 255.
bool ExtendCount(StripDecode& s, std::uint64_t& count) {
  std::uint8_t b = 0;
  do {
    if (!TakeByte(s, b)) return false;
    count += b;  // at most 255 a data byte: cannot wrap
  } while (b == 255);
  return true;
}

bool TakePixel(StripDecode& s, Pixel& out) {
  const std::size_t n = s.decoder.inputPixelSize;
  if (s.data.size() - s.pos < n) return false;
  const std::uint8_t* p = s.data.data() + s.pos;
  s.pos += n;
  if (s.decoder.inverted) {
    out = {static_cast<std::uint8_t>(255 - p[0]), 0, 0};
  } else {
    out = {p[0], p[1], p[2]};
  }
  return true;
}

Pixel PixelAt(const StripDecode& s, const std::uint8_t* row, std::uint64_t x) {
  Pixel p = kWhite;
  std::memcpy(p.data(), row + x * s.decoder.outputPixelSize, s.decoder.outputPixelSize);
  return p;
}

void PutPixel(StripDecode& s, const Pixel& p) {
  std::memcpy(s.row + s.x * s.decoder.outputPixelSize, p.data(), s.decoder.outputPixelSize);
  ++s.x;
}

// The neighbours outside the row are white.
Pixel SourcePixel(const StripDecode& s, PixelSource source) {
  switch (source) {
    case PixelSource::kWest:
      return s.x > 0 ? PixelAt(s, s.row, s.x - 1) : kWhite;
    case PixelSource::kNorthEast:
      return s.x + 1 < s.width ? PixelAt(s, s.seed, s.x + 1) : kWhite;
    case PixelSource::kCached:
    case PixelSource::kData:
      break;
  }
  return s.cached;
}

VendorStripStatus PutLiterals(StripDecode& s, std::uint64_t n) {
  if (n > s.width - s.x) return VendorStripStatus::kRunPastRow;
  for (std::uint64_t i = 0; i < n; ++i) {
    Pixel p;
    if (!TakePixel(s, p)) return VendorStripStatus::kDataShort;
    PutPixel(s, p);
  }
  return VendorStripStatus::kDecoded;
}

// n literal pixels; when n was the longest count, a count byte follows with
// that many more, again and again while the count byte is 255.
VendorStripStatus PutLiteralRun(StripDecode& s, unsigned n) {
  VendorStripStatus status = PutLiterals(s, n);
  if (status != VendorStripStatus::kDecoded || n != kLongCount) return status;
  std::uint8_t more = 0;
  do {
    if (!TakeByte(s, more)) return VendorStripStatus::kDataShort;
    status = PutLiterals(s, more);
    if (status != VendorStripStatus::kDecoded) return status;
  } while (more == 255);
  return status;
}

VendorStripStatus DecodeCommand(StripDecode& s) {
  std::uint8_t command = 0;
  if (!TakeByte(s, command)) return VendorStripStatus::kDataShort;
  std::uint64_t seedCount = (command >> 3) & 3;
  if (seedCount == kLongSeedCount && !ExtendCount(s, seedCount)) return VendorStripStatus::kDataShort;
  if (seedCount > s.width - s.x) return VendorStripStatus::kSeedPastRow;
  const std::size_t pixelSize = s.decoder.outputPixelSize;
  std::memcpy(s.row + s.x * pixelSize, s.seed + s.x * pixelSize, seedCount * pixelSize);
  s.x += seedCount;
  // A seed copy that completes the row ends the command: its operation bits
  // are not used.
  if (s.x == s.width) return VendorStripStatus::kDecoded;

  const unsigned n = command & 7;
  const RunOperation op = kRunOperations[command >> 5];
  Pixel first = SourcePixel(s, op.source);
  if (op.fill) {
    if (op.source == PixelSource::kData && !TakePixel(s, first)) return VendorStripStatus::kDataShort;
    std::uint64_t repeat = n;
    if (n == kLongCount && !ExtendCount(s, repeat)) return VendorStripStatus::kDataShort;
    if (repeat + 2 > s.width - s.x) return VendorStripStatus::kRunPastRow;
    for (std::uint64_t i = 0; i < repeat + 2; ++i) PutPixel(s, first);
    s.cached = first;
    return VendorStripStatus::kDecoded;
  }
  if (op.source == PixelSource::kData) {
    if (n + 1 > s.width - s.x) return VendorStripStatus::kRunPastRow;
    if (!TakePixel(s, first)) return VendorStripStatus::kDataShort;
  }
  PutPixel(s, first);  // x was below the width: room for one
  const VendorStripStatus status = PutLiteralRun(s, n);
  if (status == VendorStripStatus::kDecoded) s.cached = PixelAt(s, s.row, s.x - 1);
  return status;
}

}  // namespace

std::uint8_t VendorPixelSize(std::int32_t vendorColorSpace) { return vendorColorSpace > 0 ? 3 : 1; }

VendorStripShape VendorStripShapeOf(std::int32_t width, std::int32_t rows, std::uint8_t pixelSize) {
  VendorStripShape shape{width, rows, pixelSize, 0};
  if (width > 0) shape.stride = (static_cast<std::size_t>(width) * pixelSize + 3) / 4 * 4;
  return shape;
}

std::uint64_t VendorStripBufferBytes(const VendorStripShape& shape) {
  if (shape.width < 1 || shape.rows < 1) return 0;
  return (static_cast<std::uint64_t>(shape.rows) + 1) * shape.stride;
}

const VendorRunDecoder& ChooseVendorRunDecoder(std::uint8_t pixelSize, bool bytePixels) {
  if (pixelSize == 3) return kRgbRunDecoder;
  return bytePixels ? kGrayRunDecoderB : kGrayRunDecoder;
}

VendorStripStatus DecodeVendorStrip(std::span<const std::uint8_t> payload, std::span<std::uint8_t> rows,
                                    std::span<std::uint8_t> seedRow, const VendorStripShape& shape,
                                    bool bytePixels) {
  return RunVendorDecoder(ChooseVendorRunDecoder(shape.pixelSize, bytePixels), payload, rows, seedRow, shape);
}

VendorStripStatus RunVendorDecoder(const VendorRunDecoder& decoder, std::span<const std::uint8_t> payload,
                                   std::span<std::uint8_t> rows, std::span<std::uint8_t> seedRow,
                                   const VendorStripShape& shape) {
  if (shape.width < 1 || shape.rows < 1) return VendorStripStatus::kNoPixels;
  const std::size_t rowBytes = static_cast<std::size_t>(shape.width) * decoder.outputPixelSize;
  if (shape.stride < rowBytes || seedRow.size() < shape.stride ||
      rows.size() / shape.stride < static_cast<std::size_t>(shape.rows)) {
    return VendorStripStatus::kNoPixels;  // buffers that cannot hold the strip: the caller's fault
  }
  StripDecode s{decoder, payload};
  s.width = static_cast<std::uint64_t>(shape.width);
  s.seed = seedRow.data();
  std::memset(seedRow.data(), 255, rowBytes);
  std::int32_t done = 0;
  // Every row needs a command byte, so the rows end with the data.
  for (; done < shape.rows && HasData(s); ++done) {
    s.row = rows.data() + static_cast<std::size_t>(done) * shape.stride;
    s.x = 0;
    std::memset(s.row + rowBytes, 255, shape.stride - rowBytes);  // the pixels are all written below
    while (s.x < s.width && HasData(s)) {
      const VendorStripStatus status = DecodeCommand(s);
      if (status != VendorStripStatus::kDecoded) return status;
    }
    if (s.x != s.width) return VendorStripStatus::kRunPastRow;
    std::memcpy(seedRow.data(), s.row, rowBytes);
  }
  if (done < shape.rows) return VendorStripStatus::kDataShort;
  if (HasData(s)) return VendorStripStatus::kDataLeftOver;
  return VendorStripStatus::kDecoded;
}

std::size_t PackVendorStripToBits(std::span<std::uint8_t> rows, const VendorStripShape& shape) {
  if (shape.width < 1 || shape.rows < 1) return 0;
  const std::size_t pixelSize = shape.pixelSize;
  const std::size_t width = static_cast<std::size_t>(shape.width);
  const std::size_t bytesPerRow = (width + 7) / 8;
  if (shape.stride < width * pixelSize || rows.size() / shape.stride < static_cast<std::size_t>(shape.rows)) {
    return 0;
  }
  // Byte i of row r goes to r * bytesPerRow + i once pixel 8i + 7 of the row
  // is read; every pixel still to be read lies beyond it (the stride is at
  // least bytesPerRow), so packing in place overwrites nothing still needed.
  std::uint8_t* out = rows.data();
  for (std::size_t r = 0; r < static_cast<std::size_t>(shape.rows); ++r) {
    const std::uint8_t* row = rows.data() + r * shape.stride;
    std::uint8_t packed = 0;
    std::uint8_t mask = 0x80;
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint8_t* p = row + x * pixelSize;
      const unsigned sum = pixelSize == 3 ? p[0] + p[1] + p[2] : 3u * p[0];
      if (sum < 383) packed |= mask;
      mask >>= 1;
      if (mask == 0) {
        *out++ = packed;
        packed = 0;
        mask = 0x80;
      }
    }
    if (mask != 0x80) *out++ = packed;  // the pixels past the width stay clear
  }
  return bytesPerRow;
}

}  // namespace veltrix
