#include "pcl5/TablesFile.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace veltrix {

namespace {

// Lines are read into a buffer of 256 bytes: at most 255 bytes and the
// terminating zero. The rest of a longer line is read as a line of its own.
constexpr std::size_t kLineBufferSize = 256;
constexpr std::size_t kMaxKeyLength = 63;
constexpr std::size_t kMaxNameLength = 255;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The file is a text file: a CR LF pair is one line end, and counts one byte
// towards the line limit, whichever system wrote it.
class TablesLineReader {
 public:
  explicit TablesLineReader(std::FILE* file) : file_(file), buf_(16 * 1024) {}

  // The next line or piece of a long line, its line end included; false at
  // the end of the file.
  bool Next(std::string& line) {
    line.clear();
    while (line.size() < kLineBufferSize - 1) {
      int c = Get();
      if (c < 0) break;
      if (c == '\r' && Peek() == '\n') c = Get();
      line.push_back(static_cast<char>(c));
      if (c == '\n') break;
    }
    return !line.empty();
  }

 private:
  int Peek() {
    if (pos_ == len_) {
      len_ = std::fread(buf_.data(), 1, buf_.size(), file_);  // 0 at the end or on a read error
      pos_ = 0;
      if (len_ == 0) return -1;
    }
    return static_cast<unsigned char>(buf_[pos_]);
  }
  int Get() {
    const int c = Peek();
    if (c >= 0) ++pos_;
    return c;
  }

  std::FILE* file_;
  std::vector<char> buf_;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
};

char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCase(std::string_view s) {
  std::string lower(s);
  for (char& c : lower) c = LowerChar(c);
  return lower;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerChar(a[i]) != LowerChar(b[i])) return false;
  }
  return true;
}

// What a line says: it starts after leading blanks and tabs and ends before the
// first ";" (a comment), CR, LF or zero byte. Empty for a blank or comment line.
std::string_view UsefulPart(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  std::size_t end = start;
  while (end < line.size() && line[end] != ';' && line[end] != '\r' && line[end] != '\n' &&
         line[end] != '\0') {
    ++end;
  }
  return line.substr(start, end - start);
}

// A header names the section when its text after "[" begins with the name:
// "[SYMSETS]" and "[Symsets2]" both open the section Symsets.
bool HeaderNames(std::string_view header, std::string_view section) {
  return header.size() > section.size() && EqualNoCase(header.substr(1, section.size()), section);
}

struct TablesEntry {
  std::string_view key;
  std::string_view name;
};

// "key = name". The key ends at "=" and loses trailing blanks and tabs; the
// name ends at a further "=" and loses trailing blanks. A line without "=" or
// with an empty key or name is no entry.
std::optional<TablesEntry> ParseEntry(std::string_view part) {
  std::size_t i = 0;
  while (i < part.size() && part[i] == ' ') ++i;
  const std::size_t keyStart = i;
  while (i < part.size() && part[i] != '=' && i - keyStart < kMaxKeyLength) ++i;
  std::string_view key = part.substr(keyStart, i - keyStart);
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
  while (i < part.size() && part[i] == ' ') ++i;
  if (i == part.size() || part[i] != '=') return std::nullopt;  // also a key over 63 characters
  ++i;
  while (i < part.size() && part[i] == ' ') ++i;
  const std::size_t nameStart = i;
  while (i < part.size() && part[i] != '=' && i - nameStart < kMaxNameLength) ++i;
  std::string_view name = part.substr(nameStart, i - nameStart);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (key.empty() || name.empty()) return std::nullopt;
  return TablesEntry{key, name};
}

// Only the first header that names a section opens it; the section ends at
// the next line that starts with "[".
void LoadTablesFile(TablesFileCache& cache, const std::string& path) {
  cache = TablesFileCache{};
  cache.loaded = true;
  const FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return;

  enum class Progress : std::uint8_t { NotSeen, Reading, Done };
  std::array<Progress, kTablesSectionNames.size()> progress{};
  std::size_t done = 0;
  CachedTablesSection* reading = nullptr;
  std::size_t readingIndex = 0;

  TablesLineReader reader(file.get());
  std::string line;
  while (reader.Next(line)) {
    const std::string_view part = UsefulPart(line);
    if (part.empty()) continue;
    if (part[0] == '[') {
      if (reading != nullptr) {
        progress[readingIndex] = Progress::Done;
        reading = nullptr;
        if (++done == progress.size()) break;  // nothing further can count
      }
      for (std::size_t s = 0; s < kTablesSectionNames.size(); ++s) {
        if (progress[s] == Progress::NotSeen && HeaderNames(part, kTablesSectionNames[s])) {
          progress[s] = Progress::Reading;
          reading = &cache.sections[s];
          readingIndex = s;
          break;
        }
      }
      continue;
    }
    if (reading == nullptr || reading->partial) continue;
    const std::optional<TablesEntry> entry = ParseEntry(part);
    if (!entry) continue;
    std::string key = LowerCase(entry->key);
    if (reading->names.size() == kMaxCachedTablesKeys && !reading->names.contains(key)) {
      reading->partial = true;  // keep what is read so far: every name in it is a first one
      continue;
    }
    reading->names.try_emplace(std::move(key), entry->name);
  }
}

}  // namespace

std::optional<std::string> ReadTablesFileEntry(const std::string& path, std::string_view section,
                                               std::string_view key) {
  const FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  TablesLineReader reader(file.get());
  std::string line;
  bool inSection = false;
  while (reader.Next(line)) {
    const std::string_view part = UsefulPart(line);
    if (part.empty()) continue;
    if (part[0] == '[') {
      if (inSection) break;
      inSection = HeaderNames(part, section);
      continue;
    }
    if (!inSection) continue;
    const std::optional<TablesEntry> entry = ParseEntry(part);
    if (entry && EqualNoCase(entry->key, key)) return std::string(entry->name);
  }
  return std::nullopt;
}

std::optional<std::string> FindTablesEntry(TablesFileCache& cache, const std::string& path,
                                           TablesSection section, std::string_view key) {
  if (!cache.loaded) LoadTablesFile(cache, path);
  const auto index = static_cast<std::size_t>(section);
  const CachedTablesSection& kept = cache.sections[index];
  if (kept.names.empty() && !kept.partial) return std::nullopt;  // most runs name nothing
  const auto it = kept.names.find(LowerCase(key));
  if (it != kept.names.end()) return it->second;
  if (kept.partial) return ReadTablesFileEntry(path, kTablesSectionNames[index], key);
  return std::nullopt;
}

}  // namespace veltrix
