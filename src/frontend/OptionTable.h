// The decode options that a front end offers, as one table: each row names
// an option, says what value it takes and how it sets the settings or the
// request. The command line generates its parser from it; a front end that
// shows the options as a form reads the same rows, so that both build the
// same request.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "decode/core/DecodeOptions.h"

namespace veltrix {

// What the options of one run have chosen, before the request is built: the
// settings that the dialog edits, and what only a front end sets.
struct OptionChoices {
  DecodeSettings settings;
  std::string output = "-";  // the listing; "-" is standard output
  std::int32_t level = 4;
  bool twoByteSummary = false;
  std::optional<std::string> logPath;
  std::optional<std::string> tablesPath;
  bool strict = false;  // the command line's exit status 3 after exceptions
  std::optional<std::uint64_t> maxOutput;  // the listing budget of a file; none: the default
  std::string problem;  // an option value that cannot be used, said to the user
};

enum class ValueKind : std::uint8_t { Flag, Text, Integer };

// The value an option was given: a flag has none (its setter runs only when
// it is on), a text option its text, an integer option its number.
struct OptionValue {
  std::string_view text = {};
  std::int32_t number = 0;
};

using OptionSetter = void (*)(OptionChoices& choices, const OptionValue& value);

struct OptionRecord {
  std::string_view longName = {};   // without the leading "--"
  char shortName = 0;               // 0: none
  ValueKind kind = ValueKind::Flag;
  std::string_view valueName = {};  // how help shows the value: DEST, FILE, N
  std::string_view help = {};
  OptionSetter set = nullptr;
  // false: the option is refused until its feature is built; `feature` names
  // that feature in the refusal.
  bool available = true;
  std::string_view feature = {};
};

// "1048576", "64K", "1G": a byte count; nullopt for anything else.
std::optional<std::uint64_t> ParseByteSize(std::string_view text);

// Every option, in the order help lists them.
std::span<const OptionRecord> DecodeOptionRecords();

// The row of an option by its long name; nullptr when there is none.
const OptionRecord* FindDecodeOption(std::string_view longName);

// "--strip is not available yet (font stripping is coming in a later version)"
std::string NotAvailableText(const OptionRecord& option);

// Builds the request from the choices and the sources (the first is the
// source, the others follow it in the same run), as the dialog would.
// Returns false when there is no source to decode.
bool BuildRequestFromChoices(OptionChoices& choices, std::span<const std::string> sources,
                             DecodeRequest& request);

}  // namespace veltrix
