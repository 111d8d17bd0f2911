// The PCL 5 escape tree: one constant table per level and the searches over it.
//
// Tables are scanned in order and the first record with the key wins, so the
// order below is also the order of the escape summary. Keys are stored in
// upper case; a lower-case group letter or terminator is upper-cased before
// the scan.
#include <array>
#include <cstddef>
#include <string>

#include "pcl5/EscapeEntry.h"

namespace veltrix {
namespace {

using F = EscapeFormat;
using T = EscapeTableId;

// A record that is an escape of its own; without a formatter its description
// is a template.
constexpr EscapeEntry Escape(char key, const char* description, F format = F::None,
                             std::uint8_t syntax = 0, std::uint8_t page = 0) {
  return {key, syntax, T::None, true, description, {}, page, format,
          static_cast<std::uint16_t>(std::char_traits<char>::length(description))};
}
// A template escape whose "%s" is filled from `names`.
constexpr EscapeEntry Named(char key, const char* description, std::span<const std::string_view> names,
                            std::uint8_t page = 0) {
  return {key, 0, T::None, true, description, names, page, F::None,
          static_cast<std::uint16_t>(std::char_traits<char>::length(description))};
}
// A data-carrying escape without a formatter: the decoder skips its bytes.
constexpr EscapeEntry Data(char key, const char* description) {
  return Escape(key, description, F::None, kSyntaxData);
}
// A pure group node: only a way down to the next table.
constexpr EscapeEntry Group(char key, T children) { return {key, 0, children}; }
// An escape that also leads to a group of its own (ESC(#F and ESC(f#W).
constexpr EscapeEntry WithChildren(EscapeEntry entry, T children) {
  entry.children = children;
  return entry;
}
constexpr EscapeEntry Primary(char key) { return Escape(key, "Primary Symbol Set", F::SymbolSet); }
constexpr EscapeEntry Secondary(char key) { return Escape(key, "Secondary Symbol Set", F::SymbolSet); }

constexpr std::string_view kDuplexSideNames[] = {"Next Side", "Front Side", "Back Side"};
constexpr std::string_view kUnderlineNames[] = {"Fixed", "Single Fixed", "Double Fixed", "Single Float",
                                                "Double Float"};
constexpr std::string_view kPushPopNames[] = {"Push", "Pop"};
constexpr std::string_view kLineTerminationNames[] = {"CR=CR; LF=LF; FF=FF", "CR=CR-LF; LF=LF; FF=FF",
                                                      "CR=CR; LF=CR-LF; FF=CR-FF",
                                                      "CR=CR-LF; LF=CR-LF; FF=CR-FF"};
constexpr std::string_view kDisableEnableNames[] = {"Disable", "Enable"};
constexpr std::string_view kEnableDisableNames[] = {"Enable", "Disable"};
constexpr std::string_view kDuplexModeNames[] = {"Simplex", "Duplex - Long Edge Binding",
                                                 "Duplex - Short Edge Binding"};
// Only the value 3 selects anything: the default font.
constexpr std::string_view kDefaultFontNames[] = {"", "", "", "Select Default Font"};
constexpr std::string_view kFontControlNames[] = {
    "Delete All",     "Delete All Temporary", "Delete (Last ID)", "Delete Character (Last Font ID and Char ID)",
    "Make Temporary", "Make Permanent",       "Copy/Assign current font as temporary (last ID)"};
constexpr std::string_view kFillRectangleNames[] = {"Black",       "Erase (White)",        "Shaded",
                                                    "Cross-hatch", "User-defined pattern", "Current Pattern"};
constexpr std::string_view kPatternControlNames[] = {"Delete All", "Delete Temporary", "Delete (Last ID)",
                                                     "",           "Make Temporary",   "Make Permanent"};
constexpr std::string_view kSymbolSetControlNames[] = {"Delete All", "Delete Temporary", "Delete (Last ID)",
                                                       "Make Temporary", "Make Permanent"};
constexpr std::string_view kPatternRotationNames[] = {"Rotate with Print Direction", "Keep Rotation Fixed"};
constexpr std::string_view kPresentationNames[] = {"Logical Page Orientation", "", "",
                                                   "Along Width Physical Page"};
constexpr std::string_view kTransparencyNames[] = {"Transparent", "Opaque"};
constexpr std::string_view kPatternNames[] = {"Solid Black", "Solid White", "Shaded", "Cross-hatch",
                                              "User-defined"};

constexpr auto kRoot = std::to_array<EscapeEntry>({
    Escape('E', "Reset", F::Reset, 0, kPageEjectIfMarked),
    Group('&', T::Ampersand), Group('(', T::LeftParen), Group(')', T::RightParen), Group('*', T::Star),
    Group('%', T::Percent), Group('+', T::Plus),
    Escape('=', "Half linefeed"), Escape('9', "Clear horizontal margins"),
    Escape('Y', "Display functions ON"), Escape('Z', "Display functions OFF"),
});

// ESC& groups. G and K are escapes too (ESC&#G, ESC&#K); G leads nowhere,
// K leads to the k group.
constexpr auto kAmpersand = std::to_array<EscapeEntry>({
    Group('A', T::AmpA), Group('B', T::AmpB), Group('D', T::AmpD), Group('F', T::AmpF),
    Escape('G', "*** unknown"), Group('I', T::AmpI),
    WithChildren(Escape('K', "*** unknown"), T::AmpK),
    Group('L', T::AmpL), Group('N', T::AmpN), Group('P', T::AmpP), Group('S', T::AmpS),
    Group('T', T::AmpT), Group('U', T::AmpU), Group('V', T::AmpV),
});
constexpr auto kAmpA = std::to_array<EscapeEntry>({
    Escape('C', "X position by Column", F::CursorMove),
    Named('G', "Duplex Side Selection : %s", kDuplexSideNames),
    Escape('H', "X position by decipoint", F::CursorMove),
    Escape('L', "Set Left Margin ( column %d )"), Escape('M', "Set Right Margin ( column %d )"),
    Escape('N', "Negative Motion"), Escape('O', "Unknown escape"),
    Escape('P', "Print Direction (%d degrees CCW)"),
    Escape('R', "Y position by row", F::CursorMove), Escape('V', "Y position by decipoint", F::CursorMove),
});
constexpr auto kAmpB = std::to_array<EscapeEntry>({
    Escape('F', "Finish Mode"), Escape('M', "Monochrome mode"), Data('W', "Peripheral Configuration"),
});
constexpr auto kAmpD = std::to_array<EscapeEntry>({
    Named('D', "Enable Underlining - %s", kUnderlineNames), Escape('@', "Disable Underlining"),
});
constexpr auto kAmpF = std::to_array<EscapeEntry>({
    Escape('X', "Macro Control", F::MacroControl), Escape('Y', "Set Macro ID", F::MacroId),
    Named('S', "Push/Pop Cursor Position (%s)", kPushPopNames),
});
constexpr auto kAmpI = std::to_array<EscapeEntry>({Data('W', "Underware function configuration")});
constexpr auto kAmpK = std::to_array<EscapeEntry>({
    Named('G', "Line Termination Mode : %s", kLineTerminationNames),
    Escape('H', "HMI column Width ( %d/120 inches )"), Escape('S', "Alternate pitch (Laserjet+)"),
    Escape('W', "*** Print Mode or Text scale, Ignored"),
});
constexpr auto kAmpL = std::to_array<EscapeEntry>({
    Escape('A', "Set Page Size", F::PageSize, 0, kPageEjectIfMarked),
    Escape('C', "VMI Line Spacing, inches per line ( %d/48 inches )"),
    Escape('D', "Line Spacing, lines per inch ( %d lines )"), Escape('E', "Top Margin ( %d lines )"),
    Escape('F', "Text Length ( %d lines )"), Escape('G', "Select Output Tray : %s", F::OutputTray),
    Escape('H', "Select Paper Source : %s", F::PaperSource, 0, kPageEjectIfMarked),
    Named('L', "Set Perforation Skip : %s", kDisableEnableNames), Escape('M', "Media Type"),
    Escape('O', "Paper Orientation : %s", F::Orientation),
    Escape('P', "Page Length in lines ( %d )", F::None, 0, kPageEjectIfMarked),
    Named('S', "Duplex Mode Setting : %s", kDuplexModeNames), Escape('T', "Job Separation"),
    Escape('U', "Left Offset Registration (decipoints : %d)"), Escape('X', "Number Of Copies : %d"),
    Escape('Z', "Top Offset Registration (decipoints : %d)"),
});
constexpr auto kAmpN = std::to_array<EscapeEntry>({Data('W', "*** Alphanumeric ID - unsupported")});
constexpr auto kAmpP = std::to_array<EscapeEntry>({
    Escape('C', "Color Palette Control", F::PaletteControl),
    Escape('I', "Set Palette Control ID", F::PaletteControlId),
    Escape('S', "Select Color Palette by ID", F::SelectPalette),
    Escape('X', "Transparent Print Mode", F::TransparentPrint),
});
constexpr auto kAmpS = std::to_array<EscapeEntry>({Named('C', "End of Line Wrap : %s", kEnableDisableNames)});
constexpr auto kAmpT = std::to_array<EscapeEntry>({Escape('P', "Text Parsing Method : %s", F::TextParsingMethod)});
constexpr auto kAmpU = std::to_array<EscapeEntry>({Escape('D', "Set PCL Units Of Measure (%d per inch)")});
constexpr auto kAmpV = std::to_array<EscapeEntry>({Escape('S', "Set Color")});

// ESC( terminators: the symbol-set letters in alphabetical order without X,
// then X (font by ID), then @. F and S also lead to the f and s groups.
constexpr auto kLeftParen = std::to_array<EscapeEntry>({
    Primary('A'), Primary('B'), Primary('C'), Primary('D'), Primary('E'),
    WithChildren(Primary('F'), T::LeftParenF), Primary('G'), Primary('H'), Primary('I'), Primary('J'),
    Primary('K'), Primary('L'), Primary('M'), Primary('N'), Primary('O'), Primary('P'), Primary('Q'),
    Primary('R'), WithChildren(Primary('S'), T::LeftParenS), Primary('T'), Primary('U'), Primary('V'),
    Primary('W'), Primary('Y'), Primary('Z'),
    Escape('X', "Select Primary Font By ID", F::FontById),
    Named('@', "Select Primary Font : %s", kDefaultFontNames),
});
constexpr auto kLeftParenF = std::to_array<EscapeEntry>({Data('W', "Define User Defined Symbol Set (%d bytes) :")});
constexpr auto kLeftParenS = std::to_array<EscapeEntry>({
    Escape('B', "Primary Font Weight", F::StrokeWeight), Escape('H', "Primary Font Pitch", F::Pitch),
    Escape('P', "Primary Font Spacing", F::Spacing), Escape('S', "Primary Font Style", F::Style),
    Escape('T', "Primary Typeface", F::Typeface), Escape('V', "Primary Font Pt Size", F::PointSize),
    Escape('W', "Download Character", F::CharacterData, kSyntaxData, kPageFontHook),
    Escape('Z', "Undocumented"),
});

// ESC) terminators: no C, W or Z; S leads to the s group.
constexpr auto kRightParen = std::to_array<EscapeEntry>({
    Secondary('A'), Secondary('B'), Secondary('D'), Secondary('E'), Secondary('F'), Secondary('G'),
    Secondary('H'), Secondary('I'), Secondary('J'), Secondary('K'), Secondary('L'), Secondary('M'),
    Secondary('N'), Secondary('O'), Secondary('P'), Secondary('Q'), Secondary('R'),
    WithChildren(Secondary('S'), T::RightParenS), Secondary('T'), Secondary('U'), Secondary('V'),
    Secondary('Y'),
    Escape('X', "Select Secondary Font By ID", F::FontById),
    Named('@', "Select Secondary Font : %s", kDefaultFontNames),
});
constexpr auto kRightParenS = std::to_array<EscapeEntry>({
    Escape('B', "Secondary Font Weight", F::StrokeWeight), Escape('H', "Secondary Font Pitch", F::Pitch),
    Escape('P', "Secondary Font Spacing", F::Spacing), Escape('S', "Secondary Font Style", F::Style),
    Escape('T', "Secondary Typeface", F::Typeface), Escape('V', "Secondary Font Pt Size", F::PointSize),
    Escape('W', "Download Font Descriptor", F::FontDescriptor, kSyntaxData, kPageFontHook),
    Escape('Z', "Serial"),
});

// ESC* groups.
constexpr auto kStar = std::to_array<EscapeEntry>({
    Group('B', T::StarB), Group('C', T::StarC), Group('G', T::StarG), Group('I', T::StarI),
    Group('L', T::StarL), Group('M', T::StarM), Group('O', T::StarO), Group('P', T::StarP),
    Group('R', T::StarR), Group('S', T::StarS), Group('T', T::StarT), Group('V', T::StarV),
});
constexpr auto kStarB = std::to_array<EscapeEntry>({
    Escape('M', "Graphics compression mode", F::Compression), Escape('O', "Graphics MSB order", F::RasterMsb),
    Escape('S', "Specify seed row, ignored"),
    Escape('V', "Transfer Raster Data By Plane", F::RasterData, kSyntaxData),
    Escape('W', "Transfer Raster Data", F::RasterData, kSyntaxData, kPageMarks),
    Escape('Y', "Raster Y Offset", F::RasterYOffset),
});
constexpr auto kStarC = std::to_array<EscapeEntry>({
    Escape('A', "Horizontal Rectangle Size, PCL units : %d"),
    Escape('B', "Vertical Rectangle Size, PCL units : %d"),
    Escape('D', "ID for next download font", F::FontId, 0, kPageFontHook),
    Escape('E', "ID for next download character", F::CharacterCode, 0, kPageFontHook),
    Named('F', "Font Control : %s", kFontControlNames, kPageFontHook), Escape('G', "Fill ID : %d"),
    Escape('H', "Horizontal Rectangle Size, Decipoints : %d"), Escape('K', "HPGL Plot Width (Inches) : %f"),
    Escape('L', "HPGL Plot Height (Inches) : %f"), Named('P', "Fill Rectangle : %s", kFillRectangleNames),
    Named('Q', "User Defined Pattern Control : %s", kPatternControlNames),
    Escape('R', "User Defined Symbol Set ID : %d"),
    Named('S', "User Defined Symbol Set Control : %s", kSymbolSetControlNames),
    Escape('T', "HPGL Set Picture Frame Anchor Point"), Escape('V', "Vertical Rectangle Size, Decipoints : %d"),
    Data('W', "User Defined Pattern Definition"), Escape('X', "HPGL Picture Frame Width  (Decipoints) : %d"),
    Escape('Y', "HPGL Picture Frame Height (Decipoints) : %d"),
});
constexpr auto kStarG = std::to_array<EscapeEntry>({Data('W', "Planar Direction")});
constexpr auto kStarI = std::to_array<EscapeEntry>({Escape('W', "Viewing Illuminant")});
constexpr auto kStarL = std::to_array<EscapeEntry>({
    Escape('O', "Set ROP Code : %d"), Escape('R', "Pixel Placement"), Escape('W', "Color Tables"),
});
constexpr auto kStarM = std::to_array<EscapeEntry>({Escape('W', "Color Tables")});
constexpr auto kStarO = std::to_array<EscapeEntry>({
    Escape('D', "Raster Graphics Depletion"), Escape('Q', "Raster Graphics Shingling"),
    Escape('M', "Print Quality"), Data('W', "Driver Function Configuration ( %d bytes )"),
});
constexpr auto kStarP = std::to_array<EscapeEntry>({
    Escape('N', "Raster Graphics Print Mode"), Escape('P', "Push/Pop Color palette"),
    Named('R', "Set Pattern Reference Point, and Set Rotation : %s", kPatternRotationNames),
    Escape('X', "X by PCL dot unit", F::CursorMove), Escape('Y', "Y by PCL dot unit", F::CursorMove),
});
constexpr auto kStarR = std::to_array<EscapeEntry>({
    Escape('A', "Start Raster Graphics", F::StartRaster), Escape('B', "End Raster Graphics", F::EndRaster),
    Escape('C', "End Raster Graphics", F::EndRaster),
    Named('F', "Raster Presentation Mode : %s", kPresentationNames), Escape('Q', "Raster Graphics Quality"),
    Escape('R', "Unknown escape"), Escape('S', "Raster Graphics Width", F::RasterWidth),
    Escape('T', "Raster Graphics Height", F::RasterHeight), Escape('U', "Raster Graphics Planes : %d"),
});
constexpr auto kStarS = std::to_array<EscapeEntry>({Escape('M', "Free Space Query")});
constexpr auto kStarT = std::to_array<EscapeEntry>({
    Escape('R', "Raster Graphics Resolution", F::RasterResolution),
    Escape('H', "Raster Graphics Dest Width", F::DestinationWidth), Escape('I', "Gamma Correction"),
    Escape('J', "Render Algorithm"), Escape('K', "Raster Scale"),
    Escape('V', "Raster Graphics Dest Height", F::DestinationHeight),
});
constexpr auto kStarV = std::to_array<EscapeEntry>({
    Escape('A', "Color Component A"), Escape('B', "Color Component B"), Escape('C', "Color Component C"),
    Escape('I', "Assign Color Index : %d"), Named('N', "Set Source  Transparency : %s", kTransparencyNames),
    Named('O', "Set Pattern Transparency : %s", kTransparencyNames),
    Escape('S', "Set Foreground Color (index into current palette)", F::ForegroundColour),
    Named('T', "Set Current Pattern : %s", kPatternNames), Escape('V', "Unknown escape"),
    Escape('W', "Configure Image Data", F::ConfigureImageData, kSyntaxData),
});

constexpr auto kPercent = std::to_array<EscapeEntry>({
    Escape('A', "Enter PCL ", F::EnterPcl), Escape('B', "Enter HPGL", F::EnterHpgl),
    Escape('X', "Exit Language", F::None, kSyntaxLeavesPcl, kPageEjectIfMarked),
});
constexpr auto kPlus = std::to_array<EscapeEntry>({Group('M', T::PlusM)});
constexpr auto kPlusM = std::to_array<EscapeEntry>({Data('W', "NVM related escape with data")});

constexpr std::size_t kTableCount = static_cast<std::size_t>(T::Count);
constexpr std::size_t Index(T id) { return static_cast<std::size_t>(id); }

// Indexed by EscapeTableId; None stays empty.
constexpr auto kTables = [] {
  std::array<std::span<const EscapeEntry>, kTableCount> t{};
  t[Index(T::Root)] = kRoot;
  t[Index(T::Ampersand)] = kAmpersand;
  t[Index(T::AmpA)] = kAmpA;
  t[Index(T::AmpB)] = kAmpB;
  t[Index(T::AmpD)] = kAmpD;
  t[Index(T::AmpF)] = kAmpF;
  t[Index(T::AmpI)] = kAmpI;
  t[Index(T::AmpK)] = kAmpK;
  t[Index(T::AmpL)] = kAmpL;
  t[Index(T::AmpN)] = kAmpN;
  t[Index(T::AmpP)] = kAmpP;
  t[Index(T::AmpS)] = kAmpS;
  t[Index(T::AmpT)] = kAmpT;
  t[Index(T::AmpU)] = kAmpU;
  t[Index(T::AmpV)] = kAmpV;
  t[Index(T::LeftParen)] = kLeftParen;
  t[Index(T::LeftParenF)] = kLeftParenF;
  t[Index(T::LeftParenS)] = kLeftParenS;
  t[Index(T::RightParen)] = kRightParen;
  t[Index(T::RightParenS)] = kRightParenS;
  t[Index(T::Star)] = kStar;
  t[Index(T::StarB)] = kStarB;
  t[Index(T::StarC)] = kStarC;
  t[Index(T::StarG)] = kStarG;
  t[Index(T::StarI)] = kStarI;
  t[Index(T::StarL)] = kStarL;
  t[Index(T::StarM)] = kStarM;
  t[Index(T::StarO)] = kStarO;
  t[Index(T::StarP)] = kStarP;
  t[Index(T::StarR)] = kStarR;
  t[Index(T::StarS)] = kStarS;
  t[Index(T::StarT)] = kStarT;
  t[Index(T::StarV)] = kStarV;
  t[Index(T::Percent)] = kPercent;
  t[Index(T::Plus)] = kPlus;
  t[Index(T::PlusM)] = kPlusM;
  return t;
}();

constexpr bool EveryTableFilledAndReached() {
  std::array<int, kTableCount> parents{};
  for (const auto& table : kTables)
    for (std::size_t i = 0; i < table.size(); ++i)
      if (table[i].children != T::None) ++parents[Index(table[i].children)];
  for (std::size_t i = Index(T::Root); i < kTableCount; ++i) {
    if (kTables[i].empty()) return false;
    if (parents[i] != (i == Index(T::Root) ? 0 : 1)) return false;  // a tree: one parent each
  }
  return kTables[Index(T::None)].empty();
}
static_assert(EveryTableFilledAndReached());

// Keys are upper case and unique within a table, so the first-match scan
// finds the one record there is; an escape has a meaning, a group node a way down.
constexpr bool EveryRecordWellFormed() {
  for (const auto& table : kTables)
    for (std::size_t i = 0; i < table.size(); ++i) {
      const EscapeEntry& e = table[i];
      if (e.key == 0 || (e.key >= 'a' && e.key <= 'z')) return false;
      for (std::size_t j = 0; j < i; ++j)
        if (table[j].key == e.key) return false;
      if (e.isEscape != (e.description != nullptr)) return false;
      if (e.description && std::char_traits<char>::length(e.description) != e.descriptionLength) return false;
      if (!e.isEscape && (e.children == T::None || e.format != F::None)) return false;
    }
  return true;
}
static_assert(EveryRecordWellFormed());

// A template's expansion fits kTemplateRoom: its text, and for each "%" a
// number or value text (64 characters at most) or its longest value name.
constexpr bool EveryTemplateFits() {
  for (const auto& table : kTables)
    for (std::size_t i = 0; i < table.size(); ++i) {
      const EscapeEntry& e = table[i];
      if (!e.description) continue;
      std::size_t longest = 64;
      for (std::size_t n = 0; n < e.valueNames.size(); ++n)
        if (e.valueNames[n].size() > longest) longest = e.valueNames[n].size();
      std::size_t room = 0;
      for (std::size_t c = 0; e.description[c] != 0; ++c) room += e.description[c] == '%' ? longest : 1;
      if (room > kTemplateRoom) return false;
    }
  return true;
}
static_assert(EveryTemplateFits());

constexpr std::size_t CountEscapeRecords() {
  std::size_t n = 0;
  for (const auto& table : kTables)
    for (std::size_t i = 0; i < table.size(); ++i) n += table[i].isEscape ? 1 : 0;
  return n;
}
static_assert(CountEscapeRecords() == 192);

// Keys are printable characters, so that the index has a place for each.
constexpr bool EveryKeyIndexed() {
  constexpr int kFirst = EscapeKeyIndex::kFirstKey;
  constexpr int kEnd = kFirst + EscapeKeyIndex::kKeyCount;
  for (const auto& table : kTables)
    for (std::size_t i = 0; i < table.size(); ++i)
      if (table[i].key < kFirst || table[i].key >= kEnd) return false;
  return true;
}
static_assert(EveryKeyIndexed());
static_assert(kTableCount == EscapeKeyIndex::kTableCount);

}  // namespace

// For each table and key, in both cases: the record's index plus one, or 0,
// and its children; a lookup is then one load instead of a scan. The slots of
// all tables follow one another.
constexpr EscapeKeyIndex kEscapeKeyIndex = [] {
  EscapeKeyIndex index;
  for (std::size_t t = 0; t < kTableCount; ++t) {
    index.records[t] = kTables[t].data();
    index.slotBase[t + 1] = index.slotBase[t] + kTables[t].size();
    for (std::size_t i = 0; i < kTables[t].size(); ++i) {
      const EscapeEntry& entry = kTables[t][i];
      const bool letter = entry.key >= 'A' && entry.key <= 'Z';
      for (const int key : {int{entry.key}, letter ? entry.key - 'A' + 'a' : int{entry.key}}) {
        const auto k = static_cast<std::size_t>(key - EscapeKeyIndex::kFirstKey);
        index.position[t][k] = static_cast<std::uint8_t>(i + 1);
        index.children[t][k] = entry.children;
      }
    }
  }
  return index;
}();

std::span<const EscapeEntry> EscapeTable(EscapeTableId id) {
  const std::size_t i = Index(id);
  return i < kTableCount ? kTables[i] : std::span<const EscapeEntry>{};
}

}  // namespace veltrix
