// The "<rast>:" row lines. The text of a row is prepared in a buffer from
// per-byte tables and handed to the listing in runs of up to 16 KiB, so that
// a 600 dpi row costs one Put.
#include <array>
#include <cstring>
#include <string_view>

#include "raster/RasterRowEmit.h"

namespace veltrix {

namespace {

constexpr std::string_view kRowPrefix = "<rast>:";
constexpr std::size_t kBitTextSize = 8;    // one byte of a one-bit row
constexpr std::size_t kColourTextSize = 7;  // "RRGGBB "
constexpr std::size_t kTextRun = 16 * 1024;

// Most significant bit first: "1" for a set pixel, a blank for a clear one.
constexpr auto kBitText = [] {
  std::array<std::array<char, kBitTextSize>, 256> text{};
  for (std::size_t value = 0; value < 256; ++value) {
    for (std::size_t bit = 0; bit < kBitTextSize; ++bit) text[value][bit] = (value >> (7 - bit)) & 1 ? '1' : ' ';
  }
  return text;
}();

constexpr auto kHexText = [] {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::array<std::array<char, 2>, 256> text{};
  for (std::size_t value = 0; value < 256; ++value) text[value] = {kDigits[value >> 4], kDigits[value & 15]};
  return text;
}();

static_assert(kTextRun > kRowPrefix.size() + kBitTextSize);

class LineText {
 public:
  explicit LineText(OutputSink& listing) : listing_(listing) { Append(kRowPrefix.data(), kRowPrefix.size()); }
  // Room for `n` more characters, handing the text so far to the listing if needed.
  char* Reserve(std::size_t n) {
    if (len_ + n > kTextRun) {
      listing_.Put(std::string_view(text_, len_));
      len_ = 0;
    }
    char* at = text_ + len_;
    len_ += n;
    return at;
  }
  void Append(const char* s, std::size_t n) { std::memcpy(Reserve(n), s, n); }
  void Finish() {
    *Reserve(1) = '\n';
    listing_.Put(std::string_view(text_, len_));
  }

 private:
  OutputSink& listing_;
  char text_[kTextRun];
  std::size_t len_ = 0;
};

}  // namespace

void WriteRowLine(OutputSink& listing, const std::uint8_t* row, std::size_t used, bool directColour) {
  LineText line(listing);
  if (!directColour) {
    for (std::size_t i = 0; i < used; ++i) line.Append(kBitText[row[i]].data(), kBitTextSize);
  } else {
    for (std::size_t i = 0; i + 3 <= used; i += 3) {
      char* at = line.Reserve(kColourTextSize);
      std::memcpy(at, kHexText[row[i]].data(), 2);
      std::memcpy(at + 2, kHexText[row[i + 1]].data(), 2);
      std::memcpy(at + 4, kHexText[row[i + 2]].data(), 2);
      at[6] = ' ';
    }
  }
  line.Finish();
}

}  // namespace veltrix
