// What a script asks of a job, collected while it is decoded (--facts): the
// personality stretches, the PJL commands, the pages with the settings they
// were printed with, the PCL XL sessions, counts of commands, and every
// problem. The decoders reach it through DecodeContext::facts, which is null
// when no facts are asked for, so that a normal run pays one test per hook.
//
// Memory stays bounded whatever the job: pages and problems go to spill logs
// (a compact record each, moved to a temporary file past 1 MB), and the
// lists that are kept whole stop at a fixed length, counting what they drop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "decode/core/ProblemWriter.h"
#include "decode/core/SpillLog.h"

namespace veltrix {

// A page setting the job has not set.
inline constexpr std::int32_t kFactUnset = -1;

// The settings a page is printed with, as the job's own codes (the PCL 5
// escape values, or the PCL XL enumerations); kFactUnset where the job set
// none. The driver names the codes when it writes them.
struct PageSettings {
  std::int32_t pageSize = kFactUnset;
  std::int32_t orientation = kFactUnset;
  std::int32_t paperSource = kFactUnset;
  std::int32_t duplexMode = kFactUnset;  // PCL 5: ESC&l#S; PCL XL: 0 simplex, 1 duplex
  std::int32_t duplexSide = kFactUnset;  // PCL 5: ESC&a#G; PCL XL: 0 front, 1 back
  std::int32_t copies = kFactUnset;
};

struct PageFact {
  std::uint64_t offset = 0;  // where the page was ejected
  bool xl = false;           // a PCL XL page
  PageSettings settings;
};

struct StretchFact {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  int emulation = 0;  // EMUL_*
};

// "@PJL SET COPIES=2": command "SET", variable "COPIES", value "2".
struct PjlFact {
  std::uint64_t offset = 0;
  std::string command;
  std::string variable;
  std::string value;
};

struct XlSessionFact {
  std::uint64_t offset = 0;
  std::int32_t measure = kFactUnset;  // 0 inch, 1 millimetre, 2 tenth of a millimetre
  std::int32_t unitsX = 0;
  std::int32_t unitsY = 0;
  std::vector<std::int32_t> colourSpaces;  // in order of first use
  std::vector<std::int32_t> mediaSizes;    // in order of first use
};

struct FactCounts {
  std::uint64_t escapes = 0;
  std::uint64_t hpglInstructions = 0;
  std::uint64_t xlOperators = 0;
};

// Lists kept whole stop at this many entries (a hostile job may hold
// millions of PJL lines); the rest are counted.
inline constexpr std::size_t kMaxListedFacts = 1000;
// A PJL value or a problem text is cut to this many bytes.
inline constexpr std::size_t kMaxFactText = 256;

struct JobFacts {
  std::vector<StretchFact> stretches;
  std::uint64_t stretchesDropped = 0;
  std::vector<PjlFact> pjl;
  std::uint64_t pjlDropped = 0;
  std::vector<XlSessionFact> sessions;
  std::uint64_t sessionsDropped = 0;
  PageSettings pcl;     // as the PCL 5 escapes have set them so far
  PageSettings xlPage;  // the current PCL XL page's
  bool xlEndPage = false;  // the next page eject is a PCL XL EndPage's
  std::int32_t fontId = 0;  // the last ESC*c#D
  std::unordered_map<std::int32_t, std::uint64_t> charactersByFontId;  // ESC(s#W downloads; at most kMaxListedFacts ids
  SpillLog pages;
  std::uint64_t pageCount = 0;
  ProblemFacts problems;  // written by the problem writer
  FactCounts counts;
};

// Before each file: everything cleared.
void StartJobFacts(JobFacts& facts);

// The personality loop starts a stretch of `emulation` at `offset`; a
// stretch of the same language as the one before continues it.
void NoteStretch(JobFacts& facts, std::uint64_t offset, int emulation);
// The end of the file: the last stretch ends there.
void EndStretches(JobFacts& facts, std::uint64_t offset);

// A PJL line as listed (without its line end), starting at `offset`.
void NotePjlLine(JobFacts& facts, std::uint64_t offset, std::string_view line);

// A PCL 5 escape: `paramChar` (& ( ) * % + or 0), the lower-case group
// letter (or 0), the terminator, and its value (negative when signed so).
void NotePcl5Escape(JobFacts& facts, std::uint8_t paramChar, std::uint8_t groupChar, std::uint8_t terminator,
                    std::int64_t value);

inline void NoteHpglInstruction(JobFacts& facts) { ++facts.counts.hpglInstructions; }
inline void NoteXlOperator(JobFacts& facts) { ++facts.counts.xlOperators; }

// PCL XL: a session begins; a colour space is set; a page begins with its
// settings; an EndPage gives the page's copies.
void NoteXlSession(JobFacts& facts, std::uint64_t offset, std::int32_t measure, std::int32_t unitsX,
                   std::int32_t unitsY);
void NoteXlColourSpace(JobFacts& facts, std::int32_t colourSpace);
void NoteXlPage(JobFacts& facts, const PageSettings& settings);
// EndPage at `offset`: the page's copies (kFactUnset when it gives none).
// `countHere`: the page is printed but no page eject is listed for it, so
// the facts count it here.
void NoteXlEndPage(JobFacts& facts, std::uint64_t offset, std::int32_t copies, bool countHere);

// A page was ejected at `offset`.
void NotePageEject(JobFacts& facts, std::uint64_t offset);

// Reads the page records back, in order; false at the end.
bool ReadPageFact(SpillLog::Reader& in, PageFact& page);

}  // namespace veltrix
