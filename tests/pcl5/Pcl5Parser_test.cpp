// The PCL 5 parser over whole jobs: escape grammar, text and control bytes,
// line ends and wrapping, data skipping, problems and the error log.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace veltrix {
namespace {

using test::Decode;

// An escape header padded to its 22 columns.
std::string H(const std::string& header) {
  return header.size() >= 22 ? header : header + std::string(22 - header.size(), ' ');
}

struct ParserCase {
  const char* name;
  std::string job;
  std::string listing;
  std::string errorLog = "";
};

class ParserListing : public ::testing::TestWithParam<ParserCase> {};

TEST_P(ParserListing, MatchesExpectedLines) {
  const ParserCase& c = GetParam();
  const MemoryDecodeResult result = Decode(c.job);
  EXPECT_EQ(result.listing, c.listing) << test::FirstDifference(result.listing, c.listing);
  EXPECT_EQ(result.errorLog, c.errorLog);
}

const ParserCase kParserCases[] = {
    {"HeaderPadsTo22Columns", "\x1b\x1b" "E", "[ ESC E ]             Reset\n"},
    {"CombinedEscapeListsEachPart", "\x1b&l1e2F",
     H("[ ESC & l 1 e ] ") + "Top Margin ( 1 lines )\n" + H("[ ESC & l 2 F ] ") + "Text Length ( 2 lines )\n"},
    {"BlanksInsideAnEscapeAreSkipped", "\x1b & l 1 E", H("[ ESC & l 1 E ] ") + "Top Margin ( 1 lines )\n"},
    {"ByteThatCannotContinueIsReadAgainAsText", "\x1b&l1e\rA",
     H("[ ESC & l 1 e ] ") + "Top Margin ( 1 lines )\n" + H("[ ESC & l ] ") + "*** Invalid Escape\n<CR>\nA\n",
     H("[ ESC & l ] ") + "Invalid escape\n"},
    {"DataBytesAreSkipped", std::string("\x1b(f5W") + "ab\x1b" "cdB",
     H("[ ESC ( f 5 W ] ") + "Define User Defined Symbol Set (5 bytes) :\nB\n"},
    {"TextWrapsAfter70Columns", std::string(100, 'a'),
     std::string(70, 'a') + "\n-->  " + std::string(30, 'a') + "\n"},
    {"SecondCarriageReturnStartsTheLine", "A\r\rB", "A<CR>\n<CR>B\n"},
    {"FormFeedStandsOnItsOwnLine", "A\fB", "A\n<FF>\nB\n"},
    {"ShiftOutAndIn", "x\x0e\x0f", "x\n[ Shift In to alternate font ]\n[ Shift Out to primary font ]\n"},
    {"ControlAndHighBytesAsHex", std::string("\x00\x07\x08\x09\x0b\x1f\x80\xff", 8),
     "<0x00><0x07><BS><TAB><0x0B><0x1F><0x80><0xFF>\n"},
    {"UnknownEscapeInTable", "\x1b)5Z", H("[ ESC ) 5 Z ] ") + "*** Unknown Escape\n",
     H("[ ESC ) 5 Z ] ") + "Unknown escape\n"},
    {"GroupWithoutChildrenIsUnknown", "\x1b&g1X", H("[ ESC & g 1 X ] ") + "*** Unknown Escape\n",
     H("[ ESC & g 1 X ] ") + "Unknown escape\n"},
    {"GroupRecordWithoutMeaningIsUndocumented", "\x1b&A", H("[ ESC & A ] ") + "Undocumented escape\n",
     H("[ ESC & A ] ") + "Undocumented escape\n"},
    {"GroupRecordThatIsAnEscape", "\x1b&G", H("[ ESC & G ] ") + "*** unknown\n"},
    {"ValueNameFillsTemplate", "\x1b(3@", H("[ ESC ( 3 @ ] ") + "Select Primary Font : Select Default Font\n"},
    {"ValueWithoutNameIsInvalid", "\x1b(0@", H("[ ESC ( 0 @ ] ") + "Select Primary Font : *** Invalid value (0)\n",
     H("[ ESC ( 0 @ ] ") + "Select Primary Font : *** Invalid value (0)\n"},
    {"EscapeAtEndOfInput", "A\x1b", "A\n" + H("[ ESC ] ") + "*** Invalid Escape\n", H("[ ESC ] ") + "Invalid escape\n"},
    {"StatusQueryTakesDc1", "\x1b?\x11" "A", H("[ ESC ] ") + "*** Invalid Escape\nA\n", H("[ ESC ] ") + "Invalid escape\n"},
    {"StatusQueryLeavesOtherByte", "\x1b?A", H("[ ESC ] ") + "*** Invalid Escape\nA\n", H("[ ESC ] ") + "Invalid escape\n"},
    {"FractionShownAsReceivedAndTrimmed", "\x1b*c+1.50K", H("[ ESC * c +1.50 K ] ") + "HPGL Plot Width (Inches) : 1.5\n"},
    {"LeadingZeroFractionKept", "\x1b*c-0.05L", H("[ ESC * c -0.05 L ] ") + "HPGL Plot Height (Inches) : -0.05\n"},
    {"MinusSignStaysOnceGiven", "\x1b*c-+5G", H("[ ESC * c -5 G ] ") + "Fill ID : -5\n"},
    {"HugeValueFieldIsShownUnwrapped", "\x1b*c4294967295G", H("[ ESC * c 4294967295 G ] ") + "Fill ID : 4294967295\n"},
    {"TwoPointsEndTheValue", "\x1b*c1.2.3G",
     H("[ ESC * c 1.2 . ] ") + "*** Invalid Escape\n3G\n", H("[ ESC * c 1.2 . ] ") + "Invalid escape\n"},
    {"ParameterCharacterAfterItsOwnFails", "\x1b&&l5E", H("[ ESC & l 5 E ] ") + "*** Invalid Escape\n",
     H("[ ESC & l 5 E ] ") + "Invalid escape\n"},
    {"ParameterCharacterEndsTheValue", "\x1b&l5&E", H("[ ESC & l 5 & ] ") + "*** Invalid Escape\nE\n",
     H("[ ESC & l 5 & ] ") + "Invalid escape\n"},
    {"ExitLanguageHandsOverToPjl", "\x1b%-12345XABC", H("[ ESC % -12345 X ] ") + "Exit Language\nABC\n"},
};

INSTANTIATE_TEST_SUITE_P(Pcl5, ParserListing, ::testing::ValuesIn(kParserCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Pcl5Parser, DataCountBeyondTheEndEndsTheJob) {
  const MemoryDecodeResult result = Decode("\x1b*b2147483648WAB");
  EXPECT_EQ(result.listing, H("[ ESC * b 2147483648 W ] ") + "Transfer Raster Data\n");
}

TEST(Pcl5Parser, ExceptionsOnlyListsOnlyProblems) {
  const MemoryDecodeResult result = Decode("AB\r\n\x1b&l1E\x1b)5Z\x1b(0@C", DF_SUPPRESS);
  EXPECT_EQ(result.listing, H("[ ESC ) 5 Z ] ") + "*** Unknown Escape\n" + H("[ ESC ( 0 @ ] ") +
                                "Select Primary Font : *** Invalid value (0)\n");
  EXPECT_EQ(result.errorLog, "");
  EXPECT_EQ(result.exceptionCount, 2u);
}

TEST(Pcl5Parser, PageEjects) {
  struct Case {
    const char* job;
    std::string listing;
  } cases[] = {
      {"A\f", "A\n<FF>\n[Page Eject offset 2 ]\n"},
      {"A\x1b" "E", "A\n[ ESC E ]             Reset\n[Page Eject offset 3 ]\n"},
      {"\f\f", "<FF>\n<FF>\n"},  // nothing on the page: nothing to eject
      {"A", "A\n[Page Eject offset 1 ]\n"},  // the end of the stretch ejects a marked page
      // Front side marked: a move to the back ejects once; the same side with
      // text ejects the page and an empty one; without text, nothing.
      {"A\x1b&a2GB\x1b&a2G\x1b&a2G",
       "A\n" + H("[ ESC & a 2 G ] ") + "Duplex Side Selection : Back Side\n[Page Eject offset 6 ]\nB\n" +
           H("[ ESC & a 2 G ] ") + "Duplex Side Selection : Back Side\n[Page Eject offset 12 ]\n[Page Eject offset 12 ]\n" +
           H("[ ESC & a 2 G ] ") + "Duplex Side Selection : Back Side\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.job);
    const MemoryDecodeResult result = Decode(c.job, DF_PAGE_SUM);
    const std::string listing = result.listing.substr(0, result.listing.find("\n=========="));
    EXPECT_EQ(listing, c.listing) << test::FirstDifference(listing, c.listing);
  }
}

}  // namespace
}  // namespace veltrix
