// Generated hostile jobs: each kind repeats one pattern that a careless
// decoder handles in quadratic time or memory, or that multiplies its
// listing, until the job has the size asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace veltrix::test {

namespace hostile {

constexpr char kEsc = '\x1b';

inline std::string Esc(std::string_view rest) { return std::string(1, kEsc) + std::string(rest); }

// PCL XL pieces, low byte first.
inline void XlU16(std::string& s, unsigned v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}
inline void XlU32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}
inline void XlName(std::string& s, std::string_view name) {  // a UByte array, then StreamName
  s += "\xC8\xC0";
  s += static_cast<char>(name.size());
  s += name;
  s += "\xF8\x8B";
}
inline std::string XlHeader() {
  std::string s = Esc("%-12345X@PJL ENTER LANGUAGE=PCLXL\r\n");
  s += ") HP-PCL XL;2;0\n";
  s += "\xD1";  // UInt16Xy 600 600, Measure, UnitsPerMeasure, BeginSession
  XlU16(s, 600);
  XlU16(s, 600);
  s += std::string_view("\xF8\x89\xC0\x00\xF8\x86\x41", 7);
  return s;
}
// BeginStream, one ReadStream of `body`, EndStream.
inline void XlStoredStream(std::string& s, std::string_view name, std::string_view body) {
  XlName(s, name);
  s += '\x5B';
  const std::string data = ") HP-PCL XL;2;0\n" + std::string(body);
  s += '\xC2';
  XlU32(s, static_cast<std::uint32_t>(data.size()));
  s += "\xF8\x8C\x5C\xFA";
  XlU32(s, static_cast<std::uint32_t>(data.size()));
  s += data;
  s += '\x5D';
}
inline void XlExec(std::string& s, std::string_view name) {
  XlName(s, name);
  s += '\x5E';
}

// A 64-byte bitmap font header and a 1-row character of format 4.
inline std::string FontHeader() {
  std::string h(64, '\0');
  h[1] = 64;  // descriptor size
  h[3] = 2;   // font type
  return Esc("(s64W") + h;
}
inline std::string Character() {
  std::string c = std::string("\x04\x00\x0E\x01", 4) + std::string(12, '\0');
  c[10] = 0; c[11] = 8;  // width 8
  c[12] = 0; c[13] = 1;  // height 1
  c += '\xFF';
  return Esc("(s17W") + c;
}

}  // namespace hostile

struct HostileKind {
  std::string_view name;
  std::string_view what;
  // The job starts with prefix (given the job's size) and goes on with
  // repetitions of the pattern, the i-th appended by repeat.
  std::function<std::string(std::uint64_t)> prefix;
  std::function<void(std::string&, std::uint64_t)> repeat;
  std::string_view options = {};  // command-line options the kind is decoded with
};

