// The buffered reader over files, pipes and memory: offsets across refills,
// stepping back, peeking, and skipping or taking past the end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <thread>

#include "TestSupport.h"
#include "decode/core/ByteReader.h"

namespace veltrix {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Reads everything with a peek across the end of every buffer, a step back
// over every buffer boundary and a skip now and then, and checks each byte
// against its offset.
void ExpectConsistentReads(ByteReader& in, const std::string& bytes) {
  constexpr std::size_t kBuffer = ByteReader::kBufferSize;
  std::uint64_t expectedOffset = 0;
  for (;;) {
    const std::uint64_t at = in.Offset();
    ASSERT_EQ(at, expectedOffset);
    const int b = in.Next();
    if (b < 0) break;
    ASSERT_EQ(b, static_cast<std::uint8_t>(bytes[at])) << "offset " << at;
    if (at % kBuffer == 0 && at > 0) {  // step back across the boundary just crossed
      ASSERT_TRUE(in.Unread(1));
      ASSERT_EQ(in.Next(), b);
    }
    if (at % kBuffer == kBuffer - 10) {  // the peek straddles the end of the buffer and consumes nothing
      const auto head = in.Peek(256);
      ASSERT_EQ(std::string(head.begin(), head.end()), bytes.substr(at + 1, 256)) << "offset " << at;
    }
    expectedOffset = at + 1;
    if (at % 100000 == 99999) {
      in.Skip(5000);
      expectedOffset += 5000;
    }
  }
  EXPECT_EQ(expectedOffset, bytes.size());
}

TEST(ByteReader, FileAndPipeAndMemoryReadAlike) {
  // Longer than three buffers, each byte telling its offset.
  std::string bytes(3 * ByteReader::kBufferSize + 12345, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  ByteReader memory(Bytes(bytes));
  ExpectConsistentReads(memory, bytes);

  const auto dir = test::MakeTempDir("reader");
  test::WriteFile(dir / "job", bytes);
  const int file = open((dir / "job").c_str(), O_RDONLY);
  ASSERT_GE(file, 0);
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  std::thread writer([&] {
    for (std::size_t at = 0; at < bytes.size(); at += 4000) {  // small writes: short reads on the other end
      const std::size_t n = std::min<std::size_t>(4000, bytes.size() - at);
      ASSERT_EQ(write(pipeEnds[1], bytes.data() + at, n), static_cast<ssize_t>(n));
    }
    close(pipeEnds[1]);
  });
  for (const int fd : {file, pipeEnds[0]}) {
    ByteReader in(fd);
    ExpectConsistentReads(in, bytes);
    while (in.Next() >= 0) {  // after a failure, drain the pipe so that the writer ends
    }
  }
  writer.join();
  close(pipeEnds[0]);
  close(file);
  std::filesystem::remove_all(dir);
}

TEST(ByteReader, SkipAndTakePastTheEnd) {
  const std::string bytes = "0123456789";
  ByteReader skip(Bytes(bytes));
  EXPECT_EQ(skip.Next(), '0');
  skip.Skip(2);
  EXPECT_EQ(skip.Next(), '3');
  skip.Skip(1000);  // the offset moves on, and the input ends
  EXPECT_EQ(skip.Offset(), 1004u);
  EXPECT_EQ(skip.Next(), -1);

  ByteReader take(Bytes(bytes));
  std::vector<std::uint8_t> taken;
  EXPECT_TRUE(take.Take(4, taken));
  EXPECT_FALSE(take.Take(std::uint64_t{1} << 40, taken));  // a forged count: short, not an allocation of 1 TB
  EXPECT_EQ(std::string(taken.begin(), taken.end()), bytes);
}

}  // namespace
}  // namespace veltrix
