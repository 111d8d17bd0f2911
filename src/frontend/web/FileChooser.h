// The source chooser's view of a folder: its subfolders and the files that
// match the chosen filter of the dialog's filter text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrix {

struct ChooserFilter {
  std::string description;  // "PCL Files"
  std::string patterns;     // "*.pcl;*.sfp;*.sfs"
};

// "PCL Files|*.pcl;*.sfp;*.sfs|All Files|*.*|": each '|' ends a part.
std::vector<ChooserFilter> ParseChooserFilter(std::string_view text);

// Whether a file name matches one of the ';'-separated patterns, ignoring
// case; "*.*" matches every name, as it does in the dialog's chooser.
bool MatchesPatterns(std::string_view name, std::string_view patterns);

struct ChooserEntry {
  std::string name;
  bool folder = false;
};

struct ChooserFolder {
  std::string path;    // absolute
  std::string parent;  // empty at the root
  std::vector<ChooserEntry> entries;  // folders first, each part by name
  bool cut = false;    // more entries than are listed
};

// Lists the folder (the working folder when `path` is empty). False, with
// the reason, when it cannot be read.
bool ListChooserFolder(const std::string& path, std::string_view patterns, ChooserFolder& folder,
                       std::string& why);

}  // namespace veltrix
