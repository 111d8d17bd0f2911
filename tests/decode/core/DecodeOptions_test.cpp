// The driver's run-flag adjustments and the font ID text parser. The request
// builder's rules are checked through the page (PageForm_test.cpp) and the
// option table (OptionTable_test.cpp).
#include <gtest/gtest.h>

#include "decode/core/DecodeOptions.h"

namespace veltrix {
namespace {

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
