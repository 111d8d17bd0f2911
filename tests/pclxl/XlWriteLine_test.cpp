// The PCL XL line writer: the 16-column prefix, the 25-column name, and long
// values on continuation lines that keep hex tokens whole.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decode/DecodeContext.h"
#include "decode/OutputSink.h"
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

const std::string kBlanks(16, ' ');

TEST(XlWriteLine, Layout) {
  struct Case {
    const char* name;
    XlListingLine line;
    std::string text;
  };
  const std::string v39(39, 'v'), v40(40, 'v'), a100(100, 'a');
  const std::vector<Case> cases = {
      {"label, name and a short value", {"UNUSED", "Unknown tag value", "Tag value 1 (0x01)"},
       "[XL UNUSED    ] Unknown tag value        Tag value 1 (0x01)\n"},
      {"no label: sixteen blanks", {"", "PageCopies", "1"}, kBlanks + "PageCopies               1\n"},
      {"no value: the name unpadded", {"OPERATOR", "BeginPage", ""}, "[XL OPERATOR  ] BeginPage\n"},
      {"everything empty but the label", {"WHITESPACE", "", ""}, "[XL WHITESPACE] \n"},
      {"a name longer than its column", {"*ERROR*", "Error processing tag 67 (0x43) BeginPage : ", "X"},
       "[XL *ERROR*   ] Error processing tag 67 (0x43) BeginPage : X\n"},
      {"39 characters stay on the line", {"", "CommentData", v39},
       kBlanks + "CommentData              " + v39 + "\n"},
      {"40 characters go to a continuation line", {"", "CommentData", v40},
       kBlanks + "CommentData\n" + kBlanks + v40 + "\n"},
      {"pieces of 64 characters", {"", "CommentData", a100},
       kBlanks + "CommentData\n" + kBlanks + std::string(64, 'a') + "\n" + kBlanks + std::string(36, 'a') + "\n"},
      {"a hex token is not split", {"", "TextData", std::string(60, 'a') + "<0x0041>bc"},
       kBlanks + "TextData\n" + kBlanks + std::string(60, 'a') + "\n" + kBlanks + "<0x0041>bc\n"},
      {"a token that ends inside the piece stays", {"", "TextData", std::string(56, 'a') + "<0x0041>bc"},
       kBlanks + "TextData\n" + kBlanks + std::string(56, 'a') + "<0x0041>\n" + kBlanks + "bc\n"},
      {"a token at the start of a piece is cut as it falls", {"", "TextData", "<0" + std::string(68, 'x')},
       kBlanks + "TextData\n" + kBlanks + "<0" + std::string(62, 'x') + "\n" + kBlanks + std::string(6, 'x') + "\n"},
      {"a '<' not followed by '0' is plain text", {"", "TextData", std::string(62, 'a') + "<A" + "bc"},
       kBlanks + "TextData\n" + kBlanks + std::string(62, 'a') + "<A\n" + kBlanks + "bc\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Write(c.line), c.text);
  }
}

TEST(XlWriteLine, NothingWithoutListingOrUnderSuppress) {
  EXPECT_EQ(Write({"OPERATOR", "BeginPage", ""}, DF_SUPPRESS), "");
  DecodeContext ctx;
  XlWriteLine(ctx, {"OPERATOR", "BeginPage", ""});  // no listing: must not crash
}

}  // namespace
}  // namespace veltrix
