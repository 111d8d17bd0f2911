// A second, independent reading of a printer job's bytes, to hold the
// decoder's listing against. It knows only the escape syntax, which escapes
// carry data, that ESC%#X leaves PCL for PJL lines, and that ESC%#B and
// ESC%#A frame HP-GL/2. It shares no code and no table with the decoder.
#pragma once

#include <array>
#include <cctype>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace veltrix::test {

struct RawJobScan {
  std::map<std::string, long> escapes;         // summary key ("<ESC>*b#W") -> occurrences
  long escapeTotal = 0;                        // well-formed escapes, each part of a combined one
  std::vector<std::uint64_t> badEscapes;       // offsets of ESC bytes that start no well-formed escape
  std::vector<std::uint64_t> formFeedEnds;     // offset just after each FF met as PCL text
  std::vector<std::uint64_t> resetEnds;        // offset just after each ESC E
  std::vector<std::string> pjlLines;           // the lines between a UEL and the next ESC
  int languageExits = 0;                       // ESC%#X, the UEL among them
  std::uint64_t escBytesInData = 0;            // ESC bytes carried as data by an escape
  std::array<long, 32> lastStretchControls{};  // control codes met as PCL text since the last PJL stretch
};

namespace raw_scan {

constexpr char kEsc = 27;

// The escapes whose value counts the data bytes that follow them.
inline bool CarriesData(char param, char group, char terminator) {
  const std::string key = {' ', param, group, terminator};
  return std::string_view(" *bW *bV (sW )sW (fW *cW *vW *gW *oW &nW &bW *lW *mW *iW").find(key) != std::string_view::npos;
}

inline bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
inline bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace raw_scan

// Every PJL stretch of the jobs read here ends at an ESC (a line that starts
// one, or the end of the job), so a PJL stretch is read up to the next ESC.
inline RawJobScan ScanJob(std::string_view job) {
  using namespace raw_scan;
  enum class Mode { Pcl, Hpgl, Pjl };
  RawJobScan s;
  Mode mode = job.starts_with("@PJL ") ? Mode::Pjl : Mode::Pcl;
  std::string line;
  const std::size_t n = job.size();
  std::size_t i = 0;
  while (i < n) {
    char c = job[i];
    if (mode == Mode::Pjl) {
      if (c == kEsc || c == '\r' || c == '\n') {
        if (!line.empty()) s.pjlLines.push_back(line);
        line.clear();
      }
      if (c == kEsc) {
        mode = Mode::Pcl;
        s.lastStretchControls = {};
      } else {
        if (c != '\r' && c != '\n') line += c;
        ++i;
      }
      continue;
    }
    if (c != kEsc) {
      const auto code = static_cast<unsigned char>(c);
      if (mode == Mode::Pcl && code < 32) ++s.lastStretchControls[code];
      if (mode == Mode::Pcl && c == '\f') s.formFeedEnds.push_back(i + 1);
      ++i;
      continue;
    }
    const std::size_t start = i++;
    while (i < n && (job[i] == kEsc || job[i] == ' ')) ++i;  // a second ESC starts the escape again
    if (i == n) {
      s.badEscapes.push_back(start);
      break;
    }
    c = job[i++];
    if (IsUpper(c) || c == '=' || c == '9') {
      ++s.escapes[std::string("<ESC>") + c];
      ++s.escapeTotal;
      if (c == 'E') s.resetEnds.push_back(i);
      continue;
    }
    if (std::string_view("&()*%+").find(c) == std::string_view::npos) {
      s.badEscapes.push_back(start);  // the byte after ESC is taken with it
      continue;
    }
    const char param = c;
    char group = 0;
    if (i < n && IsLower(job[i])) group = job[i++];
    for (;;) {  // one part of a combined escape per turn
      while (i < n && job[i] == ' ') ++i;
      bool negative = false;
      while (i < n && (job[i] == '+' || job[i] == '-')) negative = job[i++] == '-' || negative;
      std::uint64_t value = 0;
      while (i < n && IsDigit(job[i])) value = value * 10 + static_cast<std::uint64_t>(job[i++] - '0');
      if (i < n && job[i] == '.') {
        ++i;
        while (i < n && IsDigit(job[i])) ++i;
      }
      if (i == n) {
        s.badEscapes.push_back(start);
        break;
      }
      const char t = job[i];
      if (t == kEsc) break;  // a new escape begins: this one is over
      ++i;
      if (!IsLower(t) && !IsUpper(t) && t != '@') {
        s.badEscapes.push_back(start);
        break;
      }
      const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(t)));
      std::string key = std::string("<ESC>") + param;
      if (group != 0) key += group;
      key += '#';
      key += upper;
      ++s.escapes[key];
      ++s.escapeTotal;
      if (param == '%' && upper == 'X') {
        ++s.languageExits;
        mode = Mode::Pjl;
        break;
      }
      if (param == '%' && upper == 'B') mode = Mode::Hpgl;
      if (param == '%' && upper == 'A') mode = Mode::Pcl;
      if (CarriesData(param, group, upper) && !negative) {
        const std::size_t end = value < n - i ? i + value : n;
        for (; i < end; ++i) s.escBytesInData += job[i] == kEsc;
      }
      if (!IsLower(t)) break;
    }
  }
  if (!line.empty()) s.pjlLines.push_back(line);
  return s;
}

}  // namespace veltrix::test
