// The listing shown in the page a page of lines at a time, read from the
// file at a byte offset, so that a listing of any size costs only the page
// shown; and the search for the lines that report problems.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrix {

// Lines longer than this are shown cut short (the rest is skipped).
inline constexpr std::size_t kMaxShownLineLength = 2000;

struct ListingPage {
  std::uint64_t start = 0;  // offset of the first line
  std::uint64_t end = 0;    // offset after the last line
  std::uint64_t size = 0;   // of the whole file
  std::vector<std::string> lines;
};

// A line that reports a problem: PCL 5's "***" and PCL XL's "*ERROR*".
bool IsProblemLine(std::string_view line);

// Up to `maxLines` lines from `offset` on (moved back to the start of its
// line), or the `maxLines` lines that end at `offset` when `backward`.
bool ReadListingPage(const std::string& path, std::uint64_t offset, std::size_t maxLines, bool backward,
                     ListingPage& page, std::string& why);

// The offset of the next problem line after the line at `offset`, or of the
// previous one before it; nothing when there is none.
std::optional<std::uint64_t> FindProblemLine(const std::string& path, std::uint64_t offset, bool forward);

}  // namespace veltrix
