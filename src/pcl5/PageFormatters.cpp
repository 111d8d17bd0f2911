// Formatters of the job, page, cursor, text and mode escapes.
#include <array>

#include "decode/core/TextFormat.h"
#include "decode/trackers/PageEject.h"
#include "hpgl2/HpglParser.h"
#include "pcl5/EscapeText.h"
#include "pcl5/FormatterKinds.h"
#include "pcl5/FormatterSupport.h"

namespace veltrix {

namespace {

constexpr std::string_view kOrientations[] = {"Portrait", "Landscape", "Reverse Portrait", "Reverse Landscape"};

constexpr KeyedName kOutputTrays[] = {
    {0, "Automatic"}, {1, "Upper Bin"},  {2, "Lower (Rear) Bin"}, {3, "Tray 3"},
    {20, "Face Down"}, {21, "Face Up"}, {22, "Over Stacker"},    {23, "Into Stacker"},
};

constexpr KeyedName kPaperSources[] = {
    {-1, "Tractor Feed"},     {0, "Print Current Page"}, {1, "Printer Specific"},
    {2, "Manual"},            {3, "Envelope Manual"},    {4, "Lower"},
    {5, "Optional"},          {6, "Envelope Optional"},  {7, "Auto Select (Default)"},
    {8, "Tray 1"},            {20, "HCI Tray (2-21)"},   {99, "Tractor feed / fan fold"},
};

constexpr KeyedName kTextParsingMethods[] = {
    {0, "default"},          {1, "1 byte"},     {2, "2 byte unicode"}, {3, "3 byte"},
    {4, "4 byte"},           {21, "1 byte / 2 byte"}, {31, "1 byte / 2 byte"}, {32, "Shift GB"},
    {33, "Shift CCDC"},      {38, "1 byte / 2 byte"},
};

constexpr std::string_view kMacroControls[] = {
    "Start definition",      "Stop definition",      "Execute",
    "Call",                  "Enable for auto overlay", "Disable auto overlay",
    "Delete All",            "Delete All Temporary", "Delete Macro (last ID)",
    "Make Macro Temporary",  "Make Macro Permanent",
};

constexpr std::string_view kHpglEntries[] = {
    "Pen at previous HPGL pen position",
    "Pen at current PCL cursor position",
    "Use current PCL dot coord system and previous HPGL pen position",
    "Use current PCL dot coord system and PCL pen position",
};

constexpr std::string_view kPclEntries[] = {"Pen at previous PCL cursor position", "Pen at current HPGL pen position"};

}  // namespace

// ESC E: the printer's defaults come back.
void FormatReset(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Put("Reset\n");
  run.pcl.textMethod = 0;
  run.pcl.leadPending = false;
  run.pcl.hpglActive = false;
  run.rasterSettings = RasterSettings{};
  ResetFontSelection(run.fonts);
}

void FormatCursorMove(const Pcl5View& run, const EscapeEntry& entry) {
  const EscapeState& esc = run.pcl.esc;
  const std::string_view description = DescriptionOf(entry);
  OutputSink& out = Listing(run);
  char* at = out.Reserve(32 + description.size() + kEscapeTextRoom);
  at = FormatText(at, esc.sign != 0 ? "Relative Move of " : "Absolute Move of ");
  at = FormatText(at, description);
  at = FormatText(at, " : ");
  at += FormatEscapeValue(esc, true, true, at);
  *at++ = '\n';
  out.Commit(at);
}

void FormatPageSize(const Pcl5View& run, const EscapeEntry&) {
  OutputSink& out = Listing(run);
  out.Put("Set Page Size : ");
  const std::uint32_t value = Value(run);
  if (const auto name = PaperSizeName(run.names, static_cast<std::int32_t>(value))) {
    out.Put(*name);
    out.Put('\n');
  } else {
    out.Printf("*** Unknown ( %u )\n", value);
  }
}

// ESC&l#O changes the orientation, and a page with content is ejected first.
void FormatOrientation(const Pcl5View& run, const EscapeEntry&) {
  const std::uint32_t value = Value(run);
  PutNamedValue(Listing(run), "Paper Orientation : ", kOrientations, value);
  if (value < 4 && static_cast<std::int32_t>(value) != run.pcl.orientation) {
    run.pcl.orientation = static_cast<std::int32_t>(value);
    EjectPage(run.eject, false);
  }
}

void FormatOutputTray(const Pcl5View& run, const EscapeEntry& entry) {
  PutDescriptionWith(Listing(run), entry.description,
                     KeyedNameOf(kOutputTrays, static_cast<std::int32_t>(Value(run))));
}

void FormatPaperSource(const Pcl5View& run, const EscapeEntry& entry) {
  std::int32_t key = static_cast<std::int32_t>(Value(run));
  if (run.pcl.esc.sign == -1) key = static_cast<std::int32_t>(0u - Value(run));
  PutDescriptionWith(Listing(run), entry.description, KeyedNameOf(kPaperSources, key));
}

void FormatTextParsingMethod(const Pcl5View& run, const EscapeEntry& entry) {
  const std::uint32_t value = Value(run);
  PutDescriptionWith(Listing(run), entry.description,
                     KeyedNameOf(kTextParsingMethods, static_cast<std::int32_t>(value)));
  if (value == 0 || value == 1) {
    run.pcl.textMethod = 0;
  } else if (value == 21 || value == 31 || value == 38) {
    run.pcl.textMethod = value;
  }
  run.pcl.leadPending = false;  // a held lead byte never gets its second byte
}

// ESC&p#X: the next bytes are printed as they are, control codes included.
void FormatTransparentPrint(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Printf("Transparent Print Mode next %u bytes :\n", Value(run));
  run.pcl.transparentLeft = Value(run);
}

void FormatMacroId(const Pcl5View& run, const EscapeEntry&) {
  Listing(run).Printf("Set Macro ID #%u\n", Value(run));
  SetMacroId(run.macros, Value(run));
}

void FormatMacroControl(const Pcl5View& run, const EscapeEntry&) {
  const std::uint32_t value = Value(run);
  PutNamedValue(Listing(run), StringPrintf("Macro Control (%u) : ", value), kMacroControls, value);
  RecordMacroControl(run.macros, value,
                     static_cast<std::int64_t>(run.ctx.input->Offset()));
}

void FormatEnterHpgl(const Pcl5View& run, const EscapeEntry&) {
  PutNamedValue(Listing(run), "Enter HPGL : ", kHpglEntries, Value(run));
  run.pcl.hpglActive = true;
  EnterHpgl(run.hpgl);
}

void FormatEnterPcl(const Pcl5View& run, const EscapeEntry&) {
  if (run.pcl.hpglActive) LeaveHpgl(run.hpgl);
  run.pcl.hpglActive = false;
  PutNamedValue(Listing(run), "Enter PCL : ", kPclEntries, Value(run));
}

}  // namespace veltrix
