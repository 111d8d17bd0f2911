#include "pclxl/XlReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "pclxl/XlOperators.h"
#include "pclxl/XlTagTable.h"
#include "pclxl/XlView.h"

namespace veltrix {

namespace {

constexpr auto kErrorNames = std::to_array<std::string_view>({
    "No Error",
    "Internal Overflow",
    "EOF reading embedded length",
    "EOF reading embedded data",
    "EOF reading array",
    "EOF reading value",
    "SYS_0",
    "SYS_1",
    "SYS_2",
    "UEL within session",
    "Bad escape",
    "Unexpected EOF",
    "Illegal Operator Sequence",
    "Missing Attribute",
    "Illegal Attribute Value",
    "Max GS Levels Exceeded",
    "Current Cursor Undefined",
    "Font Name Already Exists",
    "Insufficient Memory",
    "Missing Data",
    "Font Undefined",
    "Illegal Data Length",
    "No Current Font",
    "Extra Data",
    "Attribute Without Value On Stack",
});
static_assert(kErrorNames.size() == XL_ERR_ATTRIBUTE_WITHOUT_VALUE + 1);

// Scalar, pair, box and array tags give their element types in this order,
// counted from the first tag of each group.
constexpr XlElementType kTagElementTypes[] = {XL_UBYTE, XL_UINT16, XL_UINT32, XL_SINT16, XL_SINT32, XL_REAL32};
constexpr XlForm kArrayForms[] = {XL_FORM_UBYTE_ARRAY,  XL_FORM_UINT16_ARRAY, XL_FORM_UINT32_ARRAY,
                                  XL_FORM_SINT16_ARRAY, XL_FORM_SINT32_ARRAY, XL_FORM_REAL32_ARRAY};

constexpr std::uint8_t kTypeUByte = 0xC0;
constexpr std::uint8_t kTypeUInt16 = 0xC1;

// Ends a stored stream whose bytes are used up: the byte read ahead before it
// started comes next.
bool EndStoredStream(XlReader& reader) {
  XlMemorySource& m = reader.memorySource;
  m.active = false;
  m.bytes.reset();
  if (!m.savedPushedBack) return false;
  m.savedPushedBack = false;
  XlPushBack(reader, m.savedByte, false);
  return true;
}

// Takes the bytes that come before the input: a pushed-back byte and what is
// left of a stored stream. Returns how many of n were taken.
template <typename Sink>
std::size_t TakeBeforeInput(XlReader& reader, std::size_t n, Sink&& sink) {
  std::size_t done = 0;
  while (done < n) {
    if (reader.pushedBack) {
      reader.pushedBack = false;
      sink(&reader.pushedByte, 1);
      ++done;
      continue;
    }
    XlMemorySource& m = reader.memorySource;
    if (!m.active) break;
    const std::size_t left = m.bytes->size() - m.pos;
    if (left == 0) {
      if (!EndStoredStream(reader)) break;
      continue;
    }
    const std::size_t step = std::min(left, n - done);
    sink(m.bytes->data() + m.pos, step);
    m.pos += step;
    done += step;
  }
  return done;
}

void SwapElements(std::vector<std::uint8_t>& data, std::size_t size) {
  if (size == 2) {
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) std::swap(data[i], data[i + 1]);
  } else if (size == 4) {
    for (std::size_t i = 0; i + 3 < data.size(); i += 4) {
      std::swap(data[i], data[i + 3]);
      std::swap(data[i + 1], data[i + 2]);
    }
  }
}

// Reads n values of one type and pushes them as one value of the form.
bool PushWords(XlReader& reader, XlElementType type, int n, XlForm form, XlElementType elementType) {
  std::uint32_t words[4];
  if (!XlReadValues(reader, type, n, words)) return false;
  XlValue* v = XlFreeSlot(reader);
  if (v == nullptr) return XlFail(reader, XL_ERR_INTERNAL_OVERFLOW);
  v->form = form;
  v->elementType = elementType;
  std::copy(words, words + n, v->words);
  ++reader.depth;
  return true;
}

// Reads n bytes without keeping them (nor copying them anywhere); false
// when the input ends first.
bool PassBlock(XlReader& reader, std::uint64_t n) {
  const std::size_t first = static_cast<std::size_t>(std::min<std::uint64_t>(n, SIZE_MAX));
  std::uint64_t left = n - TakeBeforeInput(reader, first, [](const std::uint8_t*, std::size_t) {});
  while (left > 0) {
    std::span<const std::uint8_t> ahead = reader.input.Buffered();
    if (ahead.empty()) ahead = reader.input.Peek(ByteReader::kBufferSize / 2);
    if (ahead.empty()) return false;
    const std::uint64_t step = std::min<std::uint64_t>(left, ahead.size());
    reader.input.Skip(step);
    left -= step;
  }
  return true;
}

// Appends n bytes; a few are appended one by one, cheaper than a call.
void AppendBytes(std::vector<std::uint8_t>& into, const std::uint8_t* p, std::size_t n) {
  if (n <= 16) {
    for (std::size_t i = 0; i < n; ++i) into.push_back(p[i]);
  } else {
    into.insert(into.end(), p, p + n);
  }
}

// Pushes the free slot v, its data holding the bytes of `count` elements of
// the array form.
void PushArray(XlReader& reader, XlValue& v, std::size_t formIndex, std::int32_t count) {
  const XlElementType type = kTagElementTypes[formIndex];
  if (reader.swapBytes) SwapElements(v.data, kXlElementSize[type]);
  v.form = kArrayForms[formIndex];
  v.elementType = type;
  v.count = count;
  ++reader.depth;
}

// The common array: a UByte count and elements that lie whole in the
// input's window, taken at once instead of by the next step. False (nothing
// read) for any other.
bool TakeShortArray(XlReader& reader, std::size_t formIndex) {
  const std::span<const std::uint8_t> ahead = XlDirectBytes(reader);
  if (ahead.size() < 2 || ahead[0] != kTypeUByte || ahead[1] == 0) return false;
  const std::size_t count = ahead[1];
  const std::size_t bytes = count * kXlElementSize[kTagElementTypes[formIndex]];
  if (ahead.size() - 2 < bytes) return false;
  XlValue* v = XlFreeSlot(reader);
  if (v == nullptr) return false;
  AppendBytes(v->data, ahead.data() + 2, bytes);
  PushArray(reader, *v, formIndex, static_cast<std::int32_t>(count));
  reader.input.Skip(2 + bytes);
  return true;
}

}  // namespace

