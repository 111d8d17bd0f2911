// The PCL XL stream reader: byte source, value stack and error codes of one
// PCL XL stretch.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "decode/core/ByteReader.h"
#include "pclxl/XlInterpreterState.h"
#include "pclxl/XlValue.h"
#include "pclxl/XlView.h"

namespace veltrix {


enum XlError : std::int32_t {
  XL_ERR_NONE = 0,
  XL_ERR_INTERNAL_OVERFLOW = 1,
  XL_ERR_EOF_EMBEDDED_LENGTH = 2,
  XL_ERR_EOF_EMBEDDED_DATA = 3,
  XL_ERR_EOF_ARRAY = 4,
  XL_ERR_EOF_VALUE = 5,
  XL_ERR_SYS_0 = 6,
  XL_ERR_SYS_1 = 7,
  XL_ERR_SYS_2 = 8,
  XL_ERR_UEL_IN_SESSION = 9,
  XL_ERR_BAD_ESCAPE = 10,
  XL_ERR_UNEXPECTED_EOF = 11,
  XL_ERR_ILLEGAL_SEQUENCE = 12,
  XL_ERR_MISSING_ATTRIBUTE = 13,
  XL_ERR_ILLEGAL_VALUE = 14,
  XL_ERR_MAX_GS_LEVELS = 15,
  XL_ERR_CURSOR_UNDEFINED = 16,
  XL_ERR_FONT_EXISTS = 17,
  XL_ERR_NO_MEMORY = 18,
  XL_ERR_MISSING_DATA = 19,
  XL_ERR_FONT_UNDEFINED = 20,
  XL_ERR_ILLEGAL_DATA_LENGTH = 21,
  XL_ERR_NO_CURRENT_FONT = 22,
  XL_ERR_EXTRA_DATA = 23,
  XL_ERR_ATTRIBUTE_WITHOUT_VALUE = 24,
  XL_ERR_STREAM_UNDEFINED = 25,   // no name of its own
  XL_ERR_STREAM_IN_STREAM = 26,   // no name of its own
};

// The name printed in error lines; empty for a code outside 0-24.
std::string_view XlErrorName(std::int32_t code);

enum XlStreamState : std::uint8_t {
  XL_STATE_WAIT_BINDING = 0,
  XL_STATE_HEADER_LINE = 1,
  XL_STATE_OUTSIDE_SESSION = 2,
  XL_STATE_IN_SESSION = 3,
  XL_STATE_IN_PAGE = 4,
};

// Which tag classes the listing shows, from the listing level.
inline constexpr std::uint8_t kXlListUnknown = 0x01;      // unused and reserved tags
inline constexpr std::uint8_t kXlListOperators = 0x02;    // operators and stream binding tags
inline constexpr std::uint8_t kXlListAttributes = 0x04;   // attribute lines under operators
inline constexpr std::uint8_t kXlListEmbedded = 0x08;
inline constexpr std::uint8_t kXlListData = 0x10;         // data type and attribute identifier tags
inline constexpr std::uint8_t kXlListWhitespace = 0x20;

inline constexpr std::size_t kXlStackLimit = 32;

struct XlReader;

// Reads the `count` bytes of data that follow the current tag.
using XlPendingRoutine = bool (*)(XlReader& reader, std::uint64_t count);

// The rest of a stored stream being executed, read before the input.
struct XlMemorySource {
  std::shared_ptr<const std::vector<std::uint8_t>> bytes;
  std::size_t pos = 0;
  bool active = false;
  bool savedPushedBack = false;  // a byte read ahead before the stream started
  std::uint8_t savedByte = 0;
};

struct XlReader {
  explicit XlReader(const XlView& decoderView);

  XlView view;
  ByteReader& input;
  bool swapBytes = false;
  std::uint8_t streamState = XL_STATE_WAIT_BINDING;

  // Data that follows the current tag (pendingRoutine set, even for a count
  // of 0) is read by the next step.
  std::uint64_t pendingCount = 0;
  XlPendingRoutine pendingRoutine = nullptr;
  std::int32_t arrayCount = 0;
  std::uint8_t arrayIndex = 0;  // of the array tag, counted from 0xC8
  std::uint8_t lengthOperator = 0;
  bool lengthOperatorFromStream = false;

