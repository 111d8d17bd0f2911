// Raster strips of PCL XL vendor image data: the seed-row run-length code
// that compresses them, and their reduction to one bit a pixel for the
// listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace veltrix {

// The three decoders of the run-length code share one command set and
// differ only in how a pixel is held in the data and in the rows.
struct VendorRunDecoder {
  std::string_view name = {};
  std::uint8_t outputPixelSize = 0;  // bytes of a decoded pixel
  std::uint8_t inputPixelSize = 0;   // bytes of a literal pixel or a new colour in the data
  bool inverted = false;             // writes 255 minus the first data byte of the pixel
};

inline constexpr VendorRunDecoder kRgbRunDecoder{"RgbRunDecoder", 3, 3, false};
// Grey strips still carry three bytes a literal pixel; only the first counts.
inline constexpr VendorRunDecoder kGrayRunDecoder{"GrayRunDecoder", 1, 3, true};
inline constexpr VendorRunDecoder kGrayRunDecoderB{"GrayRunDecoderB", 1, 1, true};

// Why a strip did not decode. Nothing of a failed strip is shown, so the
// reasons matter only to tests.
enum class VendorStripStatus : std::uint8_t {
  kDecoded = 0,
  kSeedPastRow = 1,   // a copy from the seed row passes the end of the row
  kRunPastRow = 2,    // a run passes the end of the row, or the data ends inside a row
  kDataLeftOver = 3,  // data remains after the last row
  kDataShort = 4,     // the data ends before the last row or inside a command
  kNoPixels = 5,      // the width or the row count is not positive
};

// The rows of one strip in memory. The stride is the row width in bytes
// rounded up to a multiple of 4.
struct VendorStripShape {
  std::int32_t width = 0;  // pixels a row (SourceWidth)
  std::int32_t rows = 0;   // BlockHeight
  std::uint8_t pixelSize = 1;
  std::size_t stride = 0;
};

// A strip buffer (the rows and one seed row) never exceeds 32 MiB, whatever
// SourceWidth and BlockHeight claim. A 128-row colour strip of a page 12
// inches wide at 1200 dpi needs 5.3 MiB; a larger claim is treated as a
// buffer that cannot be had.
inline constexpr std::size_t kMaxVendorStripBytes = std::size_t{32} << 20;

// 3 bytes a pixel for a vendor colour space above 0, else 1.
std::uint8_t VendorPixelSize(std::int32_t vendorColorSpace);

// The stride is 0 when the width is not positive.
VendorStripShape VendorStripShapeOf(std::int32_t width, std::int32_t rows, std::uint8_t pixelSize);
// Bytes of a strip buffer, the rows plus one seed row; 0 when the shape has
// no pixels. Cannot wrap: at most 2^31 rows of at most 6.5e9 bytes.
std::uint64_t VendorStripBufferBytes(const VendorStripShape& shape);

// Tag 0x9011 strips use kRgbRunDecoder or kGrayRunDecoder by pixel size, tag
// 0x9031 strips (`bytePixels`) kRgbRunDecoder or kGrayRunDecoderB.
const VendorRunDecoder& ChooseVendorRunDecoder(std::uint8_t pixelSize, bool bytePixels);

// Decodes one strip into `rows` (shape.rows x shape.stride bytes) with
// `seedRow` (shape.stride bytes) as scratch. Succeeds only when every row is
// complete and the data is used up exactly. Only the rows reached are
// written; after a failure the content of `rows` is undefined.
VendorStripStatus DecodeVendorStrip(std::span<const std::uint8_t> payload, std::span<std::uint8_t> rows,
                                    std::span<std::uint8_t> seedRow, const VendorStripShape& shape,
                                    bool bytePixels);
VendorStripStatus RunVendorDecoder(const VendorRunDecoder& decoder, std::span<const std::uint8_t> payload,
                                   std::span<std::uint8_t> rows, std::span<std::uint8_t> seedRow,
                                   const VendorStripShape& shape);

// Reduces the decoded rows in place to one bit a pixel and returns the
// bytes of a one-bit row, (width + 7) / 8; the rows then follow one another
// from the start of `rows`. First pixel in the most significant bit; a
// pixel is black (bit set) when red + green + blue is below 383, a grey
// pixel v counting as (v, v, v). 0 for a shape the buffer cannot hold.
std::size_t PackVendorStripToBits(std::span<std::uint8_t> rows, const VendorStripShape& shape);

}  // namespace veltrix
