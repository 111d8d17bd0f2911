// The buffered reader over files, pipes and memory: offsets across refills,
// stepping back, peeking, skipping or taking past the end, and copying a
// range of the input without moving the reader. The stripper's use of it over
// real jobs, reading, skipping and copying: FontStripper_test.cpp.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
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

// Copies of ranges inside the reader's buffer, across its end, behind it and
// ahead of it, past the end of the input, and empty, made while the reader
// stands 50 bytes before the end of the first buffer with the next 100 bytes
// peeked across it. A pipe cannot be read again: there every copy fails.
void ExpectCopies(ByteReader& in, const std::string& bytes, bool seekable) {
  constexpr std::uint64_t kBuffer = ByteReader::kBufferSize, kMax = std::numeric_limits<std::uint64_t>::max();
  const std::uint64_t size = bytes.size();
  ASSERT_EQ(Upcoming(in, 100), bytes.substr(kBuffer - 50, 100));
  const std::pair<std::uint64_t, std::uint64_t> cases[] = {
      {0, 0}, {10, 100}, {kBuffer - 100, 200}, {kBuffer + 5, kBuffer},
      {size - 10, 100},  // the input ends first
      {size, 5}, {5, kMax}, {kMax, 1},  // a length that would wrap, an offset past everything
  };
  for (const auto& [offset, length] : cases) {
    SCOPED_TRACE(::testing::Message() << "offset " << offset << " length " << length);
    const std::optional<std::string> copy = Copied(in, offset, length);
    ASSERT_EQ(copy.has_value(), seekable);
    EXPECT_TRUE(!copy || *copy == bytes.substr(std::min(offset, size), length));  // no 256 KiB dump on failure
  }
  EXPECT_EQ(in.Offset(), kBuffer - 50);
}

// Reads everything with a peek across the end of every buffer, a step back
// over every buffer boundary, a skip now and then and the copies above, and
// checks each byte against its offset: the copies leave the reader as it was.
void ExpectConsistentReads(ByteReader& in, const std::string& bytes, bool seekable) {
  constexpr std::size_t kBuffer = ByteReader::kBufferSize;
  std::uint64_t expectedOffset = 0;
  for (;;) {
    const std::uint64_t at = in.Offset();
    ASSERT_EQ(at, expectedOffset);
    if (at == kBuffer - 50) ExpectCopies(in, bytes, seekable);
    const int b = in.Next();
    if (b < 0) break;
    ASSERT_EQ(b, static_cast<std::uint8_t>(bytes[at])) << "offset " << at;
    if (at % kBuffer == 0 && at > 0) {  // step back across the boundary just crossed
      ASSERT_TRUE(in.Unread(1));
      ASSERT_EQ(in.Next(), b);
    }
    if (at % kBuffer == kBuffer - 10) {  // the peek straddles the end of the buffer and consumes nothing
      ASSERT_EQ(Upcoming(in, 256), bytes.substr(at + 1, 256)) << "offset " << at;
    }
    expectedOffset = at + 1;
    if (at % 100000 == 99999) {
      in.Skip(5000);
      expectedOffset += 5000;
    }
  }
  EXPECT_EQ(expectedOffset, bytes.size());
  // Also once the input has ended.
  EXPECT_EQ(Copied(in, bytes.size() - 3, 3), seekable ? std::optional(bytes.substr(bytes.size() - 3)) : std::nullopt);
  in.Skip(1000);  // past the end: the offset moves on, and the input stays ended
  EXPECT_EQ(in.Offset(), bytes.size() + 1000);
  EXPECT_EQ(in.Next(), -1);
}

