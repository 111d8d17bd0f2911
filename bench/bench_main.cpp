// Decode benchmark: writes large jobs, decodes each with the default options
// in a child process, and prints input MB/s and the child's peak memory next
// to the speed of merely reading the same file.
//
//   veltrix_bench [DIR] [MEGABYTES]     (defaults: /tmp, 200)

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "decode/Korvane.h"
#include "decode/core/DecodeOptions.h"

namespace {

using veltrix::DecodeRequest;

class JobWriter {
 public:
  explicit JobWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}
  ~JobWriter() {
    if (file_) std::fclose(file_);
  }
  void Put(const std::string& s) {
    if (!file_) return;
    std::fwrite(s.data(), 1, s.size(), file_);
    written_ += s.size();
  }
  std::uint64_t Written() const { return written_; }
  bool Ok() const { return file_ != nullptr; }

 private:
  std::FILE* file_;
  std::uint64_t written_ = 0;
};

const std::string kEsc = "\x1b";
const std::string kUel = "\x1b%-12345X";

// A driver-like job: pages of uncompressed raster rows.
void WriteRasterJob(const std::string& path, std::uint64_t bytes) {
  JobWriter job(path);
  job.Put(kUel + "@PJL JOB NAME=\"bench\"\r\n@PJL ENTER LANGUAGE=PCL\r\n" + kEsc + "E");
  std::string row(600, '\0');
  for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<char>((i * 37) & 0xFF);
  while (job.Written() < bytes) {
    job.Put(kEsc + "&l26A" + kEsc + "*t600R" + kEsc + "*r4800S" + kEsc + "*p0x0Y" + kEsc + "*r1A" + kEsc + "*b0M");
    for (int y = 0; y < 6600 && job.Written() < bytes; ++y) {
      job.Put(kEsc + "*b600W");
      job.Put(row);
    }
    job.Put(kEsc + "*rB\f");
  }
  job.Put(kEsc + "E" + kUel);
}

// A text job: words, cursor moves and font changes, line by line.
void WriteTextJob(const std::string& path, std::uint64_t bytes) {
  JobWriter job(path);
  job.Put(kUel + "@PJL ENTER LANGUAGE=PCL\r\n" + kEsc + "E" + kEsc + "&l0O" + kEsc + "(8U");
  int line = 0;
  while (job.Written() < bytes) {
    job.Put(kEsc + "&a" + std::to_string(720 + (line % 60) * 120) + "V" + kEsc + "&a360H");
    job.Put(kEsc + "(s1p" + std::to_string(10 + line % 4) + "v0s" + std::to_string(line % 2 ? 3 : 0) + "b4148T");
    job.Put("The quick brown fox jumps over the lazy dog, line " + std::to_string(line) + ".\r\n");
    if (++line % 60 == 0) job.Put("\f");
  }
  job.Put(kEsc + "E" + kUel);
}

