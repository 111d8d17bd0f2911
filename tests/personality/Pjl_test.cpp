// PJL lines, the language switch and the UEL scanner, through whole jobs.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "personality/LineReader.h"

namespace veltrix {
namespace {

using test::Decode;

const std::string kUel = "\x1b%-12345X";

struct PjlCase {
  const char* name;
  std::string job;
  std::string listing;
  std::uint32_t flags = test::kNoSummaries;
};

class PjlListing : public ::testing::TestWithParam<PjlCase> {};

TEST_P(PjlListing, MatchesExpectedLines) {
  const PjlCase& c = GetParam();
  const MemoryDecodeResult result = Decode(c.job, c.flags);
  EXPECT_EQ(result.listing, c.listing) << test::FirstDifference(result.listing, c.listing);
}

const PjlCase kPjlCases[] = {
    {"PostscriptIsSkippedToTheNextUel",
     "@PJL ENTER LANGUAGE=POSTSCRIPT\r\n%!PS\nshowpage\n" + kUel + "@PJL EOJ\r\n",
     "@PJL ENTER LANGUAGE=POSTSCRIPT\nSwitched to Postscript emulation...scanning for UEL.\n@PJL EOJ\n"},
    {"UnknownLanguageStaysInPjl", "@PJL ENTER LANGUAGE=FOO\r\n@PJL EOJ\r\n",
     "@PJL ENTER LANGUAGE=FOO\n@PJL EOJ\n"},
    {"PclIsNotTheStartOfPclxl", "@PJL ENTER LANGUAGE=PCLX\r\nA", "@PJL ENTER LANGUAGE=PCLX\nA\n"},
    {"LowerCasePjlIsOnlyListed", "@PJL X\r\n@pjl enter language=pcl\r\nABC",
     "@PJL X\n@pjl enter language=pcl\nABC\n"},
    {"EnterWithoutEqualsIsOnlyListed", "@PJL ENTER LANGUAGE PCL\r\nABC", "@PJL ENTER LANGUAGE PCL\nABC\n"},
    {"FlashsimmLanguageSwitches", "@PJL FLASHSIMM LANGUAGE=PCL\r\nA", "@PJL FLASHSIMM LANGUAGE=PCL\nA\n"},
    {"KeywordGluedToALetterIsNoKeyword", "@PJL JOB\r\n@PJLX ENTER LANGUAGE=PCL\r\nA",
     "@PJL JOB\n@PJLX ENTER LANGUAGE=PCL\nA\n"},
    {"ExceptionsOnlyListsNoPjl", "@PJL JOB\r\n@PJL ENTER LANGUAGE=PCL\r\n\x1b)5Z",
     "[ ESC ) 5 Z ]         *** Unknown Escape\n", DF_SUPPRESS},
    {"UelAfterLoneEscapeIsMissed", "@PJL ENTER LANGUAGE=POSTSCRIPT\r\n\x1b" + kUel + "@PJL A\r\n" + kUel + "@PJL B\r\n",
     "@PJL ENTER LANGUAGE=POSTSCRIPT\nSwitched to Postscript emulation...scanning for UEL.\n@PJL B\n"},
    // The start test passes blanks and NULs; the line is text and ends at its NUL.
    {"PjlStartTestSkipsBlanksAndNuls", std::string(" \t\0@PJL\tJOB\r\n", 13), " \t\n"},
    {"LineEndsAtNul", std::string("@PJL SET A\0B=1\r\n@PJL EOJ\r\n", 26), "@PJL SET A\n@PJL EOJ\n"},
};

INSTANTIATE_TEST_SUITE_P(Pjl, PjlListing, ::testing::ValuesIn(kPjlCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PjlStartTest, LineFeedBeforePjlMeansPcl) {
  // Read by the PCL 5 decoder: the line feed and the text are listed as text.
  EXPECT_EQ(Decode("\n@PJL JOB\r\n").listing, "<LF>\n@PJL JOB<CR><LF>\n");
}

TEST(PjlLineReader, CutsLongLinesAndSwallowsLineEnds) {
  const std::string text = std::string(2000, 'x') + "\r\n\r\n\nNEXT";
  ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  std::string line;
  bool escape = false;
  ASSERT_TRUE(ReadPjlLine(in, line, kPjlLineSize, escape));
  EXPECT_EQ(line, std::string(1023, 'x'));
  ASSERT_TRUE(ReadPjlLine(in, line, kPjlLineSize, escape));
  EXPECT_EQ(line, "NEXT");
  EXPECT_FALSE(ReadPjlLine(in, line, kPjlLineSize, escape));
  EXPECT_FALSE(escape);
}

TEST(PjlLineReader, LineStartingWithEscapeIsNoLine) {
  for (const std::string& text : {std::string("\x1b" "E"), std::string("\n\x1b" "E")}) {
    ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    std::string line;
    bool escape = false;
    EXPECT_FALSE(ReadPjlLine(in, line, kPjlLineSize, escape));
    EXPECT_TRUE(escape);
    EXPECT_EQ(in.Next(), 0x1b);  // the ESC is left for the PCL decoder
  }
}

}  // namespace
}  // namespace veltrix
