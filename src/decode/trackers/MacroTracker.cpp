#include "decode/trackers/MacroTracker.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <string_view>

namespace veltrix {

namespace {

// The ESC&f#X values.
enum MacroAction : std::uint32_t {
  kStartDefine = 0,
  kStopDefine = 1,
  kExecute = 2,
  kCall = 3,
  kEnableOverlay = 4,
  kDisableOverlay = 5,
  kDeleteAll = 6,
  kDeleteTemporary = 7,
  kDelete = 8,
  kMakeTemporary = 9,
  kMakePermanent = 10,
};

// Indexed by the action; every name is 15 characters, so the offsets line up.
constexpr std::array<std::string_view, 11> kActionNames = {
    "Start Define   ", "Stop  Define   ", "Execute        ", "Call           ",
    "Enable  Overlay", "Disable Overlay", "Delete (All)   ", "Delete (Temp)  ",
    "Delete         ", "Make Temporary ", "Make Permanent "};
static_assert(std::ranges::all_of(kActionNames, [](std::string_view s) { return s.size() == 15; }));
static_assert(kActionNames.size() == kMakePermanent + 1);

constexpr std::uint8_t kInsideFollows = 0x10;

// One event as the summary reads it back.
struct MacroEvent {
  std::int64_t offset = 0;
  std::uint32_t macro = 0;   // position of the macro (in a bucket: from the bucket's first)
  std::uint32_t inside = 0;  // ID of the macro being defined, when `hasInside`
  std::uint8_t action = 0;
  bool hasInside = false;
};

void AppendEvent(SpillLog& log, std::int64_t& lastOffset, const MacroEvent& e) {
  log.AppendVarint(e.macro);
  log.AppendByte(static_cast<std::uint8_t>(e.action | (e.hasInside ? kInsideFollows : 0)));
  log.AppendVarint(ZigZag(e.offset - lastOffset));
  lastOffset = e.offset;
  if (e.hasInside) log.AppendVarint(e.inside);
}

MacroEvent ReadEvent(SpillLog::Reader& in, std::int64_t& lastOffset) {
  MacroEvent e;
  e.macro = static_cast<std::uint32_t>(in.Varint());
  const std::uint8_t action = in.Byte();
  e.action = action & 0x0F;
  e.hasInside = (action & kInsideFollows) != 0;
  lastOffset += UnZigZag(in.Varint());
  e.offset = lastOffset;
  if (e.hasInside) e.inside = static_cast<std::uint32_t>(in.Varint());
  return e;
}

std::uint8_t& StateOf(MacroTracker& macros, std::uint32_t macro) { return macros.states[macro]; }

// A macro that is defined belongs on the list of its permanence.
void ListIfDefined(MacroTracker& macros, std::uint32_t macro) {
  std::uint8_t& state = StateOf(macros, macro);
  if (!(state & kMacroDefined)) return;
  if (state & kMacroPermanent) {
    if (!(state & kMacroOnPermanentList)) macros.maybePermanent.push_back(macro);
    state |= kMacroOnPermanentList;
  } else {
    if (!(state & kMacroOnTemporaryList)) macros.maybeTemporary.push_back(macro);
    state |= kMacroOnTemporaryList;
  }
}

void AddEvent(MacroTracker& macros, std::uint32_t macro, std::uint32_t action, std::int64_t offset) {
  std::uint8_t& state = StateOf(macros, macro);
  // Executing, deleting or changing the permanence of a macro that is not
  // completely defined leaves no trace.
  if (action >= kExecute && !(state & kMacroDefined)) return;
  switch (action) {
    case kStartDefine:
    case kDeleteAll:
    case kDeleteTemporary:
    case kDelete:
      state &= static_cast<std::uint8_t>(~kMacroDefined);
      break;
    case kStopDefine:
      state |= kMacroDefined;
      break;
    case kMakeTemporary:
      state &= static_cast<std::uint8_t>(~kMacroPermanent);
      break;
    case kMakePermanent:
      state |= kMacroPermanent;
      break;
    default:
      break;
  }
  ListIfDefined(macros, macro);
  AppendEvent(macros.events, macros.lastOffset,
              MacroEvent{offset, macro, macros.definingMacroId, static_cast<std::uint8_t>(action), macros.defining});
}

// Only a start of definition makes a record; any other action on an unknown ID
// is dropped.
void RecordAction(MacroTracker& macros, std::uint32_t id, std::uint32_t action, std::int64_t offset) {
  const auto idAt = [&](std::uint32_t at) { return macros.ids[at]; };
  std::optional<std::uint32_t> macro = macros.indexById.Find(id, idAt);
  if (!macro) {
    // A new macro needs a start, and a position below the index's own mark.
    if (action != kStartDefine || macros.ids.size() >= std::numeric_limits<std::uint32_t>::max() - 1) return;
    macro = static_cast<std::uint32_t>(macros.ids.size());
    macros.ids.push_back(id);
    macros.states.push_back(0);
    macros.indexById.Insert(id, *macro, idAt);
  }
  AddEvent(macros, *macro, action, offset);
}

// Delete (All) and Delete (Temp): each defined macro of the lists gets the
// event; the visited entries are dropped, except permanent macros that a
// temporary delete leaves on their list.
void DeleteListed(MacroTracker& macros, std::deque<std::uint32_t>& list, std::uint8_t listBit,
                  std::uint32_t action, std::int64_t offset) {
  std::deque<std::uint32_t> visiting;
  visiting.swap(list);
  for (const std::uint32_t macro : visiting) {
    StateOf(macros, macro) &= static_cast<std::uint8_t>(~listBit);
    const std::uint8_t state = StateOf(macros, macro);
    if (action == kDeleteTemporary && (state & kMacroPermanent)) continue;  // on the permanent list too
    if (state & kMacroDefined) AddEvent(macros, macro, action, offset);
  }
  // AddEvent lists nothing here: every event of a group delete leaves its
  // macro undefined.
}

void WriteMacroHeading(OutputSink& out, const MacroTracker& macros, std::uint32_t macro) {
  out.Printf("    Macro ID %-5u (%s) :\n", macros.ids[macro],
             (macros.states[macro] & kMacroPermanent) ? "perm" : "temp");
}

void WriteEventLine(OutputSink& out, const MacroEvent& e) {
  out.Put("        ");
  out.Put(kActionNames[e.action < kActionNames.size() ? e.action : 0]);
  out.Printf("  offset %7lld", static_cast<long long>(e.offset));
  if ((e.action == kExecute || e.action == kCall) && e.hasInside) out.Printf(" (inside macro %-5u)", e.inside);
  out.Put('\n');
}

// A run of macros [first, end) whose events the summary handles together.
struct Bucket {
  std::uint32_t first = 0;
  std::uint32_t end = 0;
  std::uint64_t events = 0;
};

// The events of each macro, counted from the log (saturating).
std::vector<std::uint32_t> CountEvents(const MacroTracker& macros) {
  std::vector<std::uint32_t> counts(macros.ids.size(), 0);
  SpillLog::Reader in(macros.events);
  std::int64_t lastOffset = 0;
  while (!in.AtEnd()) {
    const MacroEvent e = ReadEvent(in, lastOffset);
    if (e.macro < counts.size() && counts[e.macro] < std::numeric_limits<std::uint32_t>::max()) ++counts[e.macro];
  }
  return counts;
}

// Groups the macros, in order, into buckets of at most `limit` events; a
// macro with more events than that is a bucket of its own.
std::vector<Bucket> PlanBuckets(const std::vector<std::uint32_t>& counts, std::uint64_t limit) {
  std::vector<Bucket> buckets;
  for (std::uint32_t m = 0; m < counts.size(); ++m) {
    const std::uint64_t n = counts[m];
    if (buckets.empty() || buckets.back().events + n > limit) buckets.push_back({m, m, 0});
    buckets.back().end = m + 1;
    buckets.back().events += n;
  }
  return buckets;
}

// Writes the macros of one bucket from a log of their events (positions
// taken from the bucket's first macro).
void WriteBucket(OutputSink& out, const MacroTracker& macros, const std::vector<std::uint32_t>& counts,
                 const Bucket& bucket, const SpillLog& log) {
  SpillLog::Reader in(log);
  std::int64_t lastOffset = 0;
  if (bucket.end - bucket.first == 1) {  // one macro: its events are in order already
    WriteMacroHeading(out, macros, bucket.first);
    while (!in.AtEnd()) WriteEventLine(out, ReadEvent(in, lastOffset));
    out.Put('\n');
    return;
  }
  // A counting sort by macro, which keeps each macro's events in order.
  const std::uint32_t size = bucket.end - bucket.first;
  std::vector<std::uint64_t> start(size + 1, 0);
  for (std::uint32_t i = 0; i < size; ++i) start[i + 1] = start[i] + counts[bucket.first + i];
  std::vector<MacroEvent> sorted(start[size]);
  std::vector<std::uint64_t> next(start.begin(), start.end() - 1);
  while (!in.AtEnd()) {
    const MacroEvent e = ReadEvent(in, lastOffset);
    if (e.macro < size && next[e.macro] < start[e.macro + 1]) sorted[next[e.macro]++] = e;
  }
  for (std::uint32_t i = 0; i < size; ++i) {
    WriteMacroHeading(out, macros, bucket.first + i);
    for (std::uint64_t k = start[i]; k < next[i]; ++k) WriteEventLine(out, sorted[k]);
    out.Put('\n');
  }
}

}  // namespace

void ResetMacros(MacroTracker& macros, bool tracking) {
  ReleaseMacros(macros);
  macros.tracking = tracking;
  macros.currentMacroId = 0;
  macros.defining = false;
  macros.overlayOn = false;
}

void SetMacroId(MacroTracker& macros, std::uint32_t id) { macros.currentMacroId = id; }

void RecordMacroControl(MacroTracker& macros, std::uint32_t action, std::int64_t offset) {
  if (!macros.tracking || action > kMakePermanent) return;
  // Inside a definition the printer stores every other macro command in the
  // macro instead of carrying it out.
  if (macros.defining && action != kStopDefine && action != kExecute && action != kCall) return;
  switch (action) {
    case kStartDefine:
      RecordAction(macros, macros.currentMacroId, kStartDefine, offset);
      macros.defining = true;
      macros.definingMacroId = macros.currentMacroId;
      break;
    case kStopDefine:
      if (macros.defining) {
        macros.defining = false;  // the stop itself is not inside the macro
        RecordAction(macros, macros.definingMacroId, kStopDefine, offset);
      }
      break;
    case kEnableOverlay:
      if (macros.overlayOn) RecordAction(macros, macros.overlayMacroId, kDisableOverlay, offset);
      macros.overlayOn = true;
      macros.overlayMacroId = macros.currentMacroId;
      RecordAction(macros, macros.currentMacroId, kEnableOverlay, offset);
      break;
    case kDisableOverlay:
      if (macros.overlayOn) {
        RecordAction(macros, macros.overlayMacroId, kDisableOverlay, offset);
        macros.overlayOn = false;
      }
      break;
    case kDeleteAll:
      DeleteListed(macros, macros.maybeTemporary, kMacroOnTemporaryList, kDeleteAll, offset);
      DeleteListed(macros, macros.maybePermanent, kMacroOnPermanentList, kDeleteAll, offset);
      break;
    case kDeleteTemporary:
      DeleteListed(macros, macros.maybeTemporary, kMacroOnTemporaryList, kDeleteTemporary, offset);
      break;
    default:  // execute, call, delete, make temporary, make permanent
      RecordAction(macros, macros.currentMacroId, action, offset);
      break;
  }
}

void WriteMacroSummary(MacroTracker& macros, OutputSink& out) {
  if (!macros.tracking) return;
  macros.indexById.Clear();
  std::deque<std::uint32_t>().swap(macros.maybeTemporary);
  std::deque<std::uint32_t>().swap(macros.maybePermanent);
  out.Printf("\n===================================================\n\n    Macro Summary %s\n\n",
             macros.ids.empty() ? ": No Macros Defined" : "");
  const std::vector<std::uint32_t> counts = CountEvents(macros);
  std::uint64_t total = 0;
  for (const std::uint32_t n : counts) total += n;
  // Up to a quarter of a million events (about 6 MiB) are sorted at a time;
  // a larger job is first split by macro into at most ~256 bucket logs.
  const std::uint64_t limit = std::max<std::uint64_t>(1 << 18, total / 256 + 1);
  const std::vector<Bucket> buckets = PlanBuckets(counts, limit);
  if (buckets.size() <= 1) {
    if (!buckets.empty()) WriteBucket(out, macros, counts, buckets.front(), macros.events);
    return;
  }
  std::vector<std::unique_ptr<SpillLog>> logs;
  std::vector<std::int64_t> lastOffsets(buckets.size(), 0);
  for (std::size_t i = 0; i < buckets.size(); ++i) logs.push_back(std::make_unique<SpillLog>(64 * 1024));
  SpillLog::Reader in(macros.events);
  std::int64_t lastOffset = 0;
  while (!in.AtEnd()) {
    MacroEvent e = ReadEvent(in, lastOffset);
    const auto it = std::upper_bound(buckets.begin(), buckets.end(), e.macro,
                                     [](std::uint32_t m, const Bucket& b) { return m < b.first; });
    const std::size_t b = static_cast<std::size_t>(it - buckets.begin()) - 1;
    e.macro -= buckets[b].first;
    AppendEvent(*logs[b], lastOffsets[b], e);
  }
  for (std::size_t b = 0; b < buckets.size(); ++b) {
    WriteBucket(out, macros, counts, buckets[b], *logs[b]);
    logs[b].reset();
  }
}

void ReleaseMacros(MacroTracker& macros) {
  std::deque<std::uint32_t>().swap(macros.ids);
  std::deque<std::uint8_t>().swap(macros.states);
  std::deque<std::uint32_t>().swap(macros.maybeTemporary);
  std::deque<std::uint32_t>().swap(macros.maybePermanent);
  macros.indexById.Clear();
  macros.events.Clear();
  macros.lastOffset = 0;
}

}  // namespace veltrix
