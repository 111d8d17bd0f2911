#include "decode/FactsJson.h"

#include <span>
#include <string_view>

#include <nlohmann/json.hpp>

#include "pcl5/NameLookup.h"
#include "pclxl/XlEnumerations.h"
#include "pclxl/XlTagTable.h"

namespace veltrix {

namespace {

using Json = nlohmann::ordered_json;

// Text from a job is bytes, not UTF-8: invalid sequences become U+FFFD
// rather than stopping the document.
std::string Dump(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

void Put(OutputSink& out, const Json& value) { out.Put(Dump(value)); }

constexpr std::string_view kPclOrientations[] = {"Portrait", "Landscape", "Reverse Portrait", "Reverse Landscape"};
constexpr std::string_view kPclDuplexModes[] = {"Simplex", "Duplex - Long Edge Binding",
                                                "Duplex - Short Edge Binding"};
constexpr std::string_view kPclDuplexSides[] = {"Next Side", "Front Side", "Back Side"};
constexpr std::string_view kXlDuplexModes[] = {"Simplex", "Duplex"};

using Names = std::span<const std::string_view>;

std::string_view NameIn(Names names, std::int32_t code) {
  return code >= 0 && static_cast<std::size_t>(code) < names.size() ? names[static_cast<std::size_t>(code)] : "";
}

// {"code": 2, "name": "Letter"}, the name left out when it is not known.
Json Coded(std::int32_t code, std::string_view name) {
  Json value = {{"code", code}};
  if (!name.empty()) value["name"] = name;
  return value;
}

std::string_view LanguageName(int emulation) {
  switch (emulation) {
    case EMUL_PJL: return "PJL";
    case EMUL_PCL: return "PCL";
    case EMUL_HPGL: return "HP-GL/2";
    case EMUL_PCLXL: return "PCLXL";
    case EMUL_POSTSCRIPT: return "PostScript";
    default: return "unknown";
  }
}

Json PageJson(std::uint64_t number, const PageFact& page, NameTables& names) {
  const PageSettings& s = page.settings;
  Json value = {{"number", number}, {"offset", page.offset}, {"language", page.xl ? "PCLXL" : "PCL"}};
  if (s.pageSize != kFactUnset) {
    std::string name;
    if (page.xl) {
      name = NameIn(kXlMediaSizeNames, s.pageSize);
    } else if (const std::optional<std::string> known = PaperSizeName(names, s.pageSize)) {
      name = *known;
    }
    value["pageSize"] = Coded(s.pageSize, name);
  }
  if (s.orientation != kFactUnset) {
    value["orientation"] = Coded(s.orientation, NameIn(page.xl ? Names(kXlOrientationNames)
                                                                : Names(kPclOrientations), s.orientation));
  }
  if (s.paperSource != kFactUnset) {
    value["paperSource"] = Coded(s.paperSource, page.xl ? NameIn(kXlMediaSourceNames, s.paperSource) : "");
  }
  if (s.duplexMode != kFactUnset) {
    value["duplex"] = s.duplexMode != 0;
    value["duplexMode"] = Coded(s.duplexMode, NameIn(page.xl ? Names(kXlDuplexModes)
                                                              : Names(kPclDuplexModes), s.duplexMode));
  }
  if (s.duplexSide != kFactUnset) {
    value["duplexSide"] = Coded(s.duplexSide, NameIn(page.xl ? Names(kXlDuplexPageSideNames)
                                                              : Names(kPclDuplexSides), s.duplexSide));
  }
  if (s.copies != kFactUnset) value["copies"] = s.copies;
  return value;
}

Json PjlJson(const std::vector<PjlFact>& pjl) {
  Json list = Json::array();
  for (const PjlFact& fact : pjl) {
    Json item = {{"offset", fact.offset}, {"command", fact.command}};
    if (!fact.variable.empty()) item["variable"] = fact.variable;
    if (!fact.value.empty()) item["value"] = fact.value;
    list.push_back(std::move(item));
  }
  return list;
}

Json SessionsJson(const std::vector<XlSessionFact>& sessions) {
  Json list = Json::array();
  for (const XlSessionFact& session : sessions) {
    Json item = {{"offset", session.offset},
                 {"measure", Coded(session.measure, NameIn(kXlMeasureNames, session.measure))},
                 {"unitsPerMeasure", {session.unitsX, session.unitsY}}};
    Json spaces = Json::array();
    for (const std::int32_t space : session.colourSpaces) {
      spaces.push_back(Coded(space, NameIn(kXlColorSpaceNames, space)));
    }
    item["colourSpaces"] = std::move(spaces);
    Json media = Json::array();
    for (const std::int32_t size : session.mediaSizes) media.push_back(Coded(size, NameIn(kXlMediaSizeNames, size)));
    item["mediaSizes"] = std::move(media);
    list.push_back(std::move(item));
  }
  return list;
}

Json FontsJson(const FontRegistry& registry, const JobFacts& facts, std::uint64_t& dropped) {
  Json list = Json::array();
  dropped = 0;
  for (const FontRecord& font : registry.fonts) {
    if (list.size() >= kMaxListedFacts) {
      ++dropped;
      continue;
    }
    Json item = {{"language", font.xl ? "PCLXL" : "PCL"}};
    if (font.xl) {
      item["name"] = font.name;
    } else {
      item["id"] = font.id;
      item["format"] = font.format;
      item["name"] = font.name;
      // The characters downloaded for its ID; an ID defined again shows them
      // with its last definition.
      const auto characters = facts.charactersByFontId.find(font.id);
      const bool last = LaterDefinitions(registry, font) == 0;
      item["characters"] = last && characters != facts.charactersByFontId.end() ? characters->second : 0;
    }
    list.push_back(std::move(item));
  }
  return list;
}

std::uint64_t XlOperatorCount(const XlUsageCounters& usage) {
  std::uint64_t count = 0;
  for (std::size_t tag = 0; tag < usage.tagCounts.size(); ++tag) {
    if (XlFindTag(static_cast<std::uint8_t>(tag)).tagClass == XL_TAG_OPERATOR) count += usage.tagCounts[tag];
  }
  return count;
}

}  // namespace

void BeginFactsDocument(OutputSink& out) {
  out.Put("{\"schema\":" + std::to_string(kFactsSchemaVersion) + ",\"program\":\"veltrix\",\"files\":[\n");
}

void WriteFileFacts(OutputSink& out, bool first, const std::string& path, std::uint64_t size, RunState& run,
                    const JobFacts& facts, std::uint64_t exceptions) {
  std::uint64_t fontsDropped = 0;
  Json head = {{"path", path},
               {"size", size},
               {"stretches", Json::array()},
               {"pjl", PjlJson(facts.pjl)},
               {"pclxlSessions", SessionsJson(facts.sessions)},
               {"fonts", FontsJson(run.fontRegistry, facts, fontsDropped)},
               {"counts",
                {{"escapes", facts.counts.escapes},
                 {"hpglInstructions", facts.counts.hpglInstructions},
                 {"pclxlOperators", XlOperatorCount(run.xlUsage)}}},
               {"pageCount", facts.pageCount},
               {"problemCount", facts.problems.count},
               {"exceptions", exceptions}};
  for (const StretchFact& stretch : facts.stretches) {
    head["stretches"].push_back(
        {{"offset", stretch.offset}, {"length", stretch.length}, {"language", LanguageName(stretch.emulation)}});
  }
  Json dropped = Json::object();
  if (facts.stretchesDropped) dropped["stretches"] = facts.stretchesDropped;
  if (facts.pjlDropped) dropped["pjl"] = facts.pjlDropped;
  if (facts.sessionsDropped) dropped["pclxlSessions"] = facts.sessionsDropped;
  if (fontsDropped) dropped["fonts"] = fontsDropped;
  if (!dropped.empty()) head["notListed"] = std::move(dropped);

  // The object without its closing brace, then the two streamed arrays.
  std::string text = Dump(head);
  text.pop_back();
  if (!first) out.Put(",\n");
  out.Put(text);
  out.Put(",\"pages\":[");
  SpillLog::Reader pages(facts.pages);
  PageFact page;
  for (std::uint64_t number = 1; ReadPageFact(pages, page); ++number) {
    out.Put(number == 1 ? "\n" : ",\n");
    Put(out, PageJson(number, page, run.names));
  }
  out.Put("],\"problems\":[");
  SpillLog::Reader problems(facts.problems.log);
  std::uint64_t offset = 0;
  std::string line;
  for (bool firstProblem = true; ReadProblemFact(problems, offset, line); firstProblem = false) {
    out.Put(firstProblem ? "\n" : ",\n");
    Put(out, Json{{"offset", offset}, {"text", line}});
  }
  out.Put("]}");
}

void EndFactsDocument(OutputSink& out, std::uint64_t exceptions, int strictExitStatus, bool completed) {
  out.Put("\n],");
  const std::string tail =
      Dump(Json{{"completed", completed}, {"exceptions", exceptions}, {"strictExitStatus", strictExitStatus}});
  out.Put(std::string_view(tail).substr(1));  // without its opening brace
  out.Put("\n");
}

}  // namespace veltrix