TEST(ByteReader, FileAndPipeAndMemoryReadAlike) {
  // Longer than three buffers, each byte telling its offset.
  std::string bytes(3 * ByteReader::kBufferSize + 12345, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  ByteReader memory(Bytes(bytes));
  ExpectConsistentReads(memory, bytes, true);
  const auto dir = test::MakeTempDir("reader");
  test::WriteFile(dir / "job", bytes);
  const int file = open((dir / "job").c_str(), O_RDONLY);
  int pipeEnds[2];
  ASSERT_TRUE(file >= 0 && pipe(pipeEnds) == 0);
  std::thread writer([&] {
    for (std::size_t at = 0; at < bytes.size(); at += 4000) {  // small writes: short reads on the other end
      const std::size_t n = std::min<std::size_t>(4000, bytes.size() - at);
      ASSERT_EQ(write(pipeEnds[1], bytes.data() + at, n), static_cast<ssize_t>(n));
    }
    close(pipeEnds[1]);
  });
  for (const int fd : {file, pipeEnds[0]}) {
    SCOPED_TRACE(fd == file ? "file" : "pipe");
    ByteReader in(fd);
    ExpectConsistentReads(in, bytes, fd == file);
    while (in.Next() >= 0) {  // after a failure, drain the pipe so that the writer ends
    }
  }
  writer.join();
  close(pipeEnds[0]);
  close(file);
  std::filesystem::remove_all(dir);
}

// A regular file is mapped a window at a time: at every page boundary (where
// windows begin and end) the reader steps back kKeepBack bytes and peeks
// ahead across it, skips jump whole windows, nothing before the offset the
// reader started at is shown, and the progress counter moves on with the
// windows.
TEST(ByteReader, MappedWindowsKeepEveryContract) {
  constexpr std::uint64_t kWindow = ByteReader::kMapWindow, kPage = 4096, kStart = 1000;
  std::string bytes(2 * kWindow + 777, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 13 + i / 4093) & 0xFF);
  const auto dir = test::MakeTempDir("mapped");
  test::WriteFile(dir / "job", bytes);
  const int fd = open((dir / "job").c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(lseek(fd, kStart, SEEK_SET), static_cast<off_t>(kStart));
  std::atomic<std::uint64_t> progress{0};
  ByteReader in(fd);
  in.ReportProgressTo(&progress);
  ASSERT_EQ(in.Next(), static_cast<std::uint8_t>(bytes[kStart]));
  EXPECT_FALSE(in.Unread(2));  // the byte before the start was never read
  ASSERT_TRUE(in.Unread(1));
  std::uint64_t at = kStart;
  for (int b; (b = in.Next()) >= 0; ++at) {
    ASSERT_EQ(b, static_cast<std::uint8_t>(bytes[at])) << "offset " << at;
    const std::uint64_t next = at + 1;
    if (next % kPage == 0 && next - kStart >= ByteReader::kKeepBack) {
      ASSERT_TRUE(in.Unread(ByteReader::kKeepBack)) << "offset " << next;
      for (std::uint64_t k = next - ByteReader::kKeepBack; k < next; ++k) {
        ASSERT_EQ(in.Next(), static_cast<std::uint8_t>(bytes[k])) << "offset " << k;
      }
    }
    if (next % kPage == 0 || next % kPage == kPage - 40) {  // across the page and any window that ends there
      ASSERT_EQ(Upcoming(in, 300), bytes.substr(next, 300)) << "offset " << next;
      ASSERT_EQ(in.Offset(), next);
    }
    if (next == kWindow / 2) {  // a skip over a window boundary
      EXPECT_GE(progress.load(), next);
      EXPECT_LE(progress.load(), kWindow + kStart);
      in.Skip(kWindow);
      at += kWindow;
      EXPECT_EQ(in.Offset(), at + 1);
    }
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(progress.load(), bytes.size());
  // At the end the last byte can still be stepped back over.
  ASSERT_TRUE(in.Unread(1));
  EXPECT_EQ(in.Next(), static_cast<std::uint8_t>(bytes.back()));
  EXPECT_EQ(in.Next(), -1);
  EXPECT_FALSE(in.Failed());
  close(fd);
  std::filesystem::remove_all(dir);
}

// A file that grows while it is read: the new bytes are read as a pipe's
// would be.
TEST(ByteReader, MappedFileThatGrows) {
  const auto dir = test::MakeTempDir("growing");
  test::WriteFile(dir / "job", "first");
  const int fd = open((dir / "job").c_str(), O_RDWR | O_APPEND);
  ASSERT_GE(fd, 0);
  ByteReader in(fd);
  std::string seen;
  for (int i = 0; i < 3; ++i) seen += static_cast<char>(in.Next());
  ASSERT_EQ(write(fd, " second", 7), 7);
  for (int b; (b = in.Next()) >= 0;) seen += static_cast<char>(b);
  EXPECT_EQ(seen, "first second");
  close(fd);
  std::filesystem::remove_all(dir);
}

// A file cut short while a window of it is mapped: the bytes that are gone
// read as zeros up to the window's end, then the input ends as a read error,
// and the process lives on (without the guard it dies of SIGBUS). The next
// file maps guarded again.
TEST(ByteReader, MappedFileCutShortEndsAsAReadError) {
  const auto dir = test::MakeTempDir("cut-short");
  std::string bytes(3 * ByteReader::kMapWindow, 'x');
  for (std::size_t i = 0; i < bytes.size(); i += 4096) bytes[i] = 'P';
  for (int round = 0; round < 2; ++round) {
    test::WriteFile(dir / "job", bytes);
    const int fd = open((dir / "job").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ByteReader in(fd);
    in.Skip(ByteReader::kMapWindow + 10);
    ASSERT_EQ(in.Next(), 'x');
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(ByteReader::kMapWindow + 8192)), 0);
    std::uint64_t read = 0, zeros = 0;
    for (int b; (b = in.Next()) >= 0;) {
      ++read;
      zeros += b == 0;
    }
    EXPECT_TRUE(in.Failed());
    EXPECT_GT(zeros, 0u);
    EXPECT_LE(read, ByteReader::kMapWindow);  // not the third window
    close(fd);
  }
  std::filesystem::remove_all(dir);
}

TEST(ByteReader, TakeOfAForgedCount) {
  const std::string bytes = "0123456789";
  ByteReader take(Bytes(bytes));
  std::vector<std::uint8_t> taken;
  EXPECT_TRUE(take.Take(4, taken));
  EXPECT_FALSE(take.Take(std::uint64_t{1} << 40, taken));  // short, not an allocation of 1 TB
  EXPECT_EQ(std::string(taken.begin(), taken.end()), bytes);
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

}  // namespace
}  // namespace veltrix
