// Decode benchmark: writes large jobs, decodes each with the default options
// in a child process, and prints input MB/s and the child's peak memory next
// to the time a naive hex dump (`xxd FILE >/dev/null`) takes on the same file
// in the same run (medians of five runs each).
//
//   veltrix_bench [DIR] [MEGABYTES]     (defaults: /tmp, 200)
//       writes the synthetic jobs (raster, text, mixed escapes/text/HP-GL/2,
//       PCL XL images) to DIR and measures the decoder linked in here
//   veltrix_bench --compare BIN[,BIN...] FILE...
//       runs each program (`BIN FILE >/dev/null`) and xxd on each file, for
//       jobs made elsewhere (bench/make-real-jobs.sh) or other builds

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

// An escape-, text- and HP-GL/2-heavy job, laid out as a report: lines of
// text placed by cursor moves, font and colour changes every few lines,
// rules, and a plot in HP-GL/2 on each page.
void WriteMixedJob(const std::string& path, std::uint64_t bytes) {
  JobWriter job(path);
  job.Put(kUel + "@PJL JOB NAME=\"mixed\"\r\n@PJL ENTER LANGUAGE=PCL\r\n" + kEsc + "E" + kEsc + "&l0O" + kEsc +
          "&u600D" + kEsc + "(19U");
  int page = 0;
  while (job.Written() < bytes) {
    job.Put(kEsc + "&l2a0o6D" + kEsc + "&a0L" + kEsc + "*p300x300Y");
    for (int line = 0; line < 48; ++line) {
      job.Put(kEsc + "*p300x" + std::to_string(400 + line * 100) + "Y");
      if (line % 4 == 0) {
        job.Put(kEsc + "(s1p" + std::to_string(9 + line % 5) + ".5v0s" + std::to_string(line % 8 == 0 ? 3 : 0) +
                "b4101T" + kEsc + "*v" + std::to_string(line % 3) + "S");
      }
      job.Put("Item " + std::to_string(page * 48 + line) +
              ": the totals of the quarter and the notes\tthat go with them.\r\n");
      if (line % 6 == 5) {
        job.Put(kEsc + "*c" + std::to_string(1200 + line) + "a4b0P" + kEsc + "&f0S" + kEsc + "*p-50X" + kEsc +
                "&f1S");
      }
    }
    job.Put(kEsc + "%1BIN;SP1;PW0.35;LT;PU1000,2000;PD1200,2000,1200,2200,1000,2200,1000,2000;");
    for (int k = 0; k < 8; ++k) {
      const int x = 1000 + k * 150 + page % 7;
      job.Put("PU" + std::to_string(x) + ",3000;PD" + std::to_string(x + 100) + "," + std::to_string(3100 + k * 10) +
              ";CI" + std::to_string(40 + k) + ";");
    }
    job.Put("LT2,4;PA1500,4000;EA2500,4600;DT*;LBPage " + std::to_string(page) + "*SP0;" + kEsc + "%0A");
    job.Put(kEsc + "&a0v0H" + kEsc + "*r1A" + kEsc + "*b3M" + kEsc + "*b4W" + std::string("\x03\xFF\x00\x0F", 4) +
            kEsc + "*rB\f");
    ++page;
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

struct RunResult {
  double seconds = 0;
  long peakKib = 0;
  bool ok = false;
};

// Runs `work` in a child whose standard output is /dev/null; returns wall
// seconds and the child's peak RSS in KiB.
RunResult RunInChild(const std::function<int()>& work) {
  RunResult result;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return result;
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDOUT_FILENO);
    _exit(work());
  }
  int status = 0;
  rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) return result;
  result.seconds = Seconds(start);
  result.peakKib = usage.ru_maxrss;
  result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}