inline const std::vector<HostileKind>& HostileKinds() {
  using namespace hostile;
  static const std::vector<HostileKind> kinds = {
      {"xl-exec-repeat", "PCL XL: one stored stream executed again and again",
       [](std::uint64_t) {
         std::string s = XlHeader();
         std::string body;
         for (int i = 0; i < 100; ++i) body += "\x60\x61";  // PushGS PopGS
         XlStoredStream(s, "S", body);
         return s;
       },
       [](std::string& s, std::uint64_t) { XlExec(s, "S"); }},
      {"xl-exec-half", "PCL XL: a stream of half the job executed by the other half",
       [](std::uint64_t size) {
         std::string s = XlHeader();
         std::string body;
         while (body.size() < size / 2) body += "\x60\x61";  // PopGS PushGS
         XlStoredStream(s, "S", body);
         return s;
       },
       [](std::string& s, std::uint64_t) { XlExec(s, "S"); }},
      {"xl-exec-nested", "PCL XL: streams that execute streams",
       [](std::uint64_t) {
         std::string s = XlHeader();
         std::string inner;
         XlExec(inner, "A");
         std::string body;
         for (int i = 0; i < 50; ++i) body += inner;
         XlStoredStream(s, "A", std::string(200, '\x60'));
         XlStoredStream(s, "B", body);
         return s;
       },
       [](std::string& s, std::uint64_t) { XlExec(s, "B"); }},
      {"xl-embedded-data", "PCL XL: one operator with a large block of embedded data",
       [](std::uint64_t) { return XlHeader(); }, nullptr},
      {"pcl5-unknown-escapes", "PCL 5: distinct unknown escapes", [](std::uint64_t) { return std::string(); },
       [](std::string& s, std::uint64_t i) {
         // parameter ! to / (not &, ( or ) which are known), group ` to ~, terminator @ to Z
         static constexpr std::string_view kParams = "!\"#$'+,-./";
         const char param = kParams[i % kParams.size()];
         const char group = static_cast<char>('`' + (i / kParams.size()) % 31);
         const char term = static_cast<char>('@' + (i / (kParams.size() * 31)) % 27);
         s += Esc(std::string{param, group, '1', term});
       }},
      {"pcl5-macro-delete-all", "PCL 5: macro definitions and delete-all, repeated", [](std::uint64_t) { return std::string(); },
       [](std::string& s, std::uint64_t i) {
         s += Esc("&f" + std::to_string(i) + "y0X") + "m" + Esc("&f1X");
         if (i % 2 == 1) s += Esc("&f6X");
       }},
      {"pcl5-palettes", "PCL 5: palette creation and deletion", [](std::uint64_t) { return std::string(); },
       [](std::string& s, std::uint64_t i) {
         s += Esc("&p" + std::to_string(i) + "i6C");
         if (i % 3 == 2) s += Esc("&p" + std::to_string(i - 2) + "i2C");
       }},
      {"pcl5-macro-ids", "PCL 5: distinct macro IDs", [](std::uint64_t) { return std::string(); },
       [](std::string& s, std::uint64_t i) { s += Esc("&f" + std::to_string(i) + "y0x1X"); }},
      {"pcl5-macro-calls", "PCL 5: macro calls", [](std::uint64_t) { return Esc("&f1y0X") + "m" + Esc("&f1X"); },
       [](std::string& s, std::uint64_t) { s += Esc("&f3X"); }},
      {"pcl5-pages", "PCL 5: pages (form feeds)", [](std::uint64_t) { return std::string(); },
       [](std::string& s, std::uint64_t) { s += "x\f"; }},
      {"pcl5-font-ids", "PCL 5: distinct downloaded font IDs", [](std::uint64_t) { return std::string(); },
       [](std::string& s, std::uint64_t i) { s += Esc("*c" + std::to_string(i % 32768) + "D") + FontHeader(); }},
      {"pcl5-characters", "PCL 5: characters of one font", [](std::uint64_t) { return Esc("*c1D") + FontHeader(); },
       [](std::string& s, std::uint64_t i) { s += Esc("*c" + std::to_string(i % 65536) + "E") + Character(); }},
      {"pcl5-font-selection", "PCL 5: font selections by ID", [](std::uint64_t) { return std::string(); },
       [](std::string& s, std::uint64_t i) { s += Esc("(" + std::to_string(i) + "X") + "a"; }},
      {"pcl5-seed-rows", "PCL 5: raster rows repeating a wide seed row (listed)",
       [](std::uint64_t) {
         std::string s = Esc("*r65535S") + Esc("*r1A") + Esc("*b3M") + Esc("*b8W") + std::string(8, '\xAA');
         return s;
       },
       [](std::string& s, std::uint64_t) { s += Esc("*b0W"); }, "--raster"},
      {"hpgl-long-label", "HP-GL/2: one label without end", [](std::uint64_t) { return Esc("%0BLB"); },
       [](std::string& s, std::uint64_t) { s += "abcdefgh"; }},
      {"pjl-long-line", "PJL: one line without end", [](std::uint64_t) { return std::string("@PJL COMMENT "); },
       [](std::string& s, std::uint64_t) { s += "abcdefgh"; }},
  };
  return kinds;
}

// The kind's job, of about `size` bytes.
inline std::string MakeHostileJob(const HostileKind& kind, std::uint64_t size) {
  std::string job = kind.prefix(size);
  if (!kind.repeat) {  // embedded data: one ReadStream-free operator carrying the rest
    const std::uint64_t n = size > job.size() + 16 ? size - job.size() - 16 : 1;
    job += std::string_view("\xC0\x00\xF8\x28\xC0\x00\xF8\x25\x43", 9);  // a page: portrait, letter
    job += "\x47\xFA";  // an operator (Comment) with embedded data
    for (int i = 0; i < 4; ++i) job += static_cast<char>((n >> (8 * i)) & 0xFF);
    job.append(n, 'D');
    return job;
  }
  for (std::uint64_t i = 0; job.size() < size; ++i) kind.repeat(job, i);
  return job;
}

}  // namespace veltrix::test
