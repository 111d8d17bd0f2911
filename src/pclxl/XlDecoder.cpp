// The PCL XL tag loop: binding header, UEL check, tag listing, handlers and
// error lines for one PCL XL stretch.
#include "pclxl/XlDecoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "decode/core/DecodeContext.h"
#include "decode/core/OutputSink.h"
#include "decode/core/TextFormat.h"
#include "decode/core/ProblemWriter.h"
#include "pclxl/XlAttributes.h"
#include "pclxl/XlReader.h"
#include "pclxl/XlTagTable.h"
#include "pclxl/XlView.h"
#include "pclxl/XlWriteLine.h"

namespace veltrix {

namespace {

constexpr int kEscape = 0x1B;
constexpr int kLineFeed = 0x0A;
constexpr std::string_view kUelAfterEscape = "%-12345X";
constexpr std::uint8_t kVendorFxn = 0x46;
constexpr std::uint8_t kEmbeddedData = 0xFA;
constexpr std::uint8_t kEmbeddedDataByte = 0xFB;

std::uint8_t ListedClasses(std::int32_t level) {
  std::uint8_t bits = 0;
  if (level > 1) bits |= kXlListUnknown;
  if (level > 2) bits |= kXlListOperators;
  if (level > 3) bits |= kXlListAttributes;
  if (level > 6) bits |= kXlListEmbedded | kXlListWhitespace;
  if (level > 7) bits |= kXlListData;
  return bits;
}

constexpr std::array<std::uint8_t, 8> kClassListBits = {
    kXlListUnknown,    // unused
    kXlListUnknown,    // reserved
    kXlListWhitespace,
    kXlListOperators,  // stream binding
    kXlListOperators,
    kXlListData,       // data type
    kXlListData,       // attribute identifier
    kXlListEmbedded,
};

// After an ESC: only a complete UEL leaves the stretch cleanly. Whatever was
// read of the escape stays consumed.
void CheckUel(XlReader& reader) {
  for (const char expected : kUelAfterEscape) {
    const int b = XlReadByte(reader);
    if (b < 0) {
      reader.errorCode = XL_ERR_UNEXPECTED_EOF;
      reader.ended = reader.failed = true;
      return;
    }
    if (b != static_cast<unsigned char>(expected)) {
      reader.errorCode = XL_ERR_BAD_ESCAPE;
      reader.stopped = reader.failed = true;
      return;
    }
  }
  reader.uelSeen = true;
  if (reader.streamState == XL_STATE_IN_SESSION || reader.streamState == XL_STATE_IN_PAGE) {
    reader.errorCode = XL_ERR_UEL_IN_SESSION;
    reader.failed = true;
  }
}

// The length after an operator's 0xFA or 0xFB. A length that cannot be read
// or held ends the stretch.
bool ReadEmbeddedLength(XlReader& reader, std::uint8_t lengthTag, std::uint64_t& length) {
  std::uint32_t value = 0;
  const std::size_t size = lengthTag == kEmbeddedData ? 4 : 1;
  std::uint8_t b[4];
  if (XlReadBlock(reader, b, size) != size) {
    reader.errorCode = XL_ERR_EOF_EMBEDDED_LENGTH;
    reader.ended = reader.failed = true;
    return false;
  }
  if (size == 1) {
    value = b[0];
  } else {
    if (reader.swapBytes) std::reverse(b, b + 4);
    std::memcpy(&value, b, 4);
    if ((value & 0x80000000u) != 0) {
      reader.errorCode = XL_ERR_EOF_EMBEDDED_LENGTH;
      reader.stopped = reader.failed = true;
      return false;
    }
  }
  length = value;
  return true;
}

// "[XL " and the class label padded to ten columns, then "] ": the start of
// each tag line.
constexpr std::size_t kTagPrefixWidth = kXlPrefixWidth;

constexpr std::size_t kTagClasses = std::size(kXlTagClassLabels);
constexpr std::size_t kLabelWidth = 10;

constexpr bool LabelsFit() {
  for (const std::string_view label : kXlTagClassLabels) {
    if (label.size() > kLabelWidth) return false;
  }
  return kTagPrefixWidth == 4 + kLabelWidth + 2;  // "[XL " label "] "
}
static_assert(LabelsFit());

constexpr std::array<std::array<char, kTagPrefixWidth>, kTagClasses> BuildTagPrefixes() {
  std::array<std::array<char, kTagPrefixWidth>, kTagClasses> prefixes{};
  for (std::size_t c = 0; c < prefixes.size(); ++c) {
    std::array<char, kTagPrefixWidth>& p = prefixes[c];
    std::fill(p.begin(), p.end(), ' ');
    p[0] = '[', p[1] = 'X', p[2] = 'L';
    std::copy(kXlTagClassLabels[c].begin(), kXlTagClassLabels[c].end(), p.begin() + 4);
    p[4 + kLabelWidth] = ']';
  }
  return prefixes;
}
constexpr auto kTagPrefixes = BuildTagPrefixes();

// The line of a named tag, written in place (tag names are short).
void WriteNamedTagLine(OutputSink& out, XlTagClass tagClass, std::string_view name) {
  char* at = out.Reserve(kTagPrefixWidth + name.size() + 1);
  std::memcpy(at, kTagPrefixes[tagClass].data(), kTagPrefixWidth);
  at = FormatText(at + kTagPrefixWidth, name);
  *at++ = '\n';
  out.Commit(at);
}

void ListTag(XlReader& reader, std::uint8_t tag, const XlTagEntry& entry) {
  XlUsageCounters& usage = reader.view.usage;
  ++usage.tagCounts[tag];
  ++usage.tagTotal;
  if (!reader.listsClass[entry.tagClass]) return;

  const std::string_view label = kXlTagClassLabels[entry.tagClass];
  if (entry.tagClass == XL_TAG_UNUSED || entry.tagClass == XL_TAG_RESERVED) {
    XlWriteLine(reader.view.ctx, label, "Unknown tag value", StringPrintf("Tag value %d (0x%02X)", tag, tag));
  } else if (entry.tagClass == XL_TAG_OPERATOR && entry.name.empty()) {
    XlWriteLine(reader.view.ctx, label, StringPrintf("Unknown Op 0x%02X", tag), {});
  } else {
    WriteNamedTagLine(*reader.view.ctx.listing, entry.tagClass, entry.name);
  }

  if (entry.tagClass != XL_TAG_OPERATOR || (reader.listedClasses & kXlListAttributes) == 0) return;
  const std::span<const XlValue> stack = XlStack(reader);
  for (std::size_t i = stack.size(); i-- > 0;) XlWriteAttribute(reader.view.ctx, stack[i]);
}

void WriteErrorLine(XlReader& reader, std::uint8_t tag, const XlTagEntry& entry) {
  CountProblem(reader.view.ctx);
  if (!reader.writesLines && !reader.view.ctx.problemFacts) return;
  XlListingLine line;
  line.label = "*ERROR*";
  line.name = StringPrintf("Error processing tag %d (0x%02X) %.*s : ", tag, tag,
                           static_cast<int>(entry.name.size()), entry.name.data());
  line.value = XlErrorName(reader.errorCode);
  RecordProblemFact(reader.view.ctx, "", std::string(line.label) + " " + line.name + std::string(line.value));
  if (!reader.writesLines) return;
  XlWriteLine(reader.view.ctx, line);
}

// A value is most often named at once by an 8-bit attribute identifier. When
// the identifier lies in the input's window, no line shows it and it names
// the value, it is taken in the same step, exactly as the next step would
// take it.
void TakeAttributeId(XlReader& reader) {
  constexpr std::uint8_t k8BitAttrId = 0xF8;
  const std::span<const std::uint8_t> ahead = XlDirectBytes(reader);
  if (ahead.size() < 2 || ahead[0] != k8BitAttrId || reader.listsClass[XL_TAG_ATTRIBUTE_ID] ||
      reader.pendingRoutine != nullptr || !XlTopValueUnnamed(reader)) {
    return;
  }
  const std::uint8_t id = ahead[1];
  reader.input.Skip(2);
  XlUsageCounters& usage = reader.view.usage;
  ++usage.tagCounts[k8BitAttrId];
  ++usage.tagTotal;
  reader.byteFromStream = reader.tagFromStream = false;
  XlNameTopValue(reader, id);
}

void HandleTag(XlReader& reader, std::uint8_t tag, bool fromStream) {
  const XlTagEntry& entry = XlFindTag(tag);
  const bool isOperator = entry.tagClass == XL_TAG_OPERATOR;
  if (isOperator) {
    // An operator with data is followed by the data's length; it is handled
    // once the data has been read (XlReadEmbeddedData hands it back).
    const int next = XlReadByte(reader);
    if (next == kEmbeddedData || next == kEmbeddedDataByte) {
      std::uint64_t length = 0;
      if (!ReadEmbeddedLength(reader, static_cast<std::uint8_t>(next), length)) return;
      reader.pendingCount = length;
      reader.pendingRoutine = XlReadEmbeddedData;
      reader.lengthOperator = tag;
      reader.lengthOperatorFromStream = fromStream;
      return;
    }
    if (next >= 0) XlPushBack(reader, static_cast<std::uint8_t>(next), reader.byteFromStream);
  }

  if (!(tag == kVendorFxn && (reader.view.ctx.flags & DF_RAS_CONTIGUOUS) != 0)) ListTag(reader, tag, entry);
  reader.tagFromStream = fromStream;
  if (entry.handler != nullptr && !entry.handler(reader, tag)) {
    WriteErrorLine(reader, tag, entry);
  } else if (entry.tagClass == XL_TAG_DATA_TYPE) {
    TakeAttributeId(reader);
  }
  if (isOperator) {
    XlClearStack(reader);
    // Executed streams can replay a stored stream without end.
    if (StopIfOverBudget(reader.view.ctx)) reader.stopped = true;
  }
}

void Step(XlReader& reader) {
  if (reader.pendingRoutine != nullptr) {
    const XlPendingRoutine routine = reader.pendingRoutine;
    const std::uint64_t count = reader.pendingCount;
    reader.pendingRoutine = nullptr;
    reader.pendingCount = 0;
    // Failures here leave at most an error code: no line.
    (void)routine(reader, count);
    return;
  }
  const int b = XlReadByte(reader);
  if (b < 0) {
    reader.ended = true;
    return;
  }
  if (b == kEscape) {
    CheckUel(reader);
    return;
  }
  if (reader.streamState >= XL_STATE_OUTSIDE_SESSION) {
    HandleTag(reader, static_cast<std::uint8_t>(b), reader.byteFromStream);
  } else if (reader.streamState == XL_STATE_WAIT_BINDING) {
    if (b >= 0x27 && b <= 0x29) {
      XlSetByteOrder(reader, static_cast<std::uint8_t>(b));
      reader.streamState = XL_STATE_HEADER_LINE;
    }
  } else if (b == kLineFeed) {  // the header line ends
    reader.streamState = XL_STATE_OUTSIDE_SESSION;
  }
}

}  // namespace

int DecodePclXl(const XlView& view) {
  DecodeContext& ctx = view.ctx;
  ctx.emulation = EMUL_UNKNOWN;
  if (ctx.input == nullptr) {
    ctx.endOfFile = true;
    ctx.languageExit = false;
    return 0;
  }
  XlReader reader(view);
  reader.listedClasses = ListedClasses(ctx.level);
  reader.writesLines = ctx.listing != nullptr && (ctx.flags & DF_SUPPRESS) == 0;
  for (std::size_t c = 0; c < reader.listsClass.size(); ++c) {
    reader.listsClass[c] = reader.writesLines && (reader.listedClasses & kClassListBits[c]) != 0;
  }
  while (!reader.ended && !reader.uelSeen && !reader.stopped) Step(reader);
  ctx.endOfFile = reader.ended;
  ctx.languageExit = reader.uelSeen;
  return reader.failed ? 0 : 1;
}

}  // namespace veltrix
