// Names of page sizes, symbol sets and typefaces.
//
// Each number is looked up first in the user's tables file (sections
// "PaperSizes", "Symsets" and "Typefaces"), so that entries can be added or
// renamed without a new program, and then in the built-in tables.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "pcl5/TablesFile.h"

namespace veltrix {

struct NameTables {          // one per run; loads the tables file once, lazily
  std::string path;          // the tables file
  TablesFileCache cache;     // its three sections, filled at the first lookup
};

// Names the tables file of the run and forgets what was read from the last one.
void SetTablesFile(NameTables& tables, std::string path);

// nullopt when neither the tables file nor the built-in table knows the value.
std::optional<std::string> PaperSizeName(NameTables& tables, std::int32_t value);
// "*** Unknown symset name : ID = %d" when unknown.
std::string SymbolSetName(NameTables& tables, std::int32_t id);
// "*** Unknown typeface name : ID = %d" when unknown.
std::string TypefaceName(NameTables& tables, std::int32_t value);

// The PCL form of a symbol set ID, which is also its key in the tables file:
// the value and the letter ("%d%c" of id / 32 and id % 32 + 64), 277 -> "8U".
std::string SymbolSetKey(std::int32_t id);

// A symbol set ID from its PCL form: 8U is 8 * 32 + 21.
constexpr std::int32_t SymbolSetId(std::int32_t value, char letter) {
  return value * 32 + (letter - 64);
}

// One row of a built-in name table.
struct NumberName {
  std::int32_t number = 0;
  std::string_view name = {};
};

// The built-in tables, each strictly ascending by number.
std::span<const NumberName> BuiltInPaperSizes();
std::span<const NumberName> BuiltInSymbolSetsFirst();   // asked before the second
std::span<const NumberName> BuiltInSymbolSetsSecond();
std::span<const NumberName> BuiltInTypefaces();

}  // namespace veltrix
