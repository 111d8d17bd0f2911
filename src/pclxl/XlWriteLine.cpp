#include "pclxl/XlWriteLine.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "decode/core/DecodeContext.h"
#include "decode/core/OutputSink.h"
#include "decode/core/TextFormat.h"

namespace veltrix {

namespace {

constexpr std::size_t kShortValueLimit = kXlShortValueLimit;
constexpr std::size_t kPieceLength = 64;
constexpr std::size_t kLabelWidth = 10;
constexpr std::size_t kPrefixWidth = kXlPrefixWidth;
constexpr std::size_t kNameWidth = kXlNameWidth;
constexpr std::size_t kInPlaceLimit = 256;    // names up to this long are written in place

constexpr std::string_view kBlanks = "                                ";  // 32
static_assert(kBlanks.size() >= kPrefixWidth && kBlanks.size() >= kNameWidth);

void PutPadded(OutputSink& out, std::string_view text, std::size_t width) {
  out.Put(text);
  if (text.size() < width) out.Put(kBlanks.substr(0, width - text.size()));
}

// Where a continuation piece of `rest` (longer than one piece) ends: before a
// hex token such as <0x012C> that the plain cut would split, unless the token
// starts the piece.
std::size_t PieceEnd(std::string_view rest) {
  for (std::size_t i = kPieceLength - 1; i > 0; --i) {
    if (rest[i] == '>') break;
    if (rest[i] == '<' && rest[i + 1] == '0') return i;
  }
  return kPieceLength;
}

}  // namespace

void XlWriteLine(const DecodeContext& ctx, const XlListingLine& line) {
  XlWriteLine(ctx, line.label, line.name, line.value);
}

void XlWriteLine(const DecodeContext& ctx, std::string_view label, std::string_view name, std::string_view value) {
  if (ctx.listing == nullptr || (ctx.flags & DF_SUPPRESS) != 0) return;
  OutputSink& out = *ctx.listing;
  const bool longValue = value.size() >= kShortValueLimit;

  if (label.empty() && !longValue && name.size() < kInPlaceLimit) {
    // The common attribute line, written in place: blanks, the name padded,
    // the value.
    char* at = out.Reserve(kPrefixWidth + kNameWidth + kInPlaceLimit + kShortValueLimit + 1);
    std::memset(at, ' ', kPrefixWidth + kNameWidth);  // the name is written over the blanks of its column
    at += kPrefixWidth;
    char* const nameEnd = FormatText(at, name);
    if (!value.empty()) {
      at = FormatText(std::max(nameEnd, at + kNameWidth), value);
    } else {
      at = nameEnd;
    }
    *at++ = '\n';
    out.Commit(at);
    return;
  }

  if (label.empty()) {
    out.Put(kBlanks.substr(0, kPrefixWidth));
  } else {
    out.Put("[XL ");
    PutPadded(out, label, kLabelWidth);
    out.Put("] ");
  }
  if (!longValue && !value.empty()) {
    PutPadded(out, name, kNameWidth);
    out.Put(value);
  } else {
    out.Put(name);
  }
  out.Put('\n');
  if (!longValue) return;

  std::string_view rest = value;
  while (!rest.empty()) {
    const std::size_t n = rest.size() > kPieceLength ? PieceEnd(rest) : rest.size();
    out.Put(kBlanks.substr(0, kPrefixWidth));
    out.Put(rest.substr(0, n));
    out.Put('\n');
    rest.remove_prefix(n);
  }
}

}  // namespace veltrix
