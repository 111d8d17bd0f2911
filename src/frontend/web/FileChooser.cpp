#include "frontend/web/FileChooser.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>

namespace veltrix {

namespace {

constexpr std::size_t kMaxEntries = 5000;

}  // namespace

std::vector<ChooserFilter> ParseChooserFilter(std::string_view text) {
  std::vector<std::string_view> parts;
  while (!text.empty()) {
    const std::size_t bar = text.find('|');
    parts.push_back(text.substr(0, bar));
    if (bar == std::string_view::npos) break;
    text.remove_prefix(bar + 1);
  }
  std::vector<ChooserFilter> filters;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    filters.push_back({std::string(parts[i]), std::string(parts[i + 1])});
  }
  return filters;
}

bool MatchesPatterns(std::string_view name, std::string_view patterns) {
  const std::string file(name);
  while (!patterns.empty()) {
    const std::size_t semicolon = patterns.find(';');
    const std::string pattern(patterns.substr(0, semicolon));
    if (pattern == "*.*" || pattern == "*") return true;
    if (!pattern.empty() && ::fnmatch(pattern.c_str(), file.c_str(), FNM_CASEFOLD) == 0) return true;
    if (semicolon == std::string_view::npos) break;
    patterns.remove_prefix(semicolon + 1);
  }
  return false;
}

bool ListChooserFolder(const std::string& path, std::string_view patterns, ChooserFolder& folder,
                       std::string& why) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path dir = fs::weakly_canonical(path.empty() ? fs::current_path(ec) : fs::absolute(path, ec), ec);
  fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
  if (ec) {
    why = dir.string() + ": " + ec.message();
    return false;
  }
  folder = {};
  folder.path = dir.string();
  if (dir.has_relative_path()) folder.parent = dir.parent_path().string();
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    const std::string name = it->path().filename().string();
    const bool isFolder = it->is_directory(ec);
    if (!isFolder && !MatchesPatterns(name, patterns)) continue;
    if (folder.entries.size() == kMaxEntries) {
      folder.cut = true;
      break;
    }
    folder.entries.push_back({name, isFolder});
  }
  std::ranges::sort(folder.entries, [](const ChooserEntry& a, const ChooserEntry& b) {
    return a.folder != b.folder ? a.folder : a.name < b.name;
  });
  return true;
}

}  // namespace veltrix
