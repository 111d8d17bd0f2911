// The PCL XL usage summary at the end of a file's listing.
#include <string>

#include <gtest/gtest.h>

#include "decode/OutputSink.h"
#include "decode/RunState.h"
#include "pclxl/XlDecoder.h"

namespace veltrix {
namespace {

const std::string kRule = "=================================================================\n\n";

std::string Summary(const XlUsageCounters& usage) {
  std::string text;
  OutputSink sink(&text);
  RunState run;
  run.ctx.listing = &sink;
  run.xlUsage = usage;
  XlWriteUsageSummary(run);
  sink.Flush();
  return text;
}

TEST(XlUsageSummary, NothingWithoutPclXl) {
  EXPECT_EQ(Summary(XlUsageCounters{}), "");
}

TEST(XlUsageSummary, OnlyUnusedTags) {
  XlUsageCounters usage;
  usage.tagCounts[0x01] = 2;
  usage.tagTotal = 2;
  EXPECT_EQ(Summary(usage),
            "\nXL Attribute Summary\n" + kRule +
            "\n"
            "XL use of unused tags\n" + kRule +
            "    Tag    Unknown 0x01                                   2 times\n"
            "\n"
            "XL use of operator tags\n" + kRule +
            "    No occurances\n\n");
}

TEST(XlUsageSummary, WideIdentifiersCountInTheTotalOnly) {
  XlUsageCounters usage;
  usage.attributeTotal = 1;
  EXPECT_EQ(Summary(usage),
            "\nXL Attribute Summary\n" + kRule + "\n" +
            "XL use of operator tags\n" + kRule + "    No occurances\n\n");
}

TEST(XlUsageSummary, EverySection) {
  XlUsageCounters usage;
  usage.attributeCounts[10] = 1;      // not in the attribute table
  usage.attributeCounts[40] = 3;
  usage.attributeCounts[146] = 12345;
  usage.attributeTotal = 12349;
  usage.tagCounts[0x20] = 7;          // whitespace: no section
  usage.tagCounts[0xF8] = 9;          // attribute identifier: no section
  usage.tagCounts[0xF0] = 1;
  usage.tagCounts[0x28] = 1;
  usage.tagCounts[0xC0] = 4;
  usage.tagCounts[0xC6] = 1;
  usage.tagCounts[0xFA] = 1;
  usage.tagCounts[0x41] = 1;
  usage.tagCounts[0x45] = 2;
  usage.tagTotal = 27;
  EXPECT_EQ(Summary(usage),
            "\nXL Attribute Summary\n" + kRule +
            "    0x0A   Unknown Attribute                              1 times\n"
            "    0x28   Orientation                                    3 times\n"
            "    0x92   Vendor Data Length                          12345 times\n"
            "\n"
            "XL use of reserved tags\n" + kRule +
            "    Tag    Unknown 0xF0                                   1 times\n"
            "\n"
            "XL use of stream binding tags\n" + kRule +
            "    Tag    StreamBind Binary HiLo                         1 times\n"
            "\n"
            "XL use of data type tags\n" + kRule +
            "    Tag    UByteData                                      4 times\n"
            "    Tag    Unknown 0xC6                                   1 times\n"
            "\n"
            "XL use of embedded data tags\n" + kRule +
            "    Tag    EmbeddedData                                   1 times\n"
            "\n"
            "XL use of operator tags\n" + kRule +
            "    Tag    BeginSession                                   1 times\n"
            "    Tag    Unknown 0x45                                   2 times\n"
            "\n");
}

TEST(XlUsageSummary, ResetClearsEveryCounter) {
  XlUsageCounters usage;
  usage.tagCounts[0x41] = 1;
  usage.tagTotal = 1;
  usage.attributeCounts[255] = 1;
  usage.attributeTotal = 1;
  ResetXlUsage(usage);
  EXPECT_EQ(Summary(usage), "");
  EXPECT_EQ(usage.tagCounts[0x41], 0u);
  EXPECT_EQ(usage.attributeCounts[255], 0u);
}

}  // namespace
}  // namespace veltrix
