// PCL XL vendor image data: the block of tagged records that a VendorFxn
// operator announces by its data length and that follows it in the stream.
#pragma once

#include <cstdint>
#include <span>

namespace veltrix {

struct XlReader;

// Each record: a 2-byte tag and a 4-byte length, both low byte first
// whatever the stream's byte order, then the payload.
inline constexpr std::uint16_t kVendorTableA = 0x8000;
inline constexpr std::uint16_t kVendorTableB = 0x8001;
inline constexpr std::uint16_t kVendorStrip = 0x9011;
inline constexpr std::uint16_t kVendorBlankStrip = 0x9021;
inline constexpr std::uint16_t kVendorStripBytePixels = 0x9031;

// Walks the records of a vendor data block already read whole, with the
// image attributes of the VendorFxn operators before it in the reader's
// raster state. Keeps the vendor tables, decodes the compressed strips and
// shows each as a raster block when raster rows are listed (a strip that
// does not decode is dropped silently), and counts the rows of blank strips
// against the image. Fails, ending the block, when a strip buffer cannot be
// had, and with code 14 when a blank strip does not fit the image.
bool XlDecodeVendorImageData(XlReader& reader, std::span<const std::uint8_t> block);

}  // namespace veltrix
