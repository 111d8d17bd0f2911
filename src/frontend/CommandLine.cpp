#include "frontend/CommandLine.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

#include <CLI/CLI.hpp>

#include "decode/Korvane.h"
#include "frontend/HeaderClock.h"
#include "frontend/OptionTable.h"
#include "frontend/Progress.h"
#include "frontend/SettingsPath.h"

namespace veltrix {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitExceptions = 3;

// Where the parser leaves what one option of the table was given.
struct ParsedOption {
  const OptionRecord* record = nullptr;
  CLI::Option* option = nullptr;
  bool on = false;
  std::string text;
  int number = 0;
};

// One parser option per table row, in table order. `parsed` holds one entry
// per row and must not move afterwards: the parser writes into it.
void AddTableOptions(CLI::App& app, std::span<ParsedOption> parsed) {
  const std::span<const OptionRecord> records = DecodeOptionRecords();
  for (std::size_t i = 0; i < records.size(); ++i) {
    const OptionRecord& record = records[i];
    ParsedOption& p = parsed[i];
    p.record = &record;
    std::string names = "--" + std::string(record.longName);
    if (record.shortName != 0) names = std::string("-") + record.shortName + "," + names;
    std::string help(record.help);
    if (!record.available) help += " (not available yet)";
    switch (record.kind) {
      case ValueKind::Flag:
        p.option = app.add_flag(names, p.on, help);
        break;
      case ValueKind::Text:
        p.option = app.add_option(names, p.text, help);
        break;
      case ValueKind::Integer:
        p.option = app.add_option(names, p.number, help);
        break;
    }
    if (record.kind != ValueKind::Flag) p.option->type_name(std::string(record.valueName));
  }
}

// Writes one line for each option given whose feature is not built yet.
// Returns whether there was any.
bool ReportUnavailableOptions(std::span<const ParsedOption> parsed) {
  bool any = false;
  for (const ParsedOption& p : parsed) {
    if (p.option->count() == 0 || p.record->available) continue;
    std::cerr << "veltrix: " << NotAvailableText(*p.record) << "\n";
    any = true;
  }
  return any;
}

OptionChoices ApplyParsedOptions(std::span<const ParsedOption> parsed) {
  OptionChoices choices;
  choices.settings.ForceMatch = 0;  // the command line names every output itself
  for (const ParsedOption& p : parsed) {
    if (p.option->count() == 0) continue;
    if (p.record->kind == ValueKind::Flag && !p.on) continue;  // --flag=false asks for the default
    p.record->set(choices, {p.text, p.number});
  }
  return choices;
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  CLI::App app{"Lists every command of a printer job (PCL 5, HP-GL/2, PCL XL, PJL) with its parameters and data."};
  app.set_version_flag("--version", std::string("veltrix ") + VELTRIX_VERSION);
  app.get_formatter()->column_width(30);

  std::vector<std::string> sources;
  app.add_option("SOURCE", sources,
                 "Print files; '*' and '?' in a file name (quoted) match files; '-' reads standard input")
      ->required();
  std::vector<ParsedOption> parsed(DecodeOptionRecords().size());
  AddTableOptions(app, parsed);
  bool quiet = false;
  app.add_flag("-q,--quiet", quiet, "No progress line on the terminal");
  std::string factsPath;
  app.add_option("--facts", factsPath, "Write the job's facts as JSON to FILE ('-' is standard output)")
      ->type_name("FILE");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kExitUsage;
  }
  if (ReportUnavailableOptions(parsed)) return kExitUsage;

  OptionChoices choices = ApplyParsedOptions(parsed);
  if (!choices.problem.empty()) {
    std::cerr << "veltrix: " << choices.problem << "\n";
    return kExitUsage;
  }
  choices.settings.settingsPath = SettingsFilePath();
  DecodeRequest request;
  if (!BuildRequestFromChoices(choices, sources, request)) {
    std::cerr << "veltrix: the source name is empty\n";
    return kExitUsage;
  }
  request.clock = ReadHeaderClock();
  if (!factsPath.empty()) {
    if (factsPath == "-" && request.listingToStdout) {
      std::cerr << "veltrix: --facts - needs the listing elsewhere (-o FILE, or -o /dev/null)\n";
      return kExitUsage;
    }
    request.factsPath = factsPath;
  }

  DecodeProgress progress;
  int result = 0;
  if (WantProgressDisplay(quiet)) {
    request.progress = &progress;
    const ProgressDisplay display(progress, STDERR_FILENO);
    result = DecodeFiles(request);
  } else {
    result = DecodeFiles(request);
  }
  if (!request.message.empty()) {
    std::string message = request.message;
    while (!message.empty() && message.back() == '\n') message.pop_back();
    std::cerr << "veltrix: " << message;
    if (!request.messageDetail.empty()) std::cerr << " (" << request.messageDetail << ")";
    std::cerr << "\n";
    return kExitFailed;
  }
  if (result != 0) return kExitFailed;
  if (choices.strict && request.exceptionCount > 0) return kExitExceptions;
  return 0;
}

}  // namespace veltrix