  bool pushedBack = false;
  std::uint8_t pushedByte = 0;
  bool pushedFromStream = false;

  XlMemorySource memorySource;
  bool byteFromStream = false;  // the byte read last came from a stored stream
  bool tagFromStream = false;   // the tag being handled came from a stored stream

  // The value stack: values[0, depth). The slots are kept from operator to
  // operator, so that the arrays they hold keep their room.
  std::array<XlValue, kXlStackLimit> values;
  std::size_t depth = 0;
  bool slotGrewLarge = false;  // a slot's array may hold more than kXlKeptSlotRoom
  std::int32_t errorCode = XL_ERR_NONE;
  bool ended = false;     // the input ended
  bool uelSeen = false;   // a UEL escape ended the stretch
  bool stopped = false;   // the stream cannot be read on
  bool failed = false;    // the stretch ends with result 0

  std::uint8_t listedClasses = 0;
  bool writesLines = false;  // a listing exists and normal output is on
  std::array<bool, 8> listsClass{};  // by tag class: writesLines and the class is in listedClasses

  XlInterpreterState state;
};

// Sets the error code and returns false, for `return XlFail(...)`.
inline bool XlFail(XlReader& reader, std::int32_t code) {
  reader.errorCode = code;
  return false;
}

int XlReadStoredByte(XlReader& reader);

// The next byte of the stretch: a byte pushed back, else the stored stream
// being executed, else the input. -1 when the input has ended.
inline int XlReadByte(XlReader& reader) {
  if (reader.pushedBack) {
    reader.pushedBack = false;
    reader.byteFromStream = reader.pushedFromStream;
    return reader.pushedByte;
  }
  if (reader.memorySource.active) return XlReadStoredByte(reader);
  reader.byteFromStream = false;
  return reader.input.Next();
}

inline void XlPushBack(XlReader& reader, std::uint8_t byte, bool fromStream) {
  reader.pushedBack = true;
  reader.pushedByte = byte;
  reader.pushedFromStream = fromStream;
}

// Reads up to n bytes in the same order as XlReadByte; returns how many.
std::size_t XlReadBlock(XlReader& reader, std::uint8_t* out, std::size_t n);

// The bytes of the input that can be read straight from its window: none
// while a byte is pushed back or a stored stream runs, as those come first.
inline std::span<const std::uint8_t> XlDirectBytes(const XlReader& reader) {
  if (reader.pushedBack || reader.memorySource.active) return {};
  return reader.input.Buffered();
}

// Appends n bytes to `into` as they arrive; false when the input ended first.
bool XlTakeBlock(XlReader& reader, std::uint64_t n, std::vector<std::uint8_t>& into);

// Makes the bytes after the header line of a stored stream the next bytes of
// the stretch; a byte pushed back now is read after them.
void XlStartStoredStream(XlReader& reader, std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                         std::size_t from);

inline constexpr std::size_t kXlElementSize[] = {1, 1, 2, 2, 4, 4, 4};

inline bool XlHighByteFirst(const XlReader& reader) {
  return reader.swapBytes != (std::endian::native == std::endian::big);
}

// One value of an element type from its bytes in the stream's byte order,
// widened to 32 bits.
inline std::uint32_t XlWiden(XlElementType type, const std::uint8_t* b, bool highByteFirst) {
  switch (kXlElementSize[type]) {
    case 1:
      return type == XL_SBYTE ? static_cast<std::uint32_t>(static_cast<std::int8_t>(b[0])) : b[0];
    case 2: {
      const auto v = static_cast<std::uint16_t>(highByteFirst ? b[0] << 8 | b[1] : b[1] << 8 | b[0]);
      return type == XL_SINT16 ? static_cast<std::uint32_t>(static_cast<std::int16_t>(v)) : v;
    }
    default:
      return highByteFirst ? std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3]
                           : std::uint32_t{b[3]} << 24 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[1]} << 8 | b[0];
  }
}

// UInt32 values are kept as signed 32-bit numbers, so the top half of the
// range cannot be held.
inline bool XlHoldable(XlElementType type, std::uint32_t value) {
  return type != XL_UINT32 || (value & 0x80000000u) == 0;
}

