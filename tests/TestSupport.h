// Helpers shared by the tests: jobs as byte strings, whole-job decodes.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "decode/DecodeMemory.h"
#include "decode/core/DecodeOptions.h"

namespace veltrix::test {

// The options of a default run without summaries, so that a test sees only
// the lines of the decoder.
inline constexpr std::uint32_t kNoSummaries = DF_FONT_DETAIL;

inline MemoryDecodeResult Decode(const std::string& job, std::uint32_t flags = kNoSummaries, int level = 4) {
  return DecodeMemory(std::span(reinterpret_cast<const std::uint8_t*>(job.data()), job.size()), flags, level);
}

inline std::filesystem::path TestDir() { return VELTRIX_TEST_DIR; }

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A fresh, empty directory under the system's temporary directory.
inline std::filesystem::path MakeTempDir(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / ("veltrix-test-" + name + "-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Where two texts first differ, for failure messages.
inline std::string FirstDifference(const std::string& got, const std::string& want) {
  std::size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  const std::size_t from = i > 40 ? i - 40 : 0;
  return "first difference at byte " + std::to_string(i) + "\n  got:  ..." + got.substr(from, 80) +
         "\n  want: ..." + want.substr(from, 80);
}

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// How often `what` stands in `text`, the places not overlapping.
inline std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

}  // namespace veltrix::test
