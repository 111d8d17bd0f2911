// The request builder, the driver's adjustments and the font ID text parser.
#include <gtest/gtest.h>

#include "decode/core/DecodeOptions.h"

namespace veltrix {
namespace {

// Side files without names are switched off in the settings; contiguous
// raster needs raster rows; the first font ID counts only when assigning.
TEST(RequestBuilder, BuildsTheRunsFlags) {
  DecodeSettings settings;
  DecodeRequest request;
  EXPECT_FALSE(BuildDecodeRequest(settings, request));  // an empty source starts no run
  settings.SourceFile = "job.pcl";
  settings.ExtractWidths = 1;
  settings.StripFonts = 1;
  settings.StripFontFile = "job.stp";
  settings.ShowRasContiguous = 1;
  settings.FirstDFID = 77;
  ASSERT_TRUE(BuildDecodeRequest(settings, request));
  EXPECT_EQ(settings.ExtractWidths, 0u);
  EXPECT_FALSE(request.flags & DF_EXTRACT_WIDTHS);
  EXPECT_FALSE(request.widths.has_value());
  EXPECT_TRUE(request.flags & DF_STRIP_FONTS);
  EXPECT_EQ(request.stripped, "job.stp");
  const std::uint32_t defaults =
      DF_FONT_SUM | DF_MACRO_SUM | DF_PAGE_SUM | DF_ESC_SUM | DF_PALETTE_SUM | DF_FONT_DETAIL;
  EXPECT_EQ(request.flags & defaults, defaults);
  EXPECT_FALSE(request.flags & (DF_2BYTE_SUM | DF_RAS_CONTIGUOUS));
  EXPECT_EQ(request.firstFontId, -1);
  settings.ShowRasGraph = 1;
  settings.AssignFontIds = 1;
  BuildDecodeRequest(settings, request);
  EXPECT_TRUE(request.flags & DF_RAS_CONTIGUOUS);
  EXPECT_EQ(request.firstFontId, 77);
}

TEST(RunFlags, Adjustments) {
  const std::uint32_t detail = DF_CHAR_DESC | DF_RAS_FONTS | DF_RAS_GRAPH | DF_FONT_DETAIL;
  EXPECT_EQ(AdjustRunFlags(detail | DF_SUPPRESS, 4, false), DF_SUPPRESS);
  EXPECT_EQ(AdjustRunFlags(detail, 0, false), DF_SUPPRESS);
  EXPECT_EQ(AdjustRunFlags(detail, 4, false), detail | DF_ERROR_LOG);
  EXPECT_EQ(AdjustRunFlags(DF_KEEP_SEPARATE, 4, true), DF_ERROR_LOG);
  EXPECT_EQ(AdjustRunFlags(DF_KEEP_FONTS | DF_KEEP_SEPARATE, 4, false), DF_KEEP_FONTS | DF_ERROR_LOG);
  EXPECT_EQ(AdjustRunFlags(DF_KEEP_FONTS | DF_KEEP_SEPARATE, 4, true), DF_KEEP_FONTS | DF_KEEP_SEPARATE | DF_ERROR_LOG);
}

TEST(FontIdText, ValidAndInvalidTexts) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {" --12 ", 12},         {"12", 12},         {"-5", -5},            {"+-+7\t", -7},       {"12a", std::nullopt},
      {"", std::nullopt},     {"-", std::nullopt}, {"1 2", std::nullopt}, {"4294967297", 1},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(ParseFontIdText(text), want) << '"' << text << '"';
}

}  // namespace
}  // namespace veltrix