std::string_view XlErrorName(std::int32_t code) {
  return code >= 0 && static_cast<std::size_t>(code) < kErrorNames.size() ? kErrorNames[code] : std::string_view();
}

XlReader::XlReader(const XlView& decoderView) : view(decoderView), input(*decoderView.ctx.input) {}

int XlReadStoredByte(XlReader& reader) {
  XlMemorySource& m = reader.memorySource;
  if (m.pos < m.bytes->size()) {
    reader.byteFromStream = true;
    return (*m.bytes)[m.pos++];
  }
  if (EndStoredStream(reader)) return XlReadByte(reader);
  reader.byteFromStream = false;
  return reader.input.Next();
}

std::size_t XlReadBlock(XlReader& reader, std::uint8_t* out, std::size_t n) {
  if (!reader.pushedBack && !reader.memorySource.active) {  // most often all there in the reader's window
    const std::span<const std::uint8_t> ahead = reader.input.Buffered();
    if (n > 0 && ahead.size() >= n) {
      std::memcpy(out, ahead.data(), n);
      reader.input.Skip(n);
      return n;
    }
  }
  std::size_t done = TakeBeforeInput(reader, n, [&](const std::uint8_t* p, std::size_t k) {
    std::memcpy(out, p, k);
    out += k;
  });
  return done + reader.input.Read(out, n - done);
}

bool XlTakeBlock(XlReader& reader, std::uint64_t n, std::vector<std::uint8_t>& into) {
  const std::span<const std::uint8_t> ahead = XlDirectBytes(reader);
  if (n <= ahead.size()) {  // most often all there in the reader's window
    AppendBytes(into, ahead.data(), n);
    reader.input.Skip(n);
    return true;
  }
  const std::size_t first = static_cast<std::size_t>(std::min<std::uint64_t>(n, SIZE_MAX));
  const std::size_t done = TakeBeforeInput(reader, first, [&](const std::uint8_t* p, std::size_t k) {
    into.insert(into.end(), p, p + k);
  });
  return reader.input.Take(n - done, into);
}

void XlStartStoredStream(XlReader& reader, std::shared_ptr<const std::vector<std::uint8_t>> bytes,
                         std::size_t from) {
  XlMemorySource& m = reader.memorySource;
  m.savedPushedBack = reader.pushedBack;
  m.savedByte = reader.pushedByte;
  reader.pushedBack = false;
  m.bytes = std::move(bytes);
  m.pos = std::min(from, m.bytes->size());
  m.active = true;
}

void XlSetByteOrder(XlReader& reader, std::uint8_t bindingTag) {
  const bool highByteFirst = bindingTag != 0x29;
  reader.swapBytes = highByteFirst != (std::endian::native == std::endian::big);
}

void XlReleaseLargeSlots(XlReader& reader) {
  for (XlValue& v : reader.values) {
    if (v.data.capacity() > kXlKeptSlotRoom) std::vector<std::uint8_t>().swap(v.data);
  }
  reader.slotGrewLarge = false;
}

bool XlReadValuesSlowly(XlReader& reader, XlElementType type, int n, std::uint32_t* out) {
  const std::size_t size = kXlElementSize[type];
  for (int i = 0; i < n; ++i) {
    std::uint8_t b[4];
    if (XlReadBlock(reader, b, size) != size) return XlFail(reader, XL_ERR_EOF_VALUE);
    out[i] = XlWiden(type, b, XlHighByteFirst(reader));
    if (!XlHoldable(type, out[i])) return XlFail(reader, XL_ERR_SYS_0);
  }
  return true;
}