int Exec(const std::string& program, const std::string& path) {
  execlp(program.c_str(), program.c_str(), path.c_str(), static_cast<char*>(nullptr));
  std::fprintf(stderr, "veltrix_bench: cannot run %s: %s\n", program.c_str(), std::strerror(errno));
  return 127;
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

constexpr int kRounds = 5;

// The median time of kRounds runs (each contender in turn, round by round,
// so that they share the same machine load), and the largest peak memory.
struct Contender {
  std::string name;
  std::function<int()> work;
  std::vector<double> seconds;
  long peakKib = 0;
  bool ok = true;
  double Median() {
    std::sort(seconds.begin(), seconds.end());
    return seconds.empty() ? 0 : seconds[seconds.size() / 2];
  }
};

void Measure(const std::string& label, const std::string& path, std::vector<Contender> decoders) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    std::printf("%s: %s\n", path.c_str(), std::strerror(errno));
    return;
  }
  const double megabytes = static_cast<double>(st.st_size) / 1e6;
  Contender xxd{"xxd", [&] { return Exec("xxd", path); }, {}, 0, true};
  for (int round = 0; round < kRounds; ++round) {
    for (Contender* c : {&xxd}) {
      const RunResult r = RunInChild(c->work);
      c->seconds.push_back(r.seconds);
      c->peakKib = std::max(c->peakKib, r.peakKib);
      c->ok = c->ok && r.ok;
    }
    for (Contender& c : decoders) {
      const RunResult r = RunInChild(c.work);
      c.seconds.push_back(r.seconds);
      c.peakKib = std::max(c.peakKib, r.peakKib);
      c.ok = c.ok && r.ok;
    }
  }
  const double xxdSeconds = xxd.Median();
  std::printf("%s (%s, %.1f MB): xxd %.3f s%s\n", label.c_str(), path.c_str(), megabytes, xxdSeconds,
              xxd.ok ? "" : " FAILED");
  for (Contender& c : decoders) {
    const double t = c.Median();
    std::printf("  %-28s %7.3f s  %7.1f MB/s  peak %6ld KiB  /xxd %.3f%s\n", c.name.c_str(), t, megabytes / t,
                c.peakKib, t / xxdSeconds, c.ok ? "" : "  FAILED");
  }
  std::fflush(stdout);
}

int Compare(const std::string& programs, int argc, char** argv) {
  std::vector<std::string> bins;
  for (std::size_t from = 0; from <= programs.size();) {
    const std::size_t comma = std::min(programs.find(',', from), programs.size());
    if (comma > from) bins.push_back(programs.substr(from, comma - from));
    from = comma + 1;
  }
  for (int i = 0; i < argc; ++i) {
    const std::string path = argv[i];
    std::vector<Contender> decoders;
    for (const std::string& bin : bins) decoders.push_back({bin, [bin, path] { return Exec(bin, path); }, {}, 0, true});
    Measure(path.substr(path.rfind('/') + 1), path, std::move(decoders));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--compare") {
    if (argc < 4) {
      std::fprintf(stderr, "usage: veltrix_bench --compare BIN[,BIN...] FILE...\n");
      return 2;
    }
    return Compare(argv[2], argc - 3, argv + 3);
  }
  const std::string dir = argc > 1 ? argv[1] : "/tmp";
  const std::uint64_t megabytes = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 200;
  const std::uint64_t bytes = megabytes * 1000 * 1000;
  if (access(dir.c_str(), W_OK) != 0) {
    std::fprintf(stderr, "veltrix_bench: cannot write the jobs in %s: %s\n", dir.c_str(), std::strerror(errno));
    return 1;
  }
  const std::string raster = dir + "/veltrix-bench-raster.pcl";
  const std::string text = dir + "/veltrix-bench-text.pcl";
  const std::string mixed = dir + "/veltrix-bench-mixed.pcl";
  const std::string xl = dir + "/veltrix-bench-xl.pxl";
  WriteRasterJob(raster, bytes);
  WriteTextJob(text, bytes);
  WriteMixedJob(mixed, bytes);
  WriteXlJob(xl, bytes);
  for (const auto& job : {std::pair{"raster PCL 5", raster}, {"text PCL 5", text},
                          {"escapes, text, HP-GL/2", mixed}, {"image PCL XL", xl}}) {
    const std::string& path = job.second;
    Measure(job.first, path, {{"decode", [&path] { return DecodeJob(path); }, {}, 0, true}});
  }
  if (!std::getenv("VELTRIX_BENCH_KEEP")) {
    for (const std::string& path : {raster, text, mixed, xl}) unlink(path.c_str());
  }
  return 0;
}
