// The record of the PCL 5 escape tree and the searches over it.
//
// The tree is a set of constant tables; a record's `children` names the table
// of the next level. Each record also has a dense slot number (its table's
// base plus its position) under which the run keeps its count, so the tables
// themselves stay constant.
#pragma once

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
};

// The records of one table, in table order.
std::span<const EscapeEntry> EscapeTable(EscapeTableId id);

// Dense slot of the record at `index` of table `id`; slots run from 0 to
// EscapeSlotCount() - 1 over all records of all tables.
std::size_t EscapeSlot(EscapeTableId id, std::size_t index);
std::size_t EscapeSlotCount();

// A record found in a table: the table and its position.
struct EscapeHit {
  EscapeTableId table = EscapeTableId::None;
  std::size_t index = 0;
  const EscapeEntry* entry = nullptr;
};

// Descend: the children of the first record of `table` keyed by `c`
// (lower-case letters compare as upper case); None when there is none.
EscapeTableId DescendEscapeTree(EscapeTableId table, int c);
// Find: the record itself, or a hit without entry.
EscapeHit FindEscape(EscapeTableId table, int c);

}  // namespace veltrix
