// The buffered reader over files, pipes and memory: offsets across refills,
// stepping back, peeking, skipping or taking past the end, and copying a
// range of the input without moving the reader.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <limits>
#include <thread>

#include "TestSupport.h"
#include "decode/core/ByteReader.h"
#include "decode/core/OutputSink.h"

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

// The copy of [offset, offset + length) as CopyRange makes it, or nullopt.
std::optional<std::string> Copied(const ByteReader& in, std::uint64_t offset, std::uint64_t length) {
  std::string copy;
  OutputSink sink(&copy);
  const std::optional<std::uint64_t> n = in.CopyRange(offset, length, sink);
  sink.Flush();
  if (!n) return std::nullopt;
  EXPECT_EQ(*n, copy.size());
  return copy;
}

// The next bytes as Peek shows them, without consuming them.
std::string Upcoming(ByteReader& in, std::size_t n) {
  const auto head = in.Peek(n);
  return std::string(head.begin(), head.end());
}

// A file and a block of memory copy alike: ranges inside the reader's buffer,
// across its end, behind it and ahead of it, past the end of the input, and
// empty; the reader's offset and the bytes it reads next stay as they were.
TEST(ByteReader, CopyRangeLeavesTheReaderWhereItWas) {
  constexpr std::uint64_t kBuffer = ByteReader::kBufferSize;
  std::string bytes(2 * kBuffer + 777, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 13 + i / 509) & 0xFF);
  const std::uint64_t size = bytes.size();
  const auto dir = test::MakeTempDir("copy-range");
  test::WriteFile(dir / "job", bytes);
  const int fd = open((dir / "job").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);

  const struct {
    std::uint64_t offset, length, copied;
  } cases[] = {
      {0, 0, 0},
      {10, 100, 100},
      {kBuffer - 100, 200, 200},  // across the end of the first buffer
      {kBuffer + 5, kBuffer, kBuffer},
      {0, size, size},
      {size - 10, 100, 10},  // the input ends first
      {size, 5, 0},
      {size + 1000, 5, 0},
      {5, std::numeric_limits<std::uint64_t>::max(), size - 5},  // a length that would wrap
      {std::numeric_limits<std::uint64_t>::max(), 1, 0},
  };
  ByteReader file(fd);
  ByteReader memory(Bytes(bytes));
  for (ByteReader* in : {&file, &memory}) {
    SCOPED_TRACE(in == &file ? "file" : "memory");
    // Stop 50 bytes before the end of the first buffer, with the next 100
    // bytes peeked across it: the buffer holds the start of the second.
    for (std::uint64_t i = 0; i < kBuffer - 50; ++i) ASSERT_GE(in->Next(), 0);
    ASSERT_EQ(Upcoming(*in, 100), bytes.substr(kBuffer - 50, 100));
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << "offset " << c.offset << " length " << c.length);
      const std::optional<std::string> copy = Copied(*in, c.offset, c.length);
      ASSERT_TRUE(copy.has_value());
      EXPECT_EQ(copy->size(), c.copied);
      EXPECT_TRUE(*copy == bytes.substr(std::min(c.offset, size), c.copied));  // no 256 KiB dump on failure
      EXPECT_EQ(in->Offset(), kBuffer - 50);
      EXPECT_EQ(Upcoming(*in, 100), bytes.substr(kBuffer - 50, 100));
    }
    std::string rest;  // and the reader still reads on from where it stood, to the end
    for (int b = in->Next(); b >= 0; b = in->Next()) rest += static_cast<char>(b);
    EXPECT_TRUE(rest == bytes.substr(kBuffer - 50));
    EXPECT_EQ(Copied(*in, size - 3, 3), bytes.substr(size - 3));  // also once the input has ended
  }
  close(fd);
  std::filesystem::remove_all(dir);
}

// A pipe cannot be read again: every copy fails, an empty one too, and the
// reader goes on as if nothing was asked.
TEST(ByteReader, CopyRangeFailsOnAPipe) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  ASSERT_EQ(write(pipeEnds[1], "0123456789", 10), 10);
  close(pipeEnds[1]);
  ByteReader in(pipeEnds[0]);
  EXPECT_EQ(in.Next(), '0');
  EXPECT_EQ(in.Next(), '1');
  for (const auto& [offset, length] : {std::pair<std::uint64_t, std::uint64_t>{0, 0}, {0, 2}, {2, 5}}) {
    EXPECT_EQ(Copied(in, offset, length), std::nullopt) << offset << "+" << length;
  }
  EXPECT_EQ(in.Offset(), 2u);
  std::string rest;
  for (int b = in.Next(); b >= 0; b = in.Next()) rest += static_cast<char>(b);
  EXPECT_EQ(rest, "23456789");
  close(pipeEnds[0]);
}

// Offsets pass 4 GiB: a copy from a sparse file of 5 GiB, made while the
// reader stands past the 4 GiB mark.
TEST(ByteReader, CopyRangeBeyondFourGigabytes) {
  constexpr std::uint64_t kMark = (std::uint64_t{4} << 30) + 100;
  const auto dir = test::MakeTempDir("copy-range-big");
  const int fd = open((dir / "big").c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0);
  if (ftruncate(fd, static_cast<off_t>(std::uint64_t{5} << 30)) != 0) GTEST_SKIP() << "no sparse 5 GiB file here";
  ASSERT_EQ(pwrite(fd, "MARK", 4, static_cast<off_t>(kMark)), 4);
  ASSERT_EQ(lseek(fd, 0, SEEK_SET), 0);
  ByteReader in(fd);
  in.Skip(kMark + 2);
  EXPECT_EQ(Copied(in, kMark - 2, 6), std::string("\0\0MARK", 6));
  EXPECT_EQ(in.Offset(), kMark + 2);
  EXPECT_EQ(in.Next(), 'R');
  close(fd);
  std::filesystem::remove_all(dir);
}

// The way a stripper uses the reader, over jobs made by real drivers: the
// decoder reads some bytes and skips others, and after each step the bytes
// read are copied out and the skipped ones left out. The copy is the job
// without the skipped stretches, and the reads see every byte they should.
TEST(ByteReader, CopyOfRealJobsWithoutTheSkippedStretches) {
  for (const char* name : {"realjobs/data/dvilj4-hello.pcl", "realjobs/data/hpijs-dj990-colour.pcl",
                           "pclxl/data/pxlmono-sample.pxl"}) {
    SCOPED_TRACE(name);
    const std::string job = test::ReadFile(test::TestDir() / name);
    ASSERT_GT(job.size(), 1000u);
    const int fd = open((test::TestDir() / name).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ByteReader in(fd);
    std::string stripped, want;
    OutputSink out(&stripped);
    for (std::uint64_t step = 0; in.Offset() < job.size(); ++step) {
      const std::uint64_t start = in.Offset();
      const std::uint64_t readCount = 17 + step % 5, skipCount = 40 + step % 7;
      for (std::uint64_t i = 0; i < readCount && in.Offset() < job.size(); ++i) {
        const std::uint64_t at = in.Offset();
        ASSERT_EQ(in.Next(), static_cast<std::uint8_t>(job[at])) << "offset " << at;
      }
      ASSERT_EQ(in.CopyRange(start, in.Offset() - start, out), in.Offset() - start);
      want += job.substr(start, in.Offset() - start);
      in.Skip(skipCount);
    }
    out.Flush();
    EXPECT_EQ(in.Next(), -1);
    EXPECT_TRUE(stripped == want);
    EXPECT_LT(want.size(), job.size() / 2);  // the skipped stretches are the larger part
    close(fd);
  }
}

}  // namespace
}  // namespace veltrix
