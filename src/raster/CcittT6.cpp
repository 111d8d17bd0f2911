#include "raster/CcittT6.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "raster/CcittCodeLookup.h"

namespace veltrix {

namespace {

// The widest row the raster decoder takes: 158,390 bytes of eight pixels.
constexpr std::int32_t kWidestRow = 158390 * 8;

// Bits of the stream, most significant bit of each byte first, through a
// 64-bit window. Past the end the window reads as zeros, but no code made of
// those zeros can be consumed.
struct BitReader {
  std::span<const std::uint8_t> data;
  std::size_t nextByte = 0;
  std::uint64_t window = 0;  // unread bits, left-aligned
  int windowBits = 0;
};

void Refill(BitReader& in) {
  while (in.windowBits <= 56 && in.nextByte < in.data.size()) {
    in.window |= std::uint64_t{in.data[in.nextByte++]} << (56 - in.windowBits);
    in.windowBits += 8;
  }
}

// The next `count` bits (1 to 32), zeros beyond the data; call Refill first.
std::uint32_t Peek(const BitReader& in, int count) { return static_cast<std::uint32_t>(in.window >> (64 - count)); }

bool Consume(BitReader& in, int count) {
  if (count > in.windowBits) return false;  // the data ends inside this code
  in.window <<= count;
  in.windowBits -= count;
  return true;
}

// Reads one run: any number of make-up codes, then a terminating code. Fails
// on a bad or cut-off code and on a run longer than `limit`.
template <int IndexBits>
bool ReadRun(BitReader& in, const CcittLookup<IndexBits>& codes, std::int32_t limit, std::int32_t& run) {
  run = 0;
  for (;;) {
    Refill(in);
    const CcittLookupEntry code = codes.entries[Peek(in, IndexBits)];
    if (code.length == 0 || !Consume(in, code.length)) return false;
    run += code.value;
    if (run > limit) return false;  // also keeps repeated make-up codes from overflowing
    if (code.value < kCcittFirstMakeUp) return true;
  }
}

// Reads a mode code. The stream may end in an end-of-block code (two
// end-of-line codes) after its last row; since no row is read past `height`,
// an end-of-line code is never a mode and fails like any other bad code.
bool ReadMode(BitReader& in, CcittMode& mode) {
  Refill(in);
  const CcittLookupEntry code = kCcittModeLookup.entries[Peek(in, kCcittModeIndexBits)];
  if (code.length == 0 || !Consume(in, code.length)) return false;
  mode = static_cast<CcittMode>(code.value);
  return true;
}

// One row as its changing elements: the positions, ascending, of the pixels
// whose colour differs from the pixel before (the pixel before the first is
// white). Even indices turn black, odd ones turn white. Three copies of the
// width follow the last element, so that the search for b1 and b2 ends
// without a bounds test.
struct ChangeRow {
  std::int32_t* positions = nullptr;
  std::int32_t count = 0;
};

constexpr std::int32_t kSentinels = 3;

void CloseRow(ChangeRow& row, std::int32_t width) {
  for (std::int32_t i = 0; i < kSentinels; ++i) row.positions[row.count + i] = width;
}

// Adds a change at `position`, which is never left of the last one. A change
// on top of the last one undoes it (a run of length zero); a change at the
// right edge is no change at all. So the row stays strictly ascending and
// never holds more than `width` elements.
void AddChange(ChangeRow& row, std::int32_t position, std::int32_t width) {
  if (row.count > 0 && row.positions[row.count - 1] == position) {
    --row.count;
  } else if (position < width) {
    row.positions[row.count++] = position;
  }
}

// Decodes one row against the row above (`reference`, closed). The work is
// one step per mode code read plus one per reference element passed.
bool DecodeRow(BitReader& in, const ChangeRow& reference, ChangeRow& coding, std::int32_t width) {
  coding.count = 0;
  std::int32_t a0 = -1;        // -1: the imaginary white pixel before the row
  std::int32_t colour = 0;     // of the pixels from a0 on: 0 white, 1 black
  std::int32_t nearest = 0;    // first reference element right of a0
  while (a0 < width) {
    while (reference.positions[nearest] <= a0) ++nearest;  // stops at the sentinels: a0 < width
    // b1 is the first reference element right of a0 that turns to the colour
    // opposite a0's: an even index when a0 is white, an odd one when black.
    const std::int32_t b1Index = nearest + ((nearest & 1) != colour ? 1 : 0);
    const std::int32_t b1 = reference.positions[b1Index];
    const std::int32_t b2 = reference.positions[b1Index + 1];
    const std::int32_t start = std::max(a0, 0);

    CcittMode mode{};
    if (!ReadMode(in, mode)) return false;

    std::int32_t offset = 0;
    switch (mode) {
      case kModePass:
        a0 = b2;  // b2 >= b1 > a0: always moves right
        continue;
      case kModeHorizontal: {
        std::int32_t first = 0;
        std::int32_t second = 0;
        if (!(colour == 0 ? ReadRun(in, kCcittWhiteLookup, width - start, first)
                          : ReadRun(in, kCcittBlackLookup, width - start, first)))
          return false;
        const std::int32_t a1 = start + first;
        if (!(colour == 0 ? ReadRun(in, kCcittBlackLookup, width - a1, second)
                          : ReadRun(in, kCcittWhiteLookup, width - a1, second)))
          return false;
        AddChange(coding, a1, width);
        AddChange(coding, a1 + second, width);
        a0 = a1 + second;
        continue;
      }
      case kModeVertical0: offset = 0; break;
      case kModeVerticalRight1: offset = 1; break;
      case kModeVerticalRight2: offset = 2; break;
      case kModeVerticalRight3: offset = 3; break;
      case kModeVerticalLeft1: offset = -1; break;
      case kModeVerticalLeft2: offset = -2; break;
      case kModeVerticalLeft3: offset = -3; break;
      case kModeExtension:
        // Extensions (uncompressed mode among them) are not decoded: the
        // image fails, as it does for any code we cannot read.
        return false;
    }
    const std::int32_t a1 = b1 + offset;
    if (a1 < start || a1 > width) return false;  // left of a0 would unsort the changes
    AddChange(coding, a1, width);
    a0 = a1;
    colour ^= 1;
  }
  return true;
}

// Sets the bits of pixels [from, to) in a cleared row.
void SetPixels(std::uint8_t* bytes, std::int32_t from, std::int32_t to) {
  if (from >= to) return;
  const std::int32_t firstByte = from >> 3;
  const std::int32_t lastByte = (to - 1) >> 3;
  const std::uint8_t headMask = static_cast<std::uint8_t>(0xFFu >> (from & 7));
  const std::uint8_t tailMask = static_cast<std::uint8_t>(0xFFu << (7 - ((to - 1) & 7)));
  if (firstByte == lastByte) {
    bytes[firstByte] |= headMask & tailMask;
    return;
  }
  bytes[firstByte] |= headMask;
  std::memset(bytes + firstByte + 1, 0xFF, static_cast<std::size_t>(lastByte - firstByte - 1));
  bytes[lastByte] |= tailMask;
}

// The pixels of a row, black set; the bits past the width stay clear.
void DrawRow(const ChangeRow& row, std::int32_t width, std::uint8_t* bytes, std::size_t rowBytes) {
  std::memset(bytes, 0, rowBytes);
  for (std::int32_t i = 0; i < row.count; i += 2) {
    SetPixels(bytes, row.positions[i], i + 1 < row.count ? row.positions[i + 1] : width);
  }
}

// Buffers of one decode, sized by the width alone.
struct Workspace {
  std::unique_ptr<std::int32_t[]> reference;
  std::unique_ptr<std::int32_t[]> coding;
  std::unique_ptr<std::uint8_t[]> bytes;  // empty when rows are only checked
};

// Decodes all `height` rows, handing each to `row` unless it is null (the
// checking pass).
// Fails when any row fails or the image ends before `height` rows.
bool DecodeImage(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t height, Workspace& work,
                 const std::function<void(std::span<const std::uint8_t>)>* row) {
  BitReader in{data};
  ChangeRow reference{work.reference.get()};
  ChangeRow coding{work.coding.get()};
  CloseRow(reference, width);  // the row above the first is white
  const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
  for (std::int32_t y = 0; y < height; ++y) {
    // Every row reads at least one code, so a short stream fails after at
    // most one row per bit, however large the height.
    if (!DecodeRow(in, reference, coding, width)) return false;
    CloseRow(coding, width);
    if (row != nullptr) {
      DrawRow(coding, width, work.bytes.get(), rowBytes);
      (*row)(std::span<const std::uint8_t>(work.bytes.get(), rowBytes));
    }
    std::swap(reference, coding);
  }
  return true;
}

}  // namespace

bool DecodeCcittT6(std::span<const std::uint8_t> data, std::int32_t width, std::int32_t height,
                   const std::function<void(std::span<const std::uint8_t>)>& row) {
  if (width < 1 || height < 1 || width > kWidestRow) return false;
  const std::size_t changeSlots = static_cast<std::size_t>(width) + kSentinels;
  Workspace work{std::unique_ptr<std::int32_t[]>(new (std::nothrow) std::int32_t[changeSlots]),
                 std::unique_ptr<std::int32_t[]>(new (std::nothrow) std::int32_t[changeSlots]), nullptr};
  if (!work.reference || !work.coding) return false;
  // First pass: check that every row decodes, handing out nothing.
  if (!DecodeImage(data, width, height, work, nullptr)) return false;
  work.bytes.reset(new (std::nothrow) std::uint8_t[(static_cast<std::size_t>(width) + 7) / 8]);
  if (!work.bytes) return false;
  return DecodeImage(data, width, height, work, &row);
}

}  // namespace veltrix
