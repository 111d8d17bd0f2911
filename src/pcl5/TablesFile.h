// The tables file: user names for page sizes, symbol sets and typefaces.
//
// An INI-style text file. A section starts at a line "[Name]"; its entries are
// lines "key = name" up to the next line that starts with "[". A ";" starts a
// comment. Section names match by prefix and keys match, both without regard to
// case; of several entries with one key the first counts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace veltrix {

enum class TablesSection : std::uint8_t { PaperSizes, Symsets, Typefaces };

inline constexpr std::array<std::string_view, 3> kTablesSectionNames = {"PaperSizes", "Symsets",
                                                                        "Typefaces"};

// Reads the file from the start for one key, as every lookup did before the
// cache below: the reference that the cache must agree with.
std::optional<std::string> ReadTablesFileEntry(const std::string& path, std::string_view section,
                                               std::string_view key);

// A section of the tables file as far as it was kept.
struct CachedTablesSection {
  std::unordered_map<std::string, std::string> names;  // key in lower case -> first name given
  bool partial = false;  // the section has more keys than are kept: a miss reads the file again
};

// The three sections, read in one pass over the file at the first lookup.
struct TablesFileCache {
  bool loaded = false;
  std::array<CachedTablesSection, kTablesSectionNames.size()> sections{};
};

// The most keys kept per section; a larger section is still answered in full.
inline constexpr std::size_t kMaxCachedTablesKeys = 16384;

// The name that the tables file at `path` gives to `key` in `section`, or
// nullopt. Loads `cache` from the file the first time; a file that cannot be
// read gives nullopt for every key.
std::optional<std::string> FindTablesEntry(TablesFileCache& cache, const std::string& path,
                                           TablesSection section, std::string_view key);

}  // namespace veltrix