bool XlReadValuesSlowly(XlReader& reader, XlElementType type, int n, std::uint32_t* out);

// n values of an element type (n at most 4), one after the other, in the
// stream's byte order and widened to 32 bits. Stops at the first that fails:
// code 5 at the end of the input, 6 for a UInt32 of 2^31 or more.
inline bool XlReadValues(XlReader& reader, XlElementType type, int n, std::uint32_t* out) {
  const std::size_t size = kXlElementSize[type];
  const std::span<const std::uint8_t> ahead = XlDirectBytes(reader);
  if (ahead.size() < size * static_cast<std::size_t>(n)) return XlReadValuesSlowly(reader, type, n, out);
  const bool high = XlHighByteFirst(reader);
  for (int i = 0; i < n; ++i) {
    out[i] = XlWiden(type, ahead.data() + i * size, high);
    if (!XlHoldable(type, out[i])) {
      reader.input.Skip((i + 1) * size);
      return XlFail(reader, XL_ERR_SYS_0);
    }
  }
  reader.input.Skip(n * size);
  return true;
}

inline bool XlReadValue(XlReader& reader, XlElementType type, std::uint32_t& out) {
  return XlReadValues(reader, type, 1, &out);
}

// The slot a value is pushed into, cleared: push with ++reader.depth once it
// is filled in. nullptr when the stack is full.
inline XlValue* XlFreeSlot(XlReader& reader) {
  if (reader.depth >= kXlStackLimit) return nullptr;
  XlValue& v = reader.values[reader.depth];
  v.attrId = -1;
  v.form = XL_FORM_INTEGER;
  v.elementType = XL_UBYTE;
  v.count = 0;
  for (std::uint32_t& w : v.words) w = 0;
  v.data.clear();
  return &v;
}

// A slot whose array grew past this gives its room back when the stack is
// emptied, so that one large block does not stay held for the whole stretch.
inline constexpr std::size_t kXlKeptSlotRoom = 64 * 1024;

// After bytes were put in a slot's array.
inline void XlNoteSlotRoom(XlReader& reader, const XlValue& v) {
  if (v.data.capacity() > kXlKeptSlotRoom) reader.slotGrewLarge = true;
}

void XlReleaseLargeSlots(XlReader& reader);

// Empties the value stack after an operator.
inline void XlClearStack(XlReader& reader) {
  if (reader.slotGrewLarge) XlReleaseLargeSlots(reader);
  reader.depth = 0;
}

// An attribute identifier names the value on top of the stack, which must
// have none yet.
inline bool XlTopValueUnnamed(const XlReader& reader) {
  return reader.depth > 0 && reader.values[reader.depth - 1].attrId == -1;
}

inline void XlNameTopValue(XlReader& reader, std::uint32_t id) {
  reader.values[reader.depth - 1].attrId = static_cast<std::int32_t>(id);
  XlUsageCounters& usage = reader.view.usage;
  if (id < usage.attributeCounts.size()) ++usage.attributeCounts[id];
  ++usage.attributeTotal;
}

// The value stack as the access routines take it.
inline std::span<const XlValue> XlStack(const XlReader& reader) { return {reader.values.data(), reader.depth}; }

// Data, attribute identifier, embedded data and stream binding tags.
bool XlHandleScalar(XlReader& reader, std::uint8_t tag);
bool XlHandlePair(XlReader& reader, std::uint8_t tag);
bool XlHandleBox(XlReader& reader, std::uint8_t tag);
bool XlHandleArray(XlReader& reader, std::uint8_t tag);
bool XlHandleAttributeId(XlReader& reader, std::uint8_t tag);
bool XlHandleLoneEmbeddedData(XlReader& reader, std::uint8_t tag);
bool XlHandleStreamBinding(XlReader& reader, std::uint8_t tag);

// Pending routines: the data of an operator and the elements of an array.
bool XlReadEmbeddedData(XlReader& reader, std::uint64_t count);
bool XlReadArrayData(XlReader& reader, std::uint64_t count);

// Byte order from a stream binding tag: 0x29 low byte first, 0x27 and 0x28
// high byte first.
void XlSetByteOrder(XlReader& reader, std::uint8_t bindingTag);

}  // namespace veltrix
