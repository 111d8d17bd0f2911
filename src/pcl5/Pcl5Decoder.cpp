#include "pcl5/Pcl5Decoder.h"

#include <optional>

#include "decode/core/ProblemWriter.h"
#include "decode/trackers/JobFacts.h"
#include "hpgl2/HpglParser.h"
#include "pcl5/EscapeFormatters.h"
#include "pcl5/EscapeGrammar.h"
#include "pcl5/EscapeText.h"
#include "pcl5/Pcl5View.h"
#include "pcl5/TextListing.h"

namespace veltrix {

namespace {

constexpr int kEsc = 27;
constexpr int kFormFeed = 12;

// "[ ESC & l 1 O ] " as it opens the escape's lines.
std::string_view HeaderText(const Pcl5View& run, char (&text)[kEscapeTextRoom]) {
  return {text, FormatEscapeHeader(run.pcl.esc, text)};
}

// The header padded to its column, written in place, on a line of its own.
void WriteHeader(const Pcl5View& run, OutputSink& out) {
  if (&out == run.ctx.listing) EndListingLine(run.ctx);
  out.Commit(FormatPaddedEscapeHeader(run.pcl.esc, out.Reserve(kEscapeTextRoom)));
}

void ReportEscapeProblem(const Pcl5View& run, std::string_view listingText, std::string_view logText) {
  char text[kEscapeTextRoom];
  ReportProblem(run.ctx, HeaderText(run, text), listingText, logText);
}

void CountUndocumented(const Pcl5View& run) {
  if (!(run.ctx.flags & DF_ESC_SUM)) return;
  std::string key = UndocumentedEscapeKey(run.pcl.esc);
  const auto [at, added] = run.pcl.undocumentedIndex.try_emplace(
      key, static_cast<std::uint32_t>(run.pcl.undocumentedEscapes.size()));
  if (added) {
    run.pcl.undocumentedEscapes.push_back({std::move(key), 1});
  } else {
    ++run.pcl.undocumentedEscapes[at->second].count;
  }
}

// The meaning line of an escape: its formatter, or its description as a
// template. An invalid value is logged, and in exceptions-only mode it is
// written to the listing as it would be to the log.
void FormatEscape(const Pcl5View& run, const EscapeEntry& entry) {
  const EscapeState& esc = run.pcl.esc;
  if (const EscapeFormatter formatter = FindEscapeFormatter(entry.format)) {
    const bool contiguousRow = esc.paramChar == '*' && esc.groupChar == 'b' && esc.terminator == 'W' &&
                               (run.ctx.flags & DF_RAS_CONTIGUOUS);
    if (!contiguousRow) WriteHeader(run, *run.ctx.listing);
    formatter(run, entry);
    return;
  }
  // The header and the meaning as one write.
  OutputSink& out = *run.ctx.listing;
  EndListingLine(run.ctx);
  char* const meaning = FormatPaddedEscapeHeader(esc, out.Reserve(kEscapeTextRoom + kTemplateRoom + 1));
  bool invalidValue = false;
  char* const end = ExpandEscapeTemplate(entry, esc, meaning, invalidValue);
  *end = '\n';
  if (!invalidValue) {
    out.Commit(end + 1);
    return;
  }
  std::string& line = run.pcl.lineBuffer;
  line.assign(meaning, end);
  out.Commit(end + 1);
  char text[kEscapeTextRoom];
  LogProblem(run.ctx, HeaderText(run, text), line, run.pcl.realListing);
}

struct DuplexEjects {
  int count = 0;
  bool forced = false;
};

// ESC&l#S starts a new sheet on its front side; ESC&a#G moves to a side, and
// a page that is already on the requested side is ejected with an empty one.
DuplexEjects TrackDuplexSide(const Pcl5View& run, const EscapeHit& hit) {
  Pcl5State& pcl = run.pcl;
  const EscapeState& esc = pcl.esc;
  DuplexEjects ejects;
  if (esc.paramChar != '&' || esc.sign != 0) return ejects;
  if (hit.table == EscapeTableId::AmpL && hit.entry->key == 'S') {
    if (esc.value <= 1 && esc.value != pcl.duplexMode) {
      pcl.duplexMode = static_cast<std::uint8_t>(esc.value);
      pcl.duplexSide = 0;
    }
  } else if (hit.table == EscapeTableId::AmpA && hit.entry->key == 'G') {
    if (esc.value == 1 || esc.value == 2) {
      const std::uint8_t side = static_cast<std::uint8_t>(esc.value - 1);
      if (side != pcl.duplexSide) {
        pcl.duplexSide = side;
        ejects = {1, true};
      } else if (run.eject.page.pageMarked) {
        ejects = {2, true};
      }
    } else if (esc.value == 0 && run.eject.page.pageMarked) {
      pcl.duplexSide = static_cast<std::uint8_t>((pcl.duplexSide + 1) % 2);
      ejects = {1, false};
    }
  }
  return ejects;
}

// The group a font download escape is to the extractor, by its formatter.
std::optional<KeepGroup> KeepGroupOf(const EscapeEntry& entry) {
  switch (entry.format) {
    case EscapeFormat::FontId: return KeepGroup::FontId;
    case EscapeFormat::CharacterCode: return KeepGroup::CharCode;
    case EscapeFormat::FontDescriptor: return KeepGroup::FontHeader;
    case EscapeFormat::CharacterData: return KeepGroup::CharData;
    default: return std::nullopt;  // ESC*c#F: stripped, not extracted
  }
}

// The font download groups leave the stripped job with their data, and go to
// the extracted fonts, which read their data again from where it starts.
void PassFontGroup(const Pcl5View& run, const EscapeEntry& entry, std::uint64_t dataStart, std::uint32_t value) {
  StripEscapeHook(run.strip, run.ctx.input->Offset());
  if (!(run.ctx.flags & DF_KEEP_FONTS)) return;
  if (const std::optional<KeepGroup> group = KeepGroupOf(entry)) KeepFontHook(run.keep, dataStart, value, *group);
}

// An escape with all it may do besides its line: the exceptions-only mode,
// page marks and ejects, duplex sides, facts, data and the font hooks.
void HandleEscapeInFull(const Pcl5View& run, const EscapeHit& hit) {
  Pcl5State& pcl = run.pcl;
  const EscapeEntry& entry = *hit.entry;
  const std::uint32_t dataCount = pcl.esc.value;
  const std::uint64_t dataStart = run.ctx.input->Offset();
  pcl.dataConsumed = false;

  if (entry.description || entry.format != EscapeFormat::None) {
    OutputSink* listing = run.ctx.listing;
    if (run.ctx.flags & DF_SUPPRESS) {
      pcl.realListing = listing;
      run.ctx.listing = &run.nullSink;
    }
    FormatEscape(run, entry);
    const DuplexEjects ejects = TrackDuplexSide(run, hit);
    run.ctx.listing = listing;
    pcl.realListing = nullptr;
    if (entry.page & kPageMarks) run.eject.page.pageMarked = true;
    if (ejects.count > 0 || (entry.page & kPageEjectIfMarked)) {
      EjectPage(run.eject, ejects.forced);
      if (ejects.count == 2) EjectPage(run.eject, true);
    }
  } else {
    ReportEscapeProblem(run, "Undocumented escape\n", "Undocumented escape\n");
  }
  if (run.ctx.facts) {
    NotePcl5Escape(*run.ctx.facts, pcl.esc.paramChar, pcl.esc.groupChar, pcl.esc.terminator,
                   pcl.esc.sign < 0 ? -std::int64_t{pcl.esc.value} : std::int64_t{pcl.esc.value});
  }

  if ((entry.syntax & kSyntaxData) && !pcl.dataConsumed && dataCount > 0) run.ctx.input->Skip(dataCount);
  if (entry.page & kPageFontHook) PassFontGroup(run, entry, dataStart, dataCount);
}

void HandleEscape(const Pcl5View& run, const EscapeHit& hit) {
  const EscapeEntry& entry = *hit.entry;
  ++run.escapeCounts[hit.slot];
  // Most escapes only write their line (no flags, no duplex side, nothing
  // else asked for): one test finds them.
  const bool lineOnly = entry.description && entry.page == 0 && entry.syntax == 0 && run.pcl.esc.paramChar != '&' &&
                        !(run.ctx.flags & DF_SUPPRESS) && !run.ctx.facts;
  if (!lineOnly) {
    HandleEscapeInFull(run, hit);
    return;
  }
  run.pcl.dataConsumed = false;
  FormatEscape(run, entry);
}

// Text bytes outside HP-GL/2 mark the page; a form feed ejects it unless it
// is transparent data.
void ApplyTextPageRules(const Pcl5View& run, int b) {
  Pcl5State& pcl = run.pcl;
  if (b > 32) {
    run.eject.page.pageMarked = true;
    run.eject.page.textSinceColour = true;
  }
  if (pcl.transparentLeft == 0) {
    if (b == kFormFeed) EjectPage(run.eject, false);
  } else {
    --pcl.transparentLeft;
  }
}

// One byte of the stretch and whatever it starts. The loop is made twice,
// with and without the strip hook, so that a decode that strips nothing
// pays nothing for it per byte.
template <bool kStripping>
void Step(const Pcl5View& run) {
  Pcl5State& pcl = run.pcl;
  ByteReader& in = *run.ctx.input;
  const int b = in.Next();
  if (b < 0) {
    pcl.endOfInput = true;
    return;
  }
  if constexpr (kStripping) {
    StripByteHook(run.strip, in.Offset() - 1,
                  b == kEsc ? StripByteKind::Escape
                            : (pcl.esc.continuing ? StripByteKind::FurtherGroup : StripByteKind::Other));
  }
  if (b != kEsc && !pcl.esc.continuing) {
    if constexpr (!kStripping) {
      if (StartsTextRun(run, b)) {
        ListTextRun(run, static_cast<std::uint8_t>(b), in);
        return;
      }
      if (pcl.hpglActive && !(run.ctx.flags & DF_SUPPRESS)) {
        FeedHpglRun(run.hpgl, static_cast<std::uint8_t>(b), in);
        return;
      }
    }
    if (!(run.ctx.flags & DF_SUPPRESS)) ListTextByte(run, static_cast<std::uint8_t>(b));
    if (!pcl.hpglActive) ApplyTextPageRules(run, b);
    return;
  }
  if (pcl.hpglActive && b == kEsc) FeedHpgl(run.hpgl, kEsc);
  EscapeHit hit;
  const EscapeParse parse =
      b == kEsc ? ParseEscape(in, pcl.esc, hit) : ContinueEscape(in, pcl.esc, hit, b);
  if (parse == EscapeParse::Found) {
    HandleEscape(run, hit);
    if (hit.entry->syntax & kSyntaxLeavesPcl) pcl.stopped = true;
  } else {
    const bool failed = parse == EscapeParse::Failed;
    ReportEscapeProblem(run, failed ? "*** Invalid Escape\n" : "*** Unknown Escape\n",
                        failed ? "Invalid escape\n" : "Unknown escape\n");
    CountUndocumented(run);
  }
  // Text lists at most a few characters a byte; an escape's lines can be
  // many more (raster rows repeat their seed row), so the budget is checked
  // after each escape.
  StopIfOverBudget(run.ctx);
}

}  // namespace

void DecodePcl5(const Pcl5View& run) {
  ResetPcl5Stretch(run.pcl);
  run.ctx.textLine = {};
  run.eject.page.pageMarked = false;
  ResetHpgl(run.hpgl.state);
  if (run.strip.enabled) {
    while (!run.pcl.endOfInput && !run.pcl.stopped) Step<true>(run);
  } else {
    while (!run.pcl.endOfInput && !run.pcl.stopped) Step<false>(run);
  }
  // The end of the input finishes an HP-GL/2 instruction as an ESC would.
  if (run.pcl.endOfInput && run.pcl.hpglActive) FeedHpgl(run.hpgl, kEsc);
  EndListingLine(run.ctx);
  EjectPage(run.eject, false);
  run.ctx.endOfFile = run.pcl.endOfInput;
  run.ctx.languageExit = run.pcl.stopped;
  run.ctx.emulation = EMUL_UNKNOWN;
}

void ResetPcl5Stretch(Pcl5State& state) {
  Pcl5State fresh;
  fresh.textMethod = state.textMethod;
  fresh.leadByte = state.leadByte;
  fresh.leadPending = state.leadPending;
  fresh.undocumentedEscapes = std::move(state.undocumentedEscapes);
  fresh.undocumentedEscapes.clear();
  state = std::move(fresh);
}

}  // namespace veltrix
