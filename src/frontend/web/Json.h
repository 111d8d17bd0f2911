// A small JSON writer for the page's replies: objects, arrays, strings and
// numbers, written in order. Text that is not UTF-8 (a listing may hold any
// byte) is shown byte by byte as Latin-1, so the reply is always valid.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrix {

class JsonWriter {
 public:
  JsonWriter& Open(char bracket);  // '{' or '['
  JsonWriter& Close(char bracket);  // '}' or ']'
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view text);
  JsonWriter& Number(std::int64_t value);
  JsonWriter& Number(std::uint64_t value);
  JsonWriter& Bool(bool value);
  const std::string& Text() const { return out_; }

 private:
  void Separate();
  std::string out_;
  bool needComma_ = false;
};

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

}  // namespace veltrix