// A PCL XL job like a driver's: pages of grey image blocks, with the
// attribute lists of every operator.
void WriteXlJob(const std::string& path, std::uint64_t bytes) {
  auto u16 = [](unsigned v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
  auto ubyteAttr = [](unsigned v, unsigned id) {
    return std::string{'\xC0', static_cast<char>(v), '\xF8', static_cast<char>(id)};
  };
  auto uint16Attr = [&](unsigned v, unsigned id) {
    return std::string{'\xC1'} + u16(v) + std::string{'\xF8', static_cast<char>(id)};
  };
  auto xyAttr = [&](unsigned x, unsigned y, unsigned id) {
    return std::string{'\xD1'} + u16(x) + u16(y) + std::string{'\xF8', static_cast<char>(id)};
  };
  JobWriter job(path);
  job.Put(kUel + "@PJL ENTER LANGUAGE=PCLXL\r\n) HP-PCL XL;2;0;Comment\n");
  job.Put(ubyteAttr(0, 134) + xyAttr(600, 600, 137) + ubyteAttr(0, 143) + "\x41");  // BeginSession
  job.Put(ubyteAttr(0, 136) + ubyteAttr(1, 130) + "\x48");                           // OpenDataSource
  const unsigned width = 4800, rows = 64;
  const std::string block(width * rows, '\x5A');
  while (job.Written() < bytes) {
    job.Put(ubyteAttr(0, 40) + ubyteAttr(0, 37) + "\x43");  // BeginPage
    job.Put(ubyteAttr(1, 3) + "\x6A");                      // SetColorSpace
    job.Put(xyAttr(0, 0, 76) + "\x6B");                     // SetCursor
    job.Put(ubyteAttr(0, 100) + ubyteAttr(2, 98) + uint16Attr(width, 108) + uint16Attr(6400, 107) +
            xyAttr(width, 6400, 103) + "\xB0");             // BeginImage
    for (unsigned line = 0; line < 6400 && job.Written() < bytes; line += rows) {
      job.Put(uint16Attr(line, 109) + uint16Attr(rows, 99) + ubyteAttr(0, 101) + "\xB1\xFA");  // ReadImage
      const auto size = static_cast<std::uint32_t>(block.size());
      job.Put(std::string{static_cast<char>(size), static_cast<char>(size >> 8), static_cast<char>(size >> 16),
                          static_cast<char>(size >> 24)});
      job.Put(block);
    }
    job.Put("\xB2\x44");  // EndImage, EndPage
  }
  job.Put("\x49\x42" + kUel);  // CloseDataSource, EndSession
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Runs `work` in a child; returns wall seconds and the child's peak RSS in KiB.
bool RunInChild(const std::function<int()>& work, double& seconds, long& peakKib) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) _exit(work());
  int status = 0;
  rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  seconds = Seconds(start);
  peakKib = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int ReadWholeFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return 1;
  std::vector<char> buffer(1 << 20);
  while (read(fd, buffer.data(), buffer.size()) > 0) {
  }
  close(fd);
  return 0;
}

int DecodeJob(const std::string& path) {
  veltrix::DecodeSettings settings;
  settings.SourceFile = path;
  settings.DestFile = "/dev/null";  // the error log beside it cannot be made, and is skipped
  DecodeRequest request;
  veltrix::BuildDecodeRequest(settings, request);
  request.clock.utc = true;
  return veltrix::DecodeFiles(request);
}

void Measure(const std::string& name, const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  const double megabytes = static_cast<double>(st.st_size) / 1e6;
  double catSeconds = 0, decodeSeconds = 0;
  long catPeak = 0, decodePeak = 0;
  RunInChild([&] { return ReadWholeFile(path); }, catSeconds, catPeak);
  const bool ok = RunInChild([&] { return DecodeJob(path); }, decodeSeconds, decodePeak);
  std::printf("%-12s %8.1f MB  decode %7.1f MB/s  (%.2f s, peak %ld KiB)%s  read-only %7.1f MB/s\n", name.c_str(),
              megabytes, megabytes / decodeSeconds, decodeSeconds, decodePeak, ok ? "" : " FAILED",
              megabytes / catSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "/tmp";
  const std::uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 200;
  const std::uint64_t bytes = megabytes * 1000 * 1000;
  if (access(dir.c_str(), W_OK) != 0) {
    std::fprintf(stderr, "veltrix_bench: cannot write the jobs in %s: %s\n", dir.c_str(), std::strerror(errno));
    return 1;
  }
  const std::string raster = dir + "/veltrix-bench-raster.pcl";
  const std::string text = dir + "/veltrix-bench-text.pcl";
  const std::string xl = dir + "/veltrix-bench-xl.pxl";
  WriteRasterJob(raster, bytes);
  WriteTextJob(text, bytes);
  WriteXlJob(xl, bytes);
  Measure("raster PCL 5", raster);
  Measure("text PCL 5", text);
  Measure("image PCL XL", xl);
  if (!std::getenv("VELTRIX_BENCH_KEEP")) {
    unlink(raster.c_str());
    unlink(text.c_str());
    unlink(xl.c_str());
  }
  return 0;
}
