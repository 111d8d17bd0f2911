#include "personality/PjlReader.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "decode/core/DecodeContext.h"
#include "decode/trackers/JobFacts.h"
#include "personality/LineReader.h"

namespace veltrix {

namespace {

struct LanguageName {
  std::string_view name;
  int emulation;
};

constexpr std::array<LanguageName, 5> kLanguages = {{
    {"PCL", EMUL_PCL},
    {"PJL", EMUL_PJL},
    {"PCLXL", EMUL_PCLXL},
    {"HPGL", EMUL_HPGL},
    {"POSTSCRIPT", EMUL_POSTSCRIPT},
}};

constexpr std::string_view kUel = "\x1b%-12345X";

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

void SkipBlanks(std::string_view line, std::size_t& at) {
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
}

// A word matches after blanks when its letters follow exactly (upper case
// only) and the next character cannot continue a word: "PCL" is not the
// start of "PCLXL".
bool MatchWord(std::string_view line, std::size_t& at, std::string_view word) {
  std::size_t i = at;
  SkipBlanks(line, i);
  if (line.substr(i, word.size()) != word) return false;
  i += word.size();
  if (i < line.size() && IsWordChar(line[i])) return false;
  at = i;
  return true;
}

// The personality an ENTER LANGUAGE line names, or -1 for any other line.
int LanguageOfLine(std::string_view line) {
  std::size_t at = 0;
  if (!MatchWord(line, at, "@PJL")) return -1;
  if (!MatchWord(line, at, "ENTER") && !MatchWord(line, at, "FLASHSIMM")) return -1;
  if (!MatchWord(line, at, "LANGUAGE")) return -1;
  SkipBlanks(line, at);
  if (at >= line.size() || line[at] != '=') return -1;
  ++at;
  for (const LanguageName& language : kLanguages) {
    std::size_t i = at;
    if (MatchWord(line, i, language.name)) return language.emulation;
  }
  return EMUL_UNKNOWN;
}

}  // namespace

void ReadPjl(DecodeContext& ctx) {
  bool escapeSeen = false;
  std::string line;
  for (;;) {
    const std::uint64_t lineStart = ctx.input->Offset();
    if (!ReadPjlLine(*ctx.input, line, kPjlLineSize, escapeSeen)) {
      if (!escapeSeen) {
        ctx.endOfFile = true;
        return;
      }
      break;
    }
    // The line is text: it ends at a NUL byte, for the listing and the parse.
    const std::string_view text(line.data(), std::min(line.find('\0'), line.size()));
    if (!(ctx.flags & DF_SUPPRESS)) {
      ctx.listing->Put(text);
      ctx.listing->Put('\n');
    }
    if (ctx.facts) NotePjlLine(*ctx.facts, lineStart, text);
    const int language = LanguageOfLine(text);
    if (language >= 0) {
      ctx.emulation = language;
      break;
    }
  }
  ctx.languageExit = true;
  // A line that starts with ESC is PCL: the ESC is left for the PCL decoder.
  if (escapeSeen) ctx.emulation = EMUL_PCL;
}

void ScanForUel(DecodeContext& ctx) {
  std::size_t matched = 0;
  for (;;) {
    const int b = ctx.input->Next();
    if (b < 0) {
      ctx.endOfFile = true;
      return;
    }
    if (b == static_cast<unsigned char>(kUel[matched])) {
      if (++matched == kUel.size()) {
        ctx.emulation = EMUL_PJL;
        ctx.languageExit = true;
        return;
      }
    } else {
      // The mismatching byte is not compared again, so ESC ESC % ... is missed.
      matched = 0;
    }
  }
}

}  // namespace veltrix