bool XlHandleScalar(XlReader& reader, std::uint8_t tag) {
  const XlElementType type = kTagElementTypes[tag - 0xC0];
  return PushWords(reader, type, 1, type == XL_REAL32 ? XL_FORM_REAL : XL_FORM_INTEGER, type);
}

bool XlHandlePair(XlReader& reader, std::uint8_t tag) {
  const XlElementType type = kTagElementTypes[tag - 0xD0];
  return PushWords(reader, type, 2, type == XL_REAL32 ? XL_FORM_REAL_PAIR : XL_FORM_INTEGER_PAIR, XL_COMPOSITE);
}

bool XlHandleBox(XlReader& reader, std::uint8_t tag) {
  const XlElementType type = kTagElementTypes[tag - 0xE0];
  return PushWords(reader, type, 4, type == XL_REAL32 ? XL_FORM_REAL_BOX : XL_FORM_INTEGER_BOX, XL_COMPOSITE);
}

bool XlHandleArray(XlReader& reader, std::uint8_t tag) {
  if (TakeShortArray(reader, tag - 0xC8)) return true;
  std::uint32_t countType = 0;
  if (!XlReadValue(reader, XL_UBYTE, countType)) return false;
  // The count is itself a tagged value, and only these two types are valid.
  if (countType != kTypeUByte && countType != kTypeUInt16) return false;
  std::uint32_t count = 0;
  if (!XlReadValue(reader, countType == kTypeUByte ? XL_UBYTE : XL_UINT16, count)) return false;
  const std::size_t index = tag - 0xC8;
  if (count == 0) {
    XlValue* v = XlFreeSlot(reader);
    if (v == nullptr) return XlFail(reader, XL_ERR_INTERNAL_OVERFLOW);
    v->form = kArrayForms[index];
    v->elementType = kTagElementTypes[index];
    ++reader.depth;
    return true;
  }
  reader.arrayCount = static_cast<std::int32_t>(count);
  reader.arrayIndex = static_cast<std::uint8_t>(index);
  reader.pendingCount = count * kXlElementSize[kTagElementTypes[index]];
  reader.pendingRoutine = XlReadArrayData;
  return true;
}

bool XlReadArrayData(XlReader& reader, std::uint64_t count) {
  XlValue* v = XlFreeSlot(reader);
  if (v == nullptr) {  // the elements are read all the same
    return XlFail(reader, PassBlock(reader, count) ? XL_ERR_INTERNAL_OVERFLOW : XL_ERR_EOF_ARRAY);
  }
  const bool whole = XlTakeBlock(reader, count, v->data);
  XlNoteSlotRoom(reader, *v);
  if (!whole) return XlFail(reader, XL_ERR_EOF_ARRAY);
  PushArray(reader, *v, reader.arrayIndex, reader.arrayCount);
  return true;
}

namespace {

// Embedded data is held only for the operators that look into it (fonts,
// stored streams, point lists); any other operator's data is read past, so
// that a block as large as the job costs no memory.
bool OperatorUsesData(std::uint8_t op) {
  const XlTagHandler handler = XlFindTag(op).handler;
  return handler == XlReadFontHeader || handler == XlReadChar || handler == XlReadStream ||
         handler == XlLinePath || handler == XlBezierPath;
}

}  // namespace

bool XlReadEmbeddedData(XlReader& reader, std::uint64_t count) {
  XlValue* v = XlFreeSlot(reader);
  const bool whole = v != nullptr && OperatorUsesData(reader.lengthOperator) ? XlTakeBlock(reader, count, v->data)
                                                                             : PassBlock(reader, count);
  if (v != nullptr) XlNoteSlotRoom(reader, *v);
  if (!whole) return XlFail(reader, XL_ERR_EOF_EMBEDDED_DATA);
  // The operator comes again, now with its data on the stack.
  XlPushBack(reader, reader.lengthOperator, reader.lengthOperatorFromStream);
  if (v == nullptr) return XlFail(reader, XL_ERR_INTERNAL_OVERFLOW);
  v->form = XL_FORM_EMBEDDED;
  v->elementType = XL_COMPOSITE;
  v->count = static_cast<std::int32_t>(count);  // below 2^31: longer lengths end the stretch
  ++reader.depth;
  return true;
}

bool XlHandleAttributeId(XlReader& reader, std::uint8_t tag) {
  std::uint32_t id = 0;
  if (!XlReadValue(reader, tag == 0xF8 ? XL_UBYTE : XL_UINT16, id)) return false;
  if (!XlTopValueUnnamed(reader)) return XlFail(reader, XL_ERR_ATTRIBUTE_WITHOUT_VALUE);
  XlNameTopValue(reader, id);
  return true;
}

bool XlHandleLoneEmbeddedData(XlReader&, std::uint8_t) { return false; }

bool XlHandleStreamBinding(XlReader& reader, std::uint8_t tag) {
  // The ASCII binding keeps the byte order it finds once the header is read.
  if (tag != 0x27) XlSetByteOrder(reader, tag);
  return true;
}

}  // namespace veltrix
