// The PCL XL usage summary at the end of a file's listing.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "decode/RunState.h"
#include "decode/core/OutputSink.h"
#include "pclxl/XlDecoder.h"

namespace veltrix {
namespace {

std::string Heading(std::string_view title) {
  return std::string(title) + "\n=================================================================\n\n";
}

std::string Summary(const XlUsageCounters& usage) {
  std::string text;
  OutputSink sink(&text);
  RunState run;
  run.ctx.listing = &sink;
  run.xlUsage = usage;
  XlWriteUsageSummary(XlViewOf(run));
  sink.Flush();
  return text;
}

// Without PCL XL (here: after a reset) there is no summary, not even a heading.
TEST(XlUsageSummary, NothingAfterReset) {
  XlUsageCounters usage;
  usage.tagCounts[0x41] = usage.attributeCounts[255] = 1;
  usage.tagTotal = usage.attributeTotal = 1;
  ResetXlUsage(usage);
  EXPECT_EQ(Summary(usage), "");
  EXPECT_EQ(usage.tagCounts[0x41] + usage.attributeCounts[255], 0u);
}

TEST(XlUsageSummary, OnlyUnusedTagsOrOnlyWideIdentifiers) {
  XlUsageCounters unused, wide;
  unused.tagCounts[0x01] = 2;
  unused.tagTotal = 2;
  wide.attributeTotal = 1;  // identifiers of 256 or more count in the total only
  const std::string noOperators = Heading("XL use of operator tags") + "    No occurances\n\n";
  EXPECT_EQ(Summary(unused), "\n" + Heading("XL Attribute Summary") + "\n" + Heading("XL use of unused tags") +
                                 "    Tag    Unknown 0x01                                   2 times\n\n" +
                                 noOperators);
  EXPECT_EQ(Summary(wide), "\n" + Heading("XL Attribute Summary") + "\n" + noOperators);
}

TEST(XlUsageSummary, EverySection) {
  XlUsageCounters usage;
  usage.attributeCounts[10] = 1;  // not in the attribute table
  usage.attributeCounts[40] = 3;
  usage.attributeCounts[146] = 12345;
  usage.attributeTotal = 12349;
  for (const int tag : {0x20, 0xF8}) usage.tagCounts[tag] = 7;  // whitespace, attribute identifier: no section
  for (const int tag : {0xF0, 0x28, 0xC6, 0xFA, 0x41}) usage.tagCounts[tag] = 1;
  usage.tagCounts[0xC0] = 4;
  usage.tagCounts[0x45] = 2;
  usage.tagTotal = 25;
  EXPECT_EQ(Summary(usage), "\n" + Heading("XL Attribute Summary") +
                                "    0x0A   Unknown Attribute                              1 times\n"
                                "    0x28   Orientation                                    3 times\n"
                                "    0x92   Vendor Data Length                          12345 times\n\n" +
                                Heading("XL use of reserved tags") +
                                "    Tag    Unknown 0xF0                                   1 times\n\n" +
                                Heading("XL use of stream binding tags") +
                                "    Tag    StreamBind Binary HiLo                         1 times\n\n" +
                                Heading("XL use of data type tags") +
                                "    Tag    UByteData                                      4 times\n"
                                "    Tag    Unknown 0xC6                                   1 times\n\n" +
                                Heading("XL use of embedded data tags") +
                                "    Tag    EmbeddedData                                   1 times\n\n" +
                                Heading("XL use of operator tags") +
                                "    Tag    BeginSession                                   1 times\n"
                                "    Tag    Unknown 0x45                                   2 times\n\n");
}

}  // namespace
}  // namespace veltrix
