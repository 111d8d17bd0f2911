// The record of the PCL 5 escape tree and the searches over it.
//
// The tree is a set of constant tables; a record's `children` names the table
// of the next level. Each record also has a dense slot number (its table's
// base plus its position) under which the run keeps its count, so the tables
// themselves stay constant.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace veltrix {

// Syntax flags.
inline constexpr std::uint8_t kSyntaxData = 0x04;        // value = count of data bytes that follow
inline constexpr std::uint8_t kSyntaxLeavesPcl = 0x10;   // the decoder returns to the driver after it

// Page flags.
inline constexpr std::uint8_t kPageFontHook = 0x01;      // keep-fonts and strip-fonts hooks are called
inline constexpr std::uint8_t kPageMarks = 0x04;         // puts something on the page
inline constexpr std::uint8_t kPageEjectIfMarked = 0x08; // ejects a marked page first

// The formatter kind of a record: how its value is shown and passed on.
enum class EscapeFormat : std::uint8_t {
  None,  // the description is a template
  Reset,
  CursorMove,
  PageSize,
  Orientation,
  OutputTray,
  PaperSource,
  TextParsingMethod,
  SymbolSet,
  FontById,
  Typeface,
  Style,
  StrokeWeight,
  Pitch,
  PointSize,
  Spacing,
  FontDescriptor,
  CharacterData,
  CharacterCode,
  FontId,
  MacroId,
  MacroControl,
  EnterHpgl,
  EnterPcl,
  PaletteControl,
  PaletteControlId,
  SelectPalette,
  TransparentPrint,
  ConfigureImageData,
  ForegroundColour,
  RasterResolution,
  DestinationWidth,
  DestinationHeight,
  RasterWidth,
  RasterHeight,
  RasterMsb,
  Compression,
  StartRaster,
  EndRaster,
  RasterData,
  RasterYOffset,
};

// Names the tables of the tree. None: no table (a leaf).
enum class EscapeTableId : std::uint8_t {
  None = 0,
  Root,
  Ampersand,      // ESC& groups
  AmpA, AmpB, AmpD, AmpF, AmpI, AmpK, AmpL, AmpN, AmpP, AmpS, AmpT, AmpU, AmpV,
  LeftParen,      // ESC( terminators
  LeftParenF,     // ESC(f
  LeftParenS,     // ESC(s
  RightParen,     // ESC) terminators
  RightParenS,    // ESC)s
  Star,           // ESC* groups
  StarB, StarC, StarG, StarI, StarL, StarM, StarO, StarP, StarR, StarS, StarT, StarV,
  Percent,        // ESC% terminators
  Plus,           // ESC+ groups
  PlusM,
  Count,          // number of ids; not a table
};

struct EscapeEntry {
  char key = 0;  // upper case
  std::uint8_t syntax = 0;
  EscapeTableId children = EscapeTableId::None;
  bool isEscape = false;
  const char* description = nullptr;
  std::span<const std::string_view> valueNames = {};  // "" marks a value without a name
  std::uint8_t page = 0;
  EscapeFormat format = EscapeFormat::None;
  std::uint16_t descriptionLength = 0;  // characters of `description`
};

// The description as text (empty for a group node).
inline std::string_view DescriptionOf(const EscapeEntry& entry) {
  return {entry.description ? entry.description : "", entry.descriptionLength};
}

// The most a description expands to as a template (each "%" directive to at
// most 64 characters or its longest value name); checked with the tables.
inline constexpr std::size_t kTemplateRoom = 256;

// The records of one table, in table order.
std::span<const EscapeEntry> EscapeTable(EscapeTableId id);

// The lookup index of the tree, made with the tables and constant: for each
// table and printable key (a lower-case letter stands for its upper case),
// the record's position plus one (0: none) and the table its record leads
// to; each table's records and its first count slot. The searches below read
// it inline, as the parser does several of them per escape.
struct EscapeKeyIndex {
  static constexpr int kFirstKey = 32;
  static constexpr int kKeyCount = 96;
  static constexpr std::size_t kTableCount = static_cast<std::size_t>(EscapeTableId::Count);
  std::array<std::array<std::uint8_t, kKeyCount>, kTableCount> position{};
  std::array<std::array<EscapeTableId, kKeyCount>, kTableCount> children{};
  std::array<const EscapeEntry*, kTableCount> records{};
  std::array<std::size_t, kTableCount + 1> slotBase{};
};
extern const EscapeKeyIndex kEscapeKeyIndex;

// Dense slot of the record at `index` of table `id`; slots run from 0 to
// EscapeSlotCount() - 1 over all records of all tables.
inline std::size_t EscapeSlot(EscapeTableId id, std::size_t index) {
  return kEscapeKeyIndex.slotBase[static_cast<std::size_t>(id)] + index;
}
inline std::size_t EscapeSlotCount() { return kEscapeKeyIndex.slotBase.back(); }

// A record found in a table: the table, its position and its count slot.
struct EscapeHit {
  EscapeTableId table = EscapeTableId::None;
  std::size_t index = 0;
  const EscapeEntry* entry = nullptr;
  std::size_t slot = 0;
};

// Find: the record of `table` keyed by `c` (lower-case letters compare as
// upper case), or a hit without entry.
inline EscapeHit FindEscape(EscapeTableId table, int c) {
  const auto t = static_cast<std::size_t>(table);
  const int k = c - EscapeKeyIndex::kFirstKey;
  if (t >= EscapeKeyIndex::kTableCount || k < 0 || k >= EscapeKeyIndex::kKeyCount) return {};
  const std::uint8_t found = kEscapeKeyIndex.position[t][static_cast<std::size_t>(k)];
  if (found == 0) return {};
  const std::size_t index = found - 1u;
  return {table, index, kEscapeKeyIndex.records[t] + index, kEscapeKeyIndex.slotBase[t] + index};
}

// Descend: the children of the record of `table` keyed by `c`; None when
// there is none.
inline EscapeTableId DescendEscapeTree(EscapeTableId table, int c) {
  const auto t = static_cast<std::size_t>(table);
  const int k = c - EscapeKeyIndex::kFirstKey;
  if (t >= EscapeKeyIndex::kTableCount || k < 0 || k >= EscapeKeyIndex::kKeyCount) return EscapeTableId::None;
  return kEscapeKeyIndex.children[t][static_cast<std::size_t>(k)];
}

}  // namespace veltrix
