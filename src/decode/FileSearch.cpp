#include "decode/FileSearch.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>

namespace veltrix {

std::string DirectoryPart(const std::string& name) {
  const std::size_t slash = name.rfind('/');
  return slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
}

namespace {

// Only '*' and '?' are wildcards in a source name: brackets and backslashes
// are taken literally.
std::string ToFnmatchPattern(const std::string& name) {
  std::string pattern;
  for (const char c : name) {
    if (c == '[' || c == ']' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern;
}

}  // namespace

std::vector<SourceFile> FindSourceFiles(const std::string& source) {
  std::vector<SourceFile> files;
  if (source == kStandardInputName) {
    files.push_back({"", "stdin", source, true});
    return files;
  }
  const std::string directory = DirectoryPart(source);
  const std::string namePart = source.substr(directory.size());
  if (namePart.empty()) return files;
  if (namePart.find_first_of("*?") == std::string::npos) {
    struct stat st {};
    if (stat(source.c_str(), &st) == 0) files.push_back({directory, namePart, source, false});
    return files;
  }
  DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
  if (!dir) return files;
  const std::string pattern = ToFnmatchPattern(namePart);
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (fnmatch(pattern.c_str(), name.c_str(), 0) != 0) continue;
    struct stat st {};
    const std::string path = directory + name;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;  // a wildcard picks files only
    files.push_back({directory, name, path, false});
  }
  closedir(dir);
  std::sort(files.begin(), files.end(),
            [](const SourceFile& a, const SourceFile& b) { return a.name < b.name; });
  return files;
}

}  // namespace veltrix
