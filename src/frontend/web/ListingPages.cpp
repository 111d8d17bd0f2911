#include "frontend/web/ListingPages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace veltrix {

namespace {

constexpr std::size_t kChunk = 256 * 1024;

class ListingFile {
 public:
  explicit ListingFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
      size_ = static_cast<std::uint64_t>(st.st_size);
    } else if (fd_ >= 0) {
      ::close(fd_);
      fd_ = -1;
      errno = EINVAL;
    }
  }
  ~ListingFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ListingFile(const ListingFile&) = delete;
  ListingFile& operator=(const ListingFile&) = delete;

  bool Open() const { return fd_ >= 0; }
  std::uint64_t Size() const { return size_; }

  // Bytes from `from` on: whatever the window read last holds from there, or
  // a new window of kChunk bytes; empty at the end of the file.
  std::string_view ReadFrom(std::uint64_t from) {
    if (from < windowStart_ || from >= windowStart_ + window_.size()) Fill(window_, windowStart_ = from, kChunk);
    const std::size_t skip = static_cast<std::size_t>(from - windowStart_);
    return std::string_view(window_).substr(std::min(skip, window_.size()));
  }

  // The start of the line that holds the byte at `offset`. Looks back
  // through a window of its own, so that walking back line by line reads
  // each byte once.
  std::uint64_t LineStart(std::uint64_t offset) {
    offset = std::min(offset, size_);
    while (offset > 0) {
      if (offset > backStart_ && offset <= backStart_ + back_.size()) {
        const std::size_t nl = back_.rfind('\n', static_cast<std::size_t>(offset - backStart_ - 1));
        if (nl != std::string::npos) return backStart_ + nl + 1;
        offset = backStart_;
        continue;
      }
      const std::uint64_t from = offset > kChunk ? offset - kChunk : 0;
      Fill(back_, backStart_ = from, static_cast<std::size_t>(offset - from));
      if (back_.size() != offset - from) return 0;  // the file shrank under us
    }
    return 0;
  }

  // The line [start, end) when the look-back window holds it whole.
  std::optional<std::string_view> CachedLine(std::uint64_t start, std::uint64_t end) const {
    if (start < backStart_ || end > backStart_ + back_.size()) return std::nullopt;
    return std::string_view(back_).substr(static_cast<std::size_t>(start - backStart_),
                                          static_cast<std::size_t>(end - start));
  }

  // The line from `start`: its first kMaxShownLineLength bytes, without the
  // line end, and the offset after it.
  std::uint64_t LineAt(std::uint64_t start, std::string& text) {
    text.clear();
    std::uint64_t at = start;
    for (;;) {
      const std::string_view bytes = ReadFrom(at);
      if (bytes.empty()) return at;
      const std::size_t nl = bytes.find('\n');
      const std::string_view piece = bytes.substr(0, nl);
      if (text.size() < kMaxShownLineLength) text.append(piece.substr(0, kMaxShownLineLength - text.size()));
      if (nl != std::string_view::npos) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        return at + nl + 1;
      }
      at += bytes.size();
    }
  }

 private:
  void Fill(std::string& buffer, std::uint64_t from, std::size_t length) {
    buffer.resize(length);
    std::size_t got = 0;
    while (got < length) {
      const ssize_t n = ::pread(fd_, buffer.data() + got, length - got, static_cast<off_t>(from + got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    buffer.resize(got);
  }

  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::string window_;
  std::uint64_t windowStart_ = 0;
  std::string back_;
  std::uint64_t backStart_ = 0;
};

}  // namespace

bool IsProblemLine(std::string_view line) {
  return line.find("***") != std::string_view::npos || line.find("*ERROR*") != std::string_view::npos;
}

bool ReadListingPage(const std::string& path, std::uint64_t offset, std::size_t maxLines, bool backward,
                     ListingPage& page, std::string& why) {
  ListingFile file(path);
  if (!file.Open()) {
    why = std::strerror(errno);
    return false;
  }
  page = {};
  page.size = file.Size();
  // Back from the end takes in a last line that has no line end.
  std::uint64_t start = backward && offset >= page.size ? page.size : file.LineStart(offset);
  if (backward) {
    for (std::size_t n = 0; n < maxLines && start > 0; ++n) start = file.LineStart(start - 1);
  }
  page.start = start;
  std::uint64_t at = start;
  std::string line;
  while (page.lines.size() < maxLines && at < page.size && !(backward && at >= offset)) {
    at = file.LineAt(at, line);
    page.lines.push_back(line);
  }
  page.end = at;
  return true;
}

std::optional<std::uint64_t> FindProblemLine(const std::string& path, std::uint64_t offset, bool forward) {
  ListingFile file(path);
  if (!file.Open()) return std::nullopt;
  std::string line;
  std::uint64_t at = file.LineStart(offset);
  if (forward) {
    at = file.LineAt(at, line);  // after the line at `offset`
    while (at < file.Size()) {
      const std::uint64_t start = at;
      at = file.LineAt(at, line);
      if (IsProblemLine(line)) return start;
    }
    return std::nullopt;
  }
  while (at > 0) {
    const std::uint64_t end = at;
    at = file.LineStart(at - 1);
    if (const auto cached = file.CachedLine(at, end)) {
      if (IsProblemLine(cached->substr(0, kMaxShownLineLength))) return at;
    } else if (file.LineAt(at, line); IsProblemLine(line)) {
      return at;
    }
  }
  return std::nullopt;
}

}  // namespace veltrix
