#include "decode/trackers/JobFacts.h"

#include <algorithm>

#include "decode/core/DecodeOptions.h"

namespace veltrix {

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The first word of `text` (up to a blank or '='), upper-cased, removed from `text`.
std::string TakeWord(std::string_view& text) {
  text = Trim(text);
  std::size_t end = 0;
  while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '=') ++end;
  std::string word(text.substr(0, std::min(end, kMaxFactText)));
  for (char& c : word) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  text.remove_prefix(end);
  return word;
}

void AppendSettings(SpillLog& log, const PageSettings& s) {
  for (const std::int32_t v : {s.pageSize, s.orientation, s.paperSource, s.duplexMode, s.duplexSide, s.copies}) {
    log.AppendVarint(ZigZag(v));
  }
}

std::int32_t Clamp(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

template <typename T>
void AddOnce(std::vector<T>& list, T value) {
  if (list.size() < kMaxListedFacts && std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

}  // namespace

void StartJobFacts(JobFacts& facts) {
  facts.stretches.clear();
  facts.stretchesDropped = 0;
  facts.pjl.clear();
  facts.pjlDropped = 0;
  facts.sessions.clear();
  facts.sessionsDropped = 0;
  facts.pcl = {};
  facts.xlPage = {};
  facts.xlEndPage = false;
  facts.fontId = 0;
  facts.charactersByFontId.clear();
  facts.pages.Clear();
  facts.pageCount = 0;
  facts.problems.log.Clear();
  facts.problems.count = 0;
  facts.counts = {};
}

void NoteStretch(JobFacts& facts, std::uint64_t offset, int emulation) {
  if (!facts.stretches.empty()) {
    StretchFact& last = facts.stretches.back();
    if (last.emulation == emulation) return;
    last.length = offset - last.offset;
    if (last.length == 0) {
      facts.stretches.pop_back();  // a decoder that read nothing
      if (!facts.stretches.empty() && facts.stretches.back().emulation == emulation) return;
    }
  }
  if (facts.stretches.size() >= kMaxListedFacts) {
    ++facts.stretchesDropped;
    return;
  }
  facts.stretches.push_back({offset, 0, emulation});
}

void EndStretches(JobFacts& facts, std::uint64_t offset) {
  if (facts.stretches.empty()) return;
  StretchFact& last = facts.stretches.back();
  last.length = offset - last.offset;
  if (last.length == 0 && facts.stretches.size() > 1) facts.stretches.pop_back();
}

void NotePjlLine(JobFacts& facts, std::uint64_t offset, std::string_view line) {
  std::string_view rest = line;
  if (TakeWord(rest) != "@PJL") return;
  PjlFact fact{offset, TakeWord(rest), {}, {}};
  if (fact.command.empty()) return;  // "@PJL" alone: a no-op line
  if (facts.pjl.size() >= kMaxListedFacts) {
    ++facts.pjlDropped;
    return;
  }
  // "SET NAME=VALUE", "DEFAULT NAME=VALUE", "ENTER LANGUAGE=PCL",
  // "JOB NAME="x"", "COMMENT text": a variable when '=' follows a word.
  rest = Trim(rest);
  std::string_view probe = rest;
  std::string word = TakeWord(probe);
  probe = Trim(probe);
  if (!word.empty() && !probe.empty() && probe.front() == '=') {
    fact.variable = std::move(word);
    probe.remove_prefix(1);
    rest = Trim(probe);
    if (rest.size() >= 2 && rest.front() == '"') {
      const std::size_t close = rest.find('"', 1);
      if (close != std::string_view::npos) rest = rest.substr(1, close - 1);
    }
  }
  fact.value.assign(rest.substr(0, kMaxFactText));
  facts.pjl.push_back(std::move(fact));
}

void NotePcl5Escape(JobFacts& facts, std::uint8_t paramChar, std::uint8_t groupChar, std::uint8_t terminator,
                    std::int64_t value) {
  ++facts.counts.escapes;
  const std::int32_t v = Clamp(value);
  if (paramChar == 0 && terminator == 'E') {
    facts.pcl = {};  // ESC E: the page settings return to the printer's defaults
    return;
  }
  const int key = (groupChar << 8) | (terminator & ~0x20);  // the terminator in upper case
  if (paramChar == '*' && key == (('c' << 8) | 'D')) facts.fontId = v;
  if (paramChar == '(' && key == (('s' << 8) | 'W')) {  // a character download, for the current font ID
    auto it = facts.charactersByFontId.find(facts.fontId);
    if (it != facts.charactersByFontId.end()) {
      ++it->second;
    } else if (facts.charactersByFontId.size() < kMaxListedFacts) {
      facts.charactersByFontId.emplace(facts.fontId, 1);
    }
  }
  if (paramChar != '&') return;
  switch (key) {
    case ('l' << 8) | 'A': facts.pcl.pageSize = v; break;
    case ('l' << 8) | 'O': facts.pcl.orientation = v; break;
    case ('l' << 8) | 'H': if (v != 0) facts.pcl.paperSource = v; break;  // 0 ejects, selects nothing
    case ('l' << 8) | 'S': facts.pcl.duplexMode = v; break;
    case ('a' << 8) | 'G': facts.pcl.duplexSide = v; break;
    case ('l' << 8) | 'X': facts.pcl.copies = v; break;
    default: break;
  }
}

void NoteXlSession(JobFacts& facts, std::uint64_t offset, std::int32_t measure, std::int32_t unitsX,
                   std::int32_t unitsY) {
  if (facts.sessions.size() >= kMaxListedFacts) {
    ++facts.sessionsDropped;
    return;
  }
  facts.sessions.push_back({offset, measure, unitsX, unitsY, {}, {}});
}

void NoteXlColourSpace(JobFacts& facts, std::int32_t colourSpace) {
  if (!facts.sessions.empty()) AddOnce(facts.sessions.back().colourSpaces, colourSpace);
}

void NoteXlPage(JobFacts& facts, const PageSettings& settings) {
  facts.xlPage = settings;
  if (!facts.sessions.empty() && settings.pageSize != kFactUnset) {
    AddOnce(facts.sessions.back().mediaSizes, settings.pageSize);
  }
}

void NoteXlEndPage(JobFacts& facts, std::uint64_t offset, std::int32_t copies, bool countHere) {
  facts.xlPage.copies = copies;
  facts.xlEndPage = copies != 0;  // a page of no copies is not ejected
  if (countHere) NotePageEject(facts, offset);
}

void NotePageEject(JobFacts& facts, std::uint64_t offset) {
  const bool xl = facts.xlEndPage;
  facts.xlEndPage = false;
  facts.pages.AppendVarint(offset);
  facts.pages.AppendByte(xl ? 1 : 0);
  AppendSettings(facts.pages, xl ? facts.xlPage : facts.pcl);
  ++facts.pageCount;
}

bool ReadPageFact(SpillLog::Reader& in, PageFact& page) {
  if (in.AtEnd()) return false;
  page.offset = in.Varint();
  page.xl = in.Byte() != 0;
  PageSettings& s = page.settings;
  for (std::int32_t* v : {&s.pageSize, &s.orientation, &s.paperSource, &s.duplexMode, &s.duplexSide, &s.copies}) {
    *v = static_cast<std::int32_t>(UnZigZag(in.Varint()));
  }
  return true;
}

}  // namespace veltrix
