// Images, raster patterns and the attributes of vendor image data.
#include "decode/core/OutputSink.h"
#include "pclxl/XlAttributes.h"
#include "pclxl/XlOperators.h"
#include "pclxl/XlVendorImage.h"
#include "pclxl/XlView.h"
#include "raster/RasterGraphics.h"

namespace veltrix {

namespace {

constexpr std::int32_t kDefaultPadBytes = 4;
constexpr std::int32_t kSessionPattern = 2;

// The attributes common to BeginImage and BeginRastPattern.
bool SetUpImage(XlReader& reader) {
  XlRasterState& r = reader.state.raster;
  if (!XlRequireInteger(reader, XL_ATTR_COLOR_MAPPING, r.colorMapping) ||
      !XlRequireInteger(reader, XL_ATTR_COLOR_DEPTH, r.colorDepth) ||
      !XlRequireInteger(reader, XL_ATTR_SOURCE_WIDTH, r.sourceWidth) ||
      !XlRequireInteger(reader, XL_ATTR_SOURCE_HEIGHT, r.sourceHeight) ||
      !XlRequireIntegerPair(reader, XL_ATTR_DESTINATION_SIZE, r.destinationWidth, r.destinationHeight)) {
    return false;
  }
  if (r.sourceWidth < 1 || r.sourceHeight < 1 || r.destinationWidth < 1 || r.destinationHeight < 1 ||
      r.colorDepth < 0 || r.colorDepth > 2) {
    return XlFail(reader, XL_ERR_ILLEGAL_VALUE);
  }
  // 1, 4 or 8 bits a pixel.
  const std::int64_t width = r.sourceWidth;
  r.bytesPerRow = static_cast<std::int32_t>(r.colorDepth == 0 ? (width + 7) / 8
                                            : r.colorDepth == 1 ? (width + 1) / 2
                                                                : width);
  r.linesDone = 0;
  return true;
}

// ReadImage and ReadRastPattern: each block of rows follows the rows before.
bool ReadRows(XlReader& reader, XlDataBlock block) {
  if (reader.state.dataBlock != block) return XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
  XlRasterState& r = reader.state.raster;
  if (!XlRequireInteger(reader, XL_ATTR_START_LINE, r.startLine) ||
      !XlRequireInteger(reader, XL_ATTR_BLOCK_HEIGHT, r.blockHeight) ||
      !XlRequireInteger(reader, XL_ATTR_COMPRESS_MODE, r.compressMode)) {
    return false;
  }
  std::int32_t pad = kDefaultPadBytes;
  if (!XlGetInteger(XlStack(reader), XL_ATTR_PAD_BYTES_MULTIPLE, pad) || pad < 1 || pad > 4) {
    pad = kDefaultPadBytes;
  }
  r.padBytesMultiple = pad;
  return XlAcceptImageRows(reader, r.startLine, r.blockHeight);
}

bool EndBlock(XlReader& reader, XlDataBlock block) {
  if (reader.state.dataBlock != block) return XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
  reader.state.dataBlock = XL_BLOCK_NONE;
  return true;
}

bool RasterLinesWanted(const DecodeContext& ctx) {
  return ctx.listing != nullptr && (ctx.flags & DF_RAS_GRAPH) != 0 && (ctx.flags & DF_SUPPRESS) == 0;
}

}  // namespace

bool XlAcceptImageRows(XlReader& reader, std::int32_t startLine, std::int32_t blockHeight) {
  XlRasterState& r = reader.state.raster;
  const std::int64_t end = static_cast<std::int64_t>(startLine) + blockHeight;
  if (startLine < r.linesDone || blockHeight < 1 || end > r.sourceHeight) {
    return XlFail(reader, XL_ERR_ILLEGAL_VALUE);
  }
  r.linesDone = end;
  return true;
}

bool XlBeginImage(XlReader& reader, std::uint8_t) {
  if (reader.state.dataBlock != XL_BLOCK_NONE) return XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
  if (!XlCurrentState(reader).pointDefined) return XlFail(reader, XL_ERR_CURSOR_UNDEFINED);
  if (!SetUpImage(reader)) return false;
  reader.state.dataBlock = XL_BLOCK_IMAGE;
  return true;
}

bool XlReadImage(XlReader& reader, std::uint8_t) { return ReadRows(reader, XL_BLOCK_IMAGE); }

bool XlEndImage(XlReader& reader, std::uint8_t) { return EndBlock(reader, XL_BLOCK_IMAGE); }

bool XlBeginRastPattern(XlReader& reader, std::uint8_t) {
  std::int32_t persistence = 0, id = 0;
  if (!XlRequireInteger(reader, XL_ATTR_PATTERN_PERSISTENCE, persistence) ||
      !XlRequireInteger(reader, XL_ATTR_PATTERN_DEFINE_ID, id) || !SetUpImage(reader)) {
    return false;
  }
  reader.state.raster.sessionPattern = persistence == kSessionPattern;
  reader.state.dataBlock = XL_BLOCK_RASTER_PATTERN;
  return true;
}

bool XlReadRastPattern(XlReader& reader, std::uint8_t) { return ReadRows(reader, XL_BLOCK_RASTER_PATTERN); }

bool XlEndRastPattern(XlReader& reader, std::uint8_t) { return EndBlock(reader, XL_BLOCK_RASTER_PATTERN); }

// A vendor image is announced by its size and sent as blocks of vendor data
// whose length the operator gives; a VendorFxn without data ends the raster.
bool XlVendorFxn(XlReader& reader, std::uint8_t) {
  const std::span<const XlValue> stack = XlStack(reader);
  const XlView& run = reader.view;
  XlRasterState& r = reader.state.raster;
  std::int32_t length = 0;
  XlGetInteger(stack, XL_ATTR_VENDOR_DATA_LENGTH, length);

  std::int32_t width = 0, height = 0;
  const bool starts = XlGetInteger(stack, XL_ATTR_SOURCE_WIDTH, width) &&
                      XlGetInteger(stack, XL_ATTR_SOURCE_HEIGHT, height);
  if (starts) {
    r.sourceWidth = r.destinationWidth = width;
    r.sourceHeight = r.destinationHeight = height;
    r.colorMapping = 0;
    r.colorDepth = 2;
    r.bytesPerRow = width;
    r.padBytesMultiple = kDefaultPadBytes;
    r.linesDone = 0;
    reader.state.dataBlock = XL_BLOCK_IMAGE;
    if (RasterLinesWanted(run.ctx)) {
      const std::string size = width != 0 && height != 0 ? StringPrintf(" width %d, height %d", width, height)
                                                         : std::string();
      run.ctx.listing->Printf("Start Raster Graphics : %s\n", size.c_str());
      // The palette's last answer says whether the rows are direct colour.
      StartRaster(run.raster, run.eject.palettes.rasterIsDirect);
    }
  }
  XlGetInteger(stack, XL_ATTR_START_LINE, r.startLine);
  XlGetInteger(stack, XL_ATTR_BLOCK_HEIGHT, r.blockHeight);
  XlGetInteger(stack, XL_ATTR_VENDOR_COLOR_SPACE, r.vendorColorSpace);

  if (length != 0) {
    if (length > 0) {
      reader.pendingCount = static_cast<std::uint64_t>(length);
      reader.pendingRoutine = XlReadVendorData;
    }
  } else if (!starts && reader.state.dataBlock == XL_BLOCK_IMAGE && RasterLinesWanted(run.ctx)) {
    run.ctx.listing->Put("End Raster Graphics\n");
    EndRaster(run.raster);
  }
  return true;
}

bool XlReadVendorData(XlReader& reader, std::uint64_t count) {
  std::vector<std::uint8_t> block;
  if (!XlTakeBlock(reader, count, block)) return XlFail(reader, XL_ERR_EOF_EMBEDDED_DATA);
  return XlDecodeVendorImageData(reader, block);
}

}  // namespace veltrix
