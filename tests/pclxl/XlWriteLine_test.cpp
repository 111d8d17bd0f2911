// The PCL XL line writer: long values on continuation lines that keep hex
// tokens whole. The prefix and the name column of short lines are checked in
// every listing of XlReader_test.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decode/core/DecodeContext.h"
#include "decode/core/OutputSink.h"
#include "pclxl/XlWriteLine.h"

namespace veltrix {
namespace {

std::string Write(const XlListingLine& line, std::uint32_t flags = 0) {
  std::string text;
  OutputSink sink(&text);
  DecodeContext ctx;
  ctx.flags = flags;
  ctx.listing = &sink;
  XlWriteLine(ctx, line);
  sink.Flush();
  return text;
}

// Lines under the tag line: sixteen blanks and the text.
std::string Under(const std::string& text) { return std::string(16, ' ') + text + "\n"; }

TEST(XlWriteLine, Layout) {
  struct Case {
    const char* name;
    XlListingLine line;
    std::string text;
  };
  const std::string a(64, 'a');
  const std::vector<Case> cases = {
      {"40 characters go to a continuation line", {"", "Data", a.substr(24)}, Under("Data") + Under(a.substr(24))},
      {"pieces of 64 characters", {"", "Data", a + a.substr(28)}, Under("Data") + Under(a) + Under(a.substr(28))},
      {"a hex token is not split", {"", "Data", a.substr(4) + "<0x0041>bc"},
       Under("Data") + Under(a.substr(4)) + Under("<0x0041>bc")},
      {"a token that ends inside the piece stays", {"", "Data", a.substr(8) + "<0x0041>bc"},
       Under("Data") + Under(a.substr(8) + "<0x0041>") + Under("bc")},
      {"a token at the start of a piece is cut as it falls", {"", "Data", "<0" + a + "xxxx"},
       Under("Data") + Under("<0" + a.substr(2)) + Under("aaxxxx")},
      {"a '<' not followed by '0' is plain text", {"", "Data", a.substr(2) + "<Abc"},
       Under("Data") + Under(a.substr(2) + "<A") + Under("bc")},
  };
  for (const Case& c : cases) EXPECT_EQ(Write(c.line), c.text) << c.name;
}

TEST(XlWriteLine, NothingWithoutListingOrUnderSuppress) {
  EXPECT_EQ(Write({"OPERATOR", "BeginPage", ""}, DF_SUPPRESS), "");
  DecodeContext ctx;
  XlWriteLine(ctx, {"OPERATOR", "BeginPage", ""});  // no listing: must not crash
}

}  // namespace
}  // namespace veltrix
