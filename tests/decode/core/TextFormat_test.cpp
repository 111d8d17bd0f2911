// The number writers against the printf conversions they stand in for, at
// the edges of each range, and the sink's in-place writing across a flush.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "decode/core/OutputSink.h"
#include "decode/core/TextFormat.h"

namespace veltrix {
namespace {

template <typename Format>
std::string Written(Format format) {
  char text[kFixedRoom + 8];
  std::memset(text, '#', sizeof text);
  char* const end = format(text);
  EXPECT_EQ(text[end - text], '#') << "wrote past its end";
  return std::string(text, end);
}

std::string Printed(const char* format, auto... args) {
  char text[128];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

TEST(TextFormat, IntegersAsPrintfWritesThem) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min(), kMax = std::numeric_limits<std::int64_t>::max();
  for (const std::int64_t v : {std::int64_t{0}, std::int64_t{-1}, std::int64_t{9}, std::int64_t{10}, std::int64_t{-10},
                               std::int64_t{2147483647}, std::int64_t{-2147483648LL}, kMin, kMin + 1, kMax}) {
    EXPECT_EQ(Written([&](char* at) { return FormatSigned(at, v); }), Printed("%lld", static_cast<long long>(v)));
    const auto u = static_cast<std::uint64_t>(v);
    EXPECT_EQ(Written([&](char* at) { return FormatUnsigned(at, u); }), Printed("%llu", static_cast<unsigned long long>(u)));
    for (const int width : {0, 1, 2, 4, 8, 16}) {
      EXPECT_EQ(Written([&](char* at) { return FormatHex(at, u, width); }),
                Printed("%0*llX", width, static_cast<unsigned long long>(u)));
      EXPECT_EQ(Written([&](char* at) { return FormatHex(at, u, width, true); }),
                Printed("%0*llx", width, static_cast<unsigned long long>(u)));
    }
  }
  for (const std::uint64_t v : {0ULL, 7ULL, 123ULL, 999999999ULL, 18446744073709551615ULL}) {
    for (const int width : {0, 1, 3, 9, 21}) {
      EXPECT_EQ(Written([&](char* at) { return FormatZeroPadded(at, v, width); }),
                Printed("%0*llu", width, static_cast<unsigned long long>(v)));
    }
  }
}

TEST(TextFormat, FloatsAsPrintfWritesThemWithSixDecimals) {
  constexpr float kInf = std::numeric_limits<float>::infinity(), kNan = std::numeric_limits<float>::quiet_NaN();
  const float cases[] = {0.0f, -0.0f, 1.0f, -1.5f, 0.1f, 1e-7f, 5e-7f, -4.9999997e-7f, 0.3333333f, 123456.789f,
                         16777217.0f, 1e20f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                         std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min(),
                         kInf, -kInf, kNan, -kNan};
  for (const float f : cases) {
    EXPECT_EQ(Written([&](char* at) { return FormatFixed6(at, f); }), Printed("%f", static_cast<double>(f))) << f;
  }
  // Every float whose sixth decimal could round either way, near the ties.
  for (std::uint32_t bits = 0x3F800000u - 5000; bits < 0x3F800000u + 5000; ++bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    ASSERT_EQ(Written([&](char* at) { return FormatFixed6(at, f); }), Printed("%f", static_cast<double>(f)));
  }
}

// Numbers written in place land in order, also when the buffer fills and is
// written out between them.
TEST(TextFormat, SinkWritesNumbersAcrossFlushes) {
  std::string memory, expected;
  {
    OutputSink sink(&memory);
    for (int i = -3000; i < 3000; ++i) {
      sink.PutDecimal(i * 7919LL);
      sink.Put(' ');
      sink.PutHex(static_cast<std::uint32_t>(i), 4);
      sink.PutPadded("|", 3);
      sink.PutFixed6(static_cast<float>(i) / 8);
      sink.PutUnsigned(static_cast<std::uint64_t>(i));
      sink.Put('\n');
      expected += Printed("%lld %04X%-3s%f%llu\n", i * 7919LL, static_cast<unsigned>(i), "|",
                          static_cast<double>(static_cast<float>(i) / 8),
                          static_cast<unsigned long long>(static_cast<std::uint64_t>(i)));
    }
    sink.PutPadded("", 10000);  // padding wider than the in-place room
    expected += std::string(10000, ' ');
  }
  EXPECT_EQ(memory, expected);
}

}  // namespace
}  // namespace veltrix
