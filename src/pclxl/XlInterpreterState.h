// What the PCL XL operator handlers remember between operators, for one PCL
// XL stretch. Nothing is drawn: the state holds only what the operator
// checks look at and what the operators set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace veltrix {

// The data definition that spans several operators.
enum XlDataBlock : std::uint8_t {
  XL_BLOCK_NONE = 0,
  XL_BLOCK_FONT_HEADER = 1,
  XL_BLOCK_CHARACTER = 2,
  XL_BLOCK_IMAGE = 3,
  XL_BLOCK_RASTER_PATTERN = 4,
  XL_BLOCK_STREAM = 5,
};

enum XlPaintKind : std::uint8_t {
  XL_PAINT_DEFAULT = 0,
  XL_PAINT_NULL = 1,
  XL_PAINT_GRAY = 2,
  XL_PAINT_PATTERN = 3,
  XL_PAINT_RGB = 4,
};

struct XlPaintSource {
  XlPaintKind kind = XL_PAINT_DEFAULT;
  double grayLevel = 0;
  std::int32_t patternId = 0;
  std::int32_t rgb[3] = {0, 0, 0};
};

struct XlFontSelection {
  std::string name;
  double size = 0;
  std::int32_t symbolSet = 0;
  bool downloaded = false;
};

// One level of the graphics state stack.
struct XlGraphicsState {
  bool pointDefined = false;
  double pointX = 0, pointY = 0;
  double originX = 0, originY = 0;
  std::int32_t rotation = 0;  // quarter turns
  double scaleX = 1, scaleY = 1;
  double charAngle = 0;
  double charScaleX = 1, charScaleY = 1;
  double charShearX = 0, charShearY = 0;
  std::int32_t fillMode = 0;
  std::int32_t lineCap = 0;
  std::int32_t lineJoin = 0;
  double miterLength = 0;
  double penWidth = 0;
  std::vector<std::int32_t> dashes;  // empty: a solid line
  double dashOffset = 0;
  std::int32_t clipMode = 0;
  std::int32_t clipRegion = 0;
  std::int32_t clipBox[4] = {0, 0, 0, 0};
  std::int32_t paintTxMode = 0;
  std::int32_t sourceTxMode = 0;
  std::int32_t rop3 = 252;
  XlPaintSource brush;
  XlPaintSource pen;
  std::int32_t colorSpace = 0;
  std::vector<std::uint8_t> palette;
  XlFontSelection font;
};

// A font named by BeginFontHeader (number 0 and up) or only by SetFont
// (number -2 and down); -1 marks a removed font.
struct XlFontEntry {
  std::string name;
  std::int32_t number = -1;
};

inline constexpr std::int32_t kXlRemovedFont = -1;

// The image, raster pattern or vendor image being received.
struct XlRasterState {
  std::int32_t sourceWidth = 0;
  std::int32_t sourceHeight = 0;
  std::int32_t destinationWidth = 0;
  std::int32_t destinationHeight = 0;
  std::int32_t colorMapping = 0;
  std::int32_t colorDepth = 0;
  std::int32_t bytesPerRow = 0;
  std::int64_t linesDone = 0;
  std::int32_t startLine = 0;
  std::int32_t blockHeight = 0;
  std::int32_t compressMode = 0;
  std::int32_t padBytesMultiple = 4;
  bool sessionPattern = false;
  std::int32_t vendorColorSpace = 0;
};

struct XlInterpreterState {
  XlDataBlock dataBlock = XL_BLOCK_NONE;
  std::int32_t unitsPerInchX = 0, unitsPerInchY = 0;
  bool duplex = false;
  std::int32_t duplexSide = 0;
  std::int32_t orientation = 0;
  // Level 0 is always there; at most kXlMaxPushedStates more.
  std::vector<XlGraphicsState> gsStack = std::vector<XlGraphicsState>(1);

  std::vector<XlFontEntry> fonts;
  std::unordered_map<std::string, std::size_t> fontIndex;  // lower-cased name -> fonts index
  std::int32_t nextDownloadedNumber = 0;
  std::int32_t nextReferencedNumber = -2;
  std::int32_t currentFontNumber = kXlRemovedFont;
  std::string currentFontName;

  // Stored streams by lower-cased name. Shared so that a stream being
  // executed keeps its bytes whatever happens to the store.
  std::unordered_map<std::string, std::shared_ptr<const std::vector<std::uint8_t>>> streams;
  std::string currentStream;

  std::vector<std::uint8_t> blockBuffer;  // font header or stream bytes gathered so far
  XlRasterState raster;

  // Vendor image data: two tables that the vendor data may replace (kept,
  // not interpreted) and the colour kind of the image rows (1 grey, 2 colour).
  std::vector<std::uint8_t> vendorTableA;
  std::vector<std::uint8_t> vendorTableB;
  std::int32_t imageColourKind = 0;
};

inline constexpr std::size_t kXlMaxPushedStates = 19;

}  // namespace veltrix
