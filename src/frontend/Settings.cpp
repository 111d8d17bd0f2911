#include "frontend/Settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

namespace veltrix {

namespace {

// A name field holds at most 259 characters (a 260-byte buffer and its zero).
constexpr std::size_t kMaxNameLength = 259;
// A settings file larger than this is not one (the name tables are small).
constexpr std::size_t kMaxFileSize = 4u << 20;

struct SettingKey {
  std::string_view section;
  std::string_view key;
  std::uint32_t DecodeSettings::*flag = nullptr;
  std::int32_t DecodeSettings::*number = nullptr;
  std::string DecodeSettings::*name = nullptr;
};

// Every key, in the order a save writes them.
const auto kSettingKeys = std::to_array<SettingKey>({
    {"Flags", "SuppAllOutput", &DecodeSettings::SuppAllOutput},
    {"Flags", "ShowCharDesc", &DecodeSettings::ShowCharDesc},
    {"Flags", "ShowRasFonts", &DecodeSettings::ShowRasFonts},
    {"Flags", "ShowRasGraph", &DecodeSettings::ShowRasGraph},
    {"Flags", "ShowRasContiguous", &DecodeSettings::ShowRasContiguous},
    {"Flags", "Show24BitRast", &DecodeSettings::Show24BitRast},
    {"Flags", "ShowFontSum", &DecodeSettings::ShowFontSum},
    {"Flags", "ShowMacroSum", &DecodeSettings::ShowMacroSum},
    {"Flags", "ShowPageSum", &DecodeSettings::ShowPageSum},
    {"Flags", "ShowEscSum", &DecodeSettings::ShowEscSum},
    {"Flags", "ShowPaletteSum", &DecodeSettings::ShowPaletteSum},
    {"Flags", "ExtractWidths", &DecodeSettings::ExtractWidths},
    {"Flags", "StripFonts", &DecodeSettings::StripFonts},
    {"Flags", "KeepFonts", &DecodeSettings::KeepFonts},
    {"Flags", "KeepFontsSeparate", &DecodeSettings::KeepFontsSeparate},
    {"Flags", "AssignFontIds", &DecodeSettings::AssignFontIds},
    {"Values", "FirstDFID", nullptr, &DecodeSettings::FirstDFID},
    {"Flags", "ForceMatch", &DecodeSettings::ForceMatch},
    {"Files", "SourceFile", nullptr, nullptr, &DecodeSettings::SourceFile},
    {"Files", "DestFile", nullptr, nullptr, &DecodeSettings::DestFile},
    {"Files", "ExtWidFile", nullptr, nullptr, &DecodeSettings::ExtWidFile},
    {"Files", "StripFontFile", nullptr, nullptr, &DecodeSettings::StripFontFile},
    {"Files", "KeepFontsFile", nullptr, nullptr, &DecodeSettings::KeepFontsFile},
});

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The lines of a text without their line ends (LF or CR LF).
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// "[name]": the name; a line that is not a section header gives nothing.
// `unclosed` is set for a '[' without its ']'.
std::optional<std::string_view> SectionName(std::string_view line, bool& unclosed) {
  line = Trim(line);
  unclosed = false;
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) {
    unclosed = true;
    return std::nullopt;
  }
  return Trim(line.substr(1, close - 1));
}

// "key = value": the key; comments and lines without '=' give nothing.
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(trimmed.substr(0, equals));
}

std::string_view ValueText(std::string_view line) {
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// The profile integer reader: an optional sign, then decimal digits up to the
// first other character (32-bit wrap); no digits read as 0.
std::uint32_t ProfileInteger(std::string_view text) {
  bool negative = false;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  return negative ? 0u - value : value;
}

std::string SavedText(const SettingKey& k, const DecodeSettings& settings) {
  if (k.flag) return std::to_string(settings.*k.flag & 0xFFFFu);
  if (k.number) return std::to_string(static_cast<std::uint32_t>(settings.*k.number) & 0xFFFFu);
  // A line end in a name would split the line; it ends the name instead.
  const std::string& name = settings.*k.name;
  return name.substr(0, std::min(name.find_first_of("\r\n"), kMaxNameLength));
}

// The section lines run from a header to the next header; returns the index
// of the first header named `section` and the end of its lines.
bool FindSection(const std::vector<std::string>& lines, std::string_view section, std::size_t& header,
                 std::size_t& end) {
  bool unclosed = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i], unclosed);
    if (!name || !SameNoCase(*name, section)) continue;
    header = i;
    end = i + 1;
    while (end < lines.size() && !SectionName(lines[end], unclosed)) ++end;
    return true;
  }
  return false;
}

enum class ReadStatus : std::uint8_t { Read, Missing, Failed };

