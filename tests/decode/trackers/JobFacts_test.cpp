// The facts collector: PJL lines into commands, the PCL 5 page settings a
// page is ejected with (ESC E clears them), PCL XL pages, stretches, and the
// bounds that keep a hostile job's facts small.
#include "decode/trackers/JobFacts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/core/DecodeOptions.h"

namespace veltrix {
namespace {

TEST(JobFacts, PjlLinesBecomeCommandVariableAndValue) {
  struct Case {
    std::string line;
    bool kept;
    std::string command, variable, value;
  };
  const Case cases[] = {
      {"@PJL SET COPIES=2", true, "SET", "COPIES", "2"},
      {"@PJL set duplex = on ", true, "SET", "DUPLEX", "on"},
      {"@PJL JOB NAME=\"my job\"", true, "JOB", "NAME", "my job"},
      {"@PJL ENTER LANGUAGE = PCLXL", true, "ENTER", "LANGUAGE", "PCLXL"},
      {"@PJL COMMENT made by a driver", true, "COMMENT", "", "made by a driver"},
      {"@PJL EOJ", true, "EOJ", "", ""},
      {"@PJL", false},      // a line that only says PJL
      {"@PJLX SET A=1", false},
      {"hello", false},
  };
  for (const Case& c : cases) {
    JobFacts facts;
    NotePjlLine(facts, 7, c.line);
    ASSERT_EQ(facts.pjl.size(), c.kept ? 1u : 0u) << c.line;
    if (!c.kept) continue;
    EXPECT_EQ(facts.pjl[0].offset, 7u);
    EXPECT_EQ(facts.pjl[0].command, c.command) << c.line;
    EXPECT_EQ(facts.pjl[0].variable, c.variable) << c.line;
    EXPECT_EQ(facts.pjl[0].value, c.value) << c.line;
  }
}

std::vector<PageFact> Pages(const JobFacts& facts) {
  std::vector<PageFact> pages;
  SpillLog::Reader in(facts.pages);
  for (PageFact page; ReadPageFact(in, page);) pages.push_back(page);
  return pages;
}

TEST(JobFacts, PagesCarryTheSettingsInForceWhenEjected) {
  JobFacts facts;
  StartJobFacts(facts);
  NotePcl5Escape(facts, '&', 'l', 'A', 26);  // A4
  NotePcl5Escape(facts, '&', 'l', 'o', 1);   // lower case: a combined escape
  NotePcl5Escape(facts, '&', 'l', 'S', 1);
  NotePcl5Escape(facts, '&', 'l', 'X', 3);
  NotePcl5Escape(facts, '&', 'l', 'H', 0);   // eject only: selects no source
  NotePcl5Escape(facts, '&', 'a', 'G', 2);
  NotePageEject(facts, 100);
  NotePcl5Escape(facts, 0, 0, 'E', 0);       // reset: back to unset
  NotePcl5Escape(facts, '&', 'l', 'H', 4);
  NotePageEject(facts, 200);
  // A PCL XL page: its BeginPage settings and its EndPage copies.
  NoteXlSession(facts, 250, 0, 600, 600);
  NoteXlPage(facts, {.pageSize = 2, .orientation = 1, .duplexMode = 1, .duplexSide = 0});
  NoteXlEndPage(facts, 300, 2, false);
  NotePageEject(facts, 300);
  NoteXlEndPage(facts, 400, kFactUnset, true);  // no eject listed: counted here
  NoteXlEndPage(facts, 500, 0, false);          // no copies: no page
  NotePageEject(facts, 600);                    // then a PCL page again

  const std::vector<PageFact> pages = Pages(facts);
  ASSERT_EQ(pages.size(), 5u);
  EXPECT_EQ(facts.pageCount, 5u);
  const PageSettings first{26, 1, kFactUnset, 1, 2, 3};
  const PageSettings reset{kFactUnset, kFactUnset, 4, kFactUnset, kFactUnset, kFactUnset};
  const PageSettings xl{2, 1, kFactUnset, 1, 0, 2};
  const PageSettings xlNoCopies{2, 1, kFactUnset, 1, 0, kFactUnset};
  const struct {
    std::uint64_t offset;
    bool xl;
    PageSettings settings;
  } want[] = {{100, false, first}, {200, false, reset}, {300, true, xl}, {400, true, xlNoCopies}, {600, false, reset}};
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const PageSettings& got = pages[i].settings;
    const PageSettings& w = want[i].settings;
    EXPECT_EQ(pages[i].offset, want[i].offset) << i;
    EXPECT_EQ(pages[i].xl, want[i].xl) << i;
    EXPECT_EQ(std::vector({got.pageSize, got.orientation, got.paperSource, got.duplexMode, got.duplexSide, got.copies}),
              std::vector({w.pageSize, w.orientation, w.paperSource, w.duplexMode, w.duplexSide, w.copies}))
        << "page " << i + 1;
  }
  EXPECT_EQ(facts.counts.escapes, 8u);
  ASSERT_EQ(facts.sessions.size(), 1u);
  EXPECT_EQ(facts.sessions[0].mediaSizes, std::vector<std::int32_t>{2});
}

TEST(JobFacts, StretchesMergeAndDropEmptyOnes) {
  JobFacts facts;
  NoteStretch(facts, 0, EMUL_PCL);
  NoteStretch(facts, 9, EMUL_PJL);
  NoteStretch(facts, 50, EMUL_PCL);
  NoteStretch(facts, 50, EMUL_PJL);    // PCL read nothing: gone, and PJL goes on
  NoteStretch(facts, 80, EMUL_PCLXL);
  EndStretches(facts, 120);
  ASSERT_EQ(facts.stretches.size(), 3u);
  EXPECT_EQ(facts.stretches[1].offset, 9u);
  EXPECT_EQ(facts.stretches[1].length, 71u);
  EXPECT_EQ(facts.stretches[2].emulation, EMUL_PCLXL);
  EXPECT_EQ(facts.stretches[2].length, 40u);
}

TEST(JobFacts, ListsStopAtTheirBoundAndCountTheRest) {
  JobFacts facts;
  for (std::size_t i = 0; i < kMaxListedFacts + 5; ++i) {
    NotePjlLine(facts, i, "@PJL SET A=" + std::string(1000, 'x'));
    NoteStretch(facts, i, i % 2 ? EMUL_PJL : EMUL_PCL);
    NoteXlSession(facts, i, 0, 1, 1);
  }
  EXPECT_EQ(facts.pjl.size(), kMaxListedFacts);
  EXPECT_EQ(facts.pjlDropped, 5u);
  EXPECT_EQ(facts.pjl[0].value.size(), kMaxFactText);
  EXPECT_EQ(facts.stretches.size(), kMaxListedFacts);
  EXPECT_EQ(facts.sessionsDropped, 5u);
}

}  // namespace
}  // namespace veltrix
