#include "pcl5/NameLookup.h"

#include <algorithm>
#include <utility>

#include "decode/core/OutputSink.h"

namespace veltrix {

namespace {

// The tables are sorted and their numbers unique, so the binary search finds
// the row that a scan from the start would.
std::optional<std::string_view> FindNumberName(std::span<const NumberName> table,
                                               std::int32_t number) {
  const auto it = std::ranges::lower_bound(table, number, {}, &NumberName::number);
  if (it == table.end() || it->number != number) return std::nullopt;
  return it->name;
}

}  // namespace

void SetTablesFile(NameTables& tables, std::string path) {
  tables.path = std::move(path);
  tables.cache = TablesFileCache{};
}

std::optional<std::string> PaperSizeName(NameTables& tables, std::int32_t value) {
  if (auto name = FindTablesEntry(tables.cache, tables.path, TablesSection::PaperSizes,
                                  std::to_string(value))) {
    return name;
  }
  if (const auto name = FindNumberName(BuiltInPaperSizes(), value)) return std::string(*name);
  return std::nullopt;
}

std::string SymbolSetName(NameTables& tables, std::int32_t id) {
  if (auto name =
          FindTablesEntry(tables.cache, tables.path, TablesSection::Symsets, SymbolSetKey(id))) {
    return std::move(*name);
  }
  // Where the two built-in tables disagree, the first one's name is shown.
  if (const auto name = FindNumberName(BuiltInSymbolSetsFirst(), id)) return std::string(*name);
  if (const auto name = FindNumberName(BuiltInSymbolSetsSecond(), id)) return std::string(*name);
  return StringPrintf("*** Unknown symset name : ID = %d", id);
}

std::string TypefaceName(NameTables& tables, std::int32_t value) {
  if (auto name = FindTablesEntry(tables.cache, tables.path, TablesSection::Typefaces,
                                  std::to_string(value))) {
    return std::move(*name);
  }
  if (const auto name = FindNumberName(BuiltInTypefaces(), value)) return std::string(*name);
  return StringPrintf("*** Unknown typeface name : ID = %d", value);
}

std::string SymbolSetKey(std::int32_t id) {
  // C division: a negative ID gives a negative remainder and a letter below "@".
  return StringPrintf("%d%c", id / 32, static_cast<char>(id % 32 + 64));
}

}  // namespace veltrix
