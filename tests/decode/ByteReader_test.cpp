// The buffered reader over files, pipes and memory: offsets across refills,
// stepping back, skipping past the end, and peeking.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <thread>

#include "TestSupport.h"
#include "decode/ByteReader.h"

namespace veltrix {
namespace {

// A job longer than two buffers, each byte telling its offset.
std::string PatternBytes(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return bytes;
}

// Reads everything with a step back at every buffer boundary and a skip now
// and then, and checks each byte against its offset.
void ExpectConsistentReads(ByteReader& in, const std::string& bytes) {
  std::uint64_t expectedOffset = 0;
  for (;;) {
    const std::uint64_t at = in.Offset();
    ASSERT_EQ(at, expectedOffset);
    const int b = in.Next();
    if (b < 0) break;
    ASSERT_EQ(b, static_cast<std::uint8_t>(bytes[at])) << "offset " << at;
    if (at % ByteReader::kBufferSize == 0 && at > 0) {  // step back across the boundary just crossed
      ASSERT_TRUE(in.Unread(1));
      ASSERT_EQ(in.Next(), b);
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
  const std::string bytes = PatternBytes(3 * ByteReader::kBufferSize + 12345);
  const auto dir = test::MakeTempDir("reader");
  test::WriteFile(dir / "job", bytes);

  const int fd = open((dir / "job").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  {
    ByteReader file(fd);
    ExpectConsistentReads(file, bytes);
  }
  close(fd);

  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  std::thread writer([&] {
    for (std::size_t at = 0; at < bytes.size(); at += 4000) {  // small writes: short reads on the other end
      const std::size_t n = std::min<std::size_t>(4000, bytes.size() - at);
      ASSERT_EQ(write(pipeEnds[1], bytes.data() + at, n), static_cast<ssize_t>(n));
    }
    close(pipeEnds[1]);
  });
  {
    ByteReader piped(pipeEnds[0]);
    ExpectConsistentReads(piped, bytes);
  }
  writer.join();
  close(pipeEnds[0]);

  ByteReader memory(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ExpectConsistentReads(memory, bytes);
  std::filesystem::remove_all(dir);
}

TEST(ByteReader, SkipPastTheEndMovesTheOffsetAndEnds) {
  const std::string bytes = "ABCDEFGH";
  ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  EXPECT_EQ(in.Next(), 'A');
  in.Skip(2);
  EXPECT_EQ(in.Next(), 'D');
  in.Skip(1000);
  EXPECT_EQ(in.Offset(), 1004u);
  EXPECT_EQ(in.Next(), -1);
}

TEST(ByteReader, TakeAppendsOnlyWhatIsThere) {
  const std::string bytes = "0123456789";
  ByteReader in(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  std::vector<std::uint8_t> taken;
  EXPECT_TRUE(in.Take(4, taken));
  EXPECT_FALSE(in.Take(std::uint64_t{1} << 40, taken));  // a forged count: short, not an allocation of 1 TB
  EXPECT_EQ(std::string(taken.begin(), taken.end()), bytes);
}

TEST(ByteReader, PeekDoesNotConsume) {
  const std::string bytes = PatternBytes(ByteReader::kBufferSize + 500);
  const auto dir = test::MakeTempDir("peek");
  test::WriteFile(dir / "job", bytes);
  const int fd = open((dir / "job").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ByteReader in(fd);
  in.Skip(ByteReader::kBufferSize - 10);
  const auto head = in.Peek(256);  // straddles the end of the first buffer
  ASSERT_EQ(head.size(), 256u);
  EXPECT_EQ(std::string(head.begin(), head.end()), bytes.substr(ByteReader::kBufferSize - 10, 256));
  EXPECT_EQ(in.Next(), static_cast<std::uint8_t>(bytes[ByteReader::kBufferSize - 10]));
  close(fd);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace veltrix
