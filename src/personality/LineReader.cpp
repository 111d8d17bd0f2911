#include "personality/LineReader.h"

namespace veltrix {

namespace {
constexpr int kCr = 13;
constexpr int kLf = 10;
constexpr int kEsc = 27;
}  // namespace

bool ReadPjlLine(ByteReader& in, std::string& line, std::size_t size, bool& escapeSeen) {
  line.clear();
  std::size_t count = 0;  // bytes read up to and including the one that ended the line
  int b = -1;
  int last = -1;
  bool ended = false;
  for (;;) {
    b = in.Next();
    if (b < 0) {
      ended = true;
      break;
    }
    ++count;
    last = b;
    if (b == kCr || b == kLf || b == kEsc) break;
    if (line.size() + 1 < size) line += static_cast<char>(b);
  }
  // Runs of line ends are swallowed; the first other byte is read again.
  if (!ended && (b == kCr || b == kLf)) {
    for (;;) {
      b = in.Next();
      if (b < 0) {
        ended = true;
        break;
      }
      last = b;
      if (b != kCr && b != kLf) break;
    }
  }
  if (!ended) in.Unread(1);
  if (last == kEsc && count == 1) {
    escapeSeen = true;
    return false;
  }
  return count > 0;
}

}  // namespace veltrix