ReadStatus ReadWholeFile(const std::string& path, std::string& text, std::string& why) {
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return ReadStatus::Missing;
    why = std::strerror(errno);
    return ReadStatus::Failed;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = "not a regular file";
    ::close(fd);
    return ReadStatus::Failed;
  }
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      why = std::strerror(errno);
      ::close(fd);
      return ReadStatus::Failed;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > kMaxFileSize) {
      why = "larger than 4 MiB";
      ::close(fd);
      return ReadStatus::Failed;
    }
  }
  ::close(fd);
  return ReadStatus::Read;
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes beside the file and renames over it, so that a failed write (a full
// disk) leaves the old file whole. A symbolic link keeps pointing at the file.
bool ReplaceFile(const std::string& path, std::string_view text, std::string& why) {
  std::error_code ec;
  std::filesystem::path target = path;
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    target = std::filesystem::canonical(target, ec);
    if (ec) {
      why = ec.message();
      return false;
    }
  }
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
  if (ec) {
    why = "cannot create " + target.parent_path().string() + ": " + ec.message();
    return false;
  }
  std::string temp = target.string() + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  struct stat st {};
  ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? st.st_mode & 07777 : 0644);
  const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  const int writeErrno = errno;
  if (::close(fd) != 0 || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
    why = std::strerror(written ? errno : writeErrno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string MatchingName(std::string_view source, std::string_view extension) {
  const std::size_t slash = source.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::string name(source);
  for (std::size_t i = nameStart; i < name.size(); ++i) name[i] = AsciiLower(name[i]);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot >= nameStart) name.erase(dot);
  return name + std::string(extension);
}

void DeriveMatchingNames(DecodeSettings& settings) {
  settings.DestFile = MatchingName(settings.SourceFile, ".txt");
  settings.ExtWidFile = MatchingName(settings.DestFile, ".wid");
  settings.StripFontFile = MatchingName(settings.DestFile, ".stp");
  settings.KeepFontsFile = MatchingName(settings.DestFile, ".fnt");
}

bool ReadSettingsText(std::string_view text, DecodeSettings& settings, std::string& why) {
  if (text.find('\0') != std::string_view::npos) {
    why = "it holds a NUL byte (not a text file)";
    return false;
  }
  const std::vector<std::string_view> lines = SplitLines(text);
  std::vector<std::pair<const SettingKey*, std::string_view>> found;
  std::string_view section;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool unclosed = false;
    if (const auto name = SectionName(lines[i], unclosed)) {
      section = *name;
      continue;
    }
    if (unclosed) {
      why = "line " + std::to_string(i + 1) + " opens a section name without closing it";
      return false;
    }
    const auto key = KeyName(lines[i]);
    if (!key) continue;
    for (const SettingKey& k : kSettingKeys) {
      // The first occurrence of a key counts, as in the profile functions.
      const bool seen = std::ranges::any_of(found, [&](const auto& f) { return f.first == &k; });
      if (!seen && SameNoCase(section, k.section) && SameNoCase(*key, k.key)) found.emplace_back(&k, ValueText(lines[i]));
    }
  }
  for (const auto& [k, value] : found) {
    if (k->flag) settings.*k->flag = ProfileInteger(value);
    if (k->number) settings.*k->number = static_cast<std::int32_t>(ProfileInteger(value));
    if (k->name) settings.*k->name = std::string(value.substr(0, kMaxNameLength));
  }
  return true;
}

std::string MergeSettingsText(std::string_view oldText, const DecodeSettings& settings) {
  std::vector<std::string> lines;
  for (const std::string_view line : SplitLines(oldText)) lines.emplace_back(line);
  for (const SettingKey& k : kSettingKeys) {
    const std::string line = std::string(k.key) + "=" + SavedText(k, settings);
    std::size_t header = 0;
    std::size_t end = 0;
    if (!FindSection(lines, k.section, header, end)) {
      if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
      lines.push_back("[" + std::string(k.section) + "]");
      lines.push_back(line);
      continue;
    }
    std::size_t insertAt = header + 1;
    bool replaced = false;
    for (std::size_t i = header + 1; i < end && !replaced; ++i) {
      const auto key = KeyName(lines[i]);
      if (key && SameNoCase(*key, k.key)) {
        lines[i] = line;
        replaced = true;
      } else if (!Trim(lines[i]).empty()) {
        insertAt = i + 1;
      }
    }
    if (!replaced) lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
  }
  const bool crlf = oldText.find("\r\n") != std::string_view::npos;
  std::string text;
  for (const std::string& line : lines) text += line + (crlf ? "\r\n" : "\n");
  return text;
}

SettingsOutcome LoadSettings(const std::string& path, DecodeSettings& settings) {
  settings = DecodeSettings{};
  settings.settingsPath = path;
  SettingsOutcome outcome;
  std::string text;
  std::string why;
  const ReadStatus status = ReadWholeFile(path, text, why);
  if (status == ReadStatus::Read) {
    DecodeSettings loaded = settings;
    if (ReadSettingsText(text, loaded, why)) {
      settings = loaded;
    } else {
      outcome = {false, ""};
    }
  } else if (status == ReadStatus::Failed) {
    outcome = {false, ""};
  }
  if (!outcome.ok) outcome.message = "cannot read the settings file " + path + ": " + why + "; using the defaults";
  if (settings.ForceMatch) DeriveMatchingNames(settings);
  return outcome;
}

SettingsOutcome SaveSettings(const DecodeSettings& settings) {
  const std::string& path = settings.settingsPath;
  if (path.empty()) return {};
  std::string text;
  std::string why;
  const ReadStatus status = ReadWholeFile(path, text, why);
  DecodeSettings scratch;
  if (status == ReadStatus::Failed || (status == ReadStatus::Read && !ReadSettingsText(text, scratch, why))) {
    return {false, "the settings were not saved: " + path + " cannot be read (" + why +
                       "), and writing it would lose what it holds"};
  }
  if (!ReplaceFile(path, MergeSettingsText(text, settings), why)) {
    return {false, "the settings were not saved: cannot write " + path + ": " + why};
  }
  return {};
}

}  // namespace veltrix
