// Finds the print files that a source name stands for.
#pragma once

#include <string>
#include <vector>

namespace veltrix {

// One file to decode: the directory part of its source name (up to and
// including the last '/'), its own name, and the two joined.
struct SourceFile {
  std::string directory;
  std::string name;
  std::string path;
  bool standardInput = false;
};

inline constexpr const char* kStandardInputName = "-";

// The files whose names match the file-name part of `source` ('*' and '?'
// are wildcards there), in byte-wise name order. A name without wildcards
// stands for itself when it exists. "-" is standard input.
std::vector<SourceFile> FindSourceFiles(const std::string& source);

// The directory part of a name, up to and including its last '/'.
std::string DirectoryPart(const std::string& name);

}  // namespace veltrix
