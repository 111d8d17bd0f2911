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

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "decode/DecodeOptions.h"
#include "decode/Korvane.h"

namespace {

using veltrix::DecodeRequest;

class JobWriter {
 public:
  explicit JobWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {}
  ~JobWriter() {
    if (file_) std::fclose(file_);
  }
  void Put(const std::string& s) {
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
  const std::string raster = dir + "/veltrix-bench-raster.pcl";
  const std::string text = dir + "/veltrix-bench-text.pcl";
  WriteRasterJob(raster, bytes);
  WriteTextJob(text, bytes);
  Measure("raster PCL 5", raster);
  Measure("text PCL 5", text);
  unlink(raster.c_str());
  unlink(text.c_str());
  return 0;
}
