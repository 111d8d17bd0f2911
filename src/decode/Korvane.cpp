#include "decode/Korvane.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "decode/DecodeStream.h"
#include "decode/FactsJson.h"
#include "decode/core/DecodeProgress.h"
#include "decode/FileSearch.h"
#include "decode/OutputFiles.h"
#include "decode/OutputNames.h"
#include "decode/ReportHeader.h"
#include "decode/RunState.h"
#include "decode/core/TemporarySpool.h"

namespace veltrix {

namespace {

constexpr char kStandardOutputName[] = "standard output";

// The outputs of the file (or files) being decoded.
struct RunOutputs {
  OutputFile listing;
  OutputFile widths;
  OutputFile log;
  OutputFile stripped;
  OutputFile kept;
  // Standard output carries the listing when it is asked there, and the
  // SYSERR line of a language without a decoder in any case.
  OutputSink standardOutput{STDOUT_FILENO, false};
  bool listingOnStandardOutput = false;
};

struct Run {
  DecodeRequest& request;
  RunState& state;
  RunOutputs outputs;
  std::vector<FileIdentity> inputs;
  ListingTemplate listingTemplate;
  bool sourceHasWildcard = false;
  std::string writeError;  // "error writing FILE: reason" of the first output that failed; it ends the run
  // --facts: the document's destination (a file, or standard output) and
  // what the decoders collect for it.
  OutputFile factsFile;
  OutputSink* factsSink = nullptr;
  std::unique_ptr<JobFacts> facts;
  bool factsStarted = false;  // a file's object has been written
};

int Fail(DecodeRequest& request, std::string message, std::string detail) {
  request.message = std::move(message);
  request.messageDetail = std::move(detail);
  return 1;
}

void NoteWriteError(Run& run, const std::string& name, int error) {
  if (error != 0 && run.writeError.empty()) {
    run.writeError = StringPrintf("error writing %s: %s", name.c_str(), std::strerror(error));
  }
}

// Separate extracted-font files are opened by the extractor through this,
// under the same rule as every output: never over an input of the run.
FontFileOpener MakeFontFileOpener(const Run& run) {
  const std::vector<FileIdentity>* inputs = &run.inputs;
  return [inputs](const std::string& path, bool append, std::string& why) -> std::unique_ptr<OutputSink> {
    OutputFile file;
    if (!OpenOutputFile(path, *inputs, file, why, append)) return nullptr;
    return std::move(file.sink);
  };
}

// Stripping and extraction read the job again by offset, from the file.
void StartFontOutputs(Run& run, ByteReader& input) {
  RunState& state = run.state;
  DecodeContext& ctx = state.ctx;
  StartStrip(state.strip, input, ctx.strippedFile ? *ctx.strippedFile : state.nullSink, ctx.strippedFile != nullptr);
  const bool separate = (ctx.flags & DF_KEEP_SEPARATE) != 0;
  if (ctx.keptFile || separate) {
    StartKeep(state.keep, input, ctx.keptFile, run.request.firstFontId, separate, run.request.kept.value_or(""),
              MakeFontFileOpener(run));
  } else {
    StartKeep(state.keep, input, nullptr, -1, false, "", nullptr);
  }
}

// A separate font file that could not be made or written is reported, as
// any output the user asked for; the run goes on.
void FinishFontOutputs(Run& run, std::uint64_t inputEnd) {
  RunState& state = run.state;
  if (state.strip.enabled) FinishStrip(state.strip, inputEnd);
  FinishKeep(state.keep);
  const KeepState& keep = state.keep;
  if (!keep.openFailurePath.empty() && run.request.message.empty()) {
    run.request.message = StringPrintf("Error opening kept fnts output file %s\n", keep.openFailurePath.c_str());
    run.request.messageDetail = keep.openFailureReason;
    run.request.completed = false;
  }
  NoteWriteError(run, keep.writeFailurePath, keep.writeFailureError);
  if ((state.strip.copyFailed || keep.copyFailed) && run.request.message.empty()) {
    run.request.message = "Error reading the job again for its fonts (the input cannot be re-read)\n";
    run.request.completed = false;
  }
}

void CloseChecked(Run& run, OutputFile& file) {
  const std::string path = file.path;  // cleared by the close
  NoteWriteError(run, path, CloseOutputFile(file));
}

// Flushes the outputs still open after a file and notes a write that failed,
// so that a full disk ends the run after the current file instead of losing
// the output of every later file as well. The decode of the file itself runs
// to its end; a failed sink drops what it is given.
void FlushAndCheckOutputs(Run& run) {
  RunOutputs& out = run.outputs;
  for (const OutputFile* file : {&out.listing, &out.widths, &out.log, &out.stripped, &out.kept}) {
    if (!file->sink) continue;
    file->sink->Flush();
    NoteWriteError(run, file->path, file->sink->Error());
  }
  out.standardOutput.Flush();
  NoteWriteError(run, kStandardOutputName, out.standardOutput.Error());
}

void CloseOutputs(Run& run) {
  RunOutputs& out = run.outputs;
  CloseChecked(run, out.listing);
  CloseChecked(run, out.widths);
  CloseChecked(run, out.log);
  CloseChecked(run, out.stripped);
  CloseChecked(run, out.kept);
  out.standardOutput.Flush();
  NoteWriteError(run, kStandardOutputName, out.standardOutput.Error());
  DecodeContext& ctx = run.state.ctx;
  ctx.listing = out.listingOnStandardOutput ? &out.standardOutput : nullptr;
  ctx.widthsFile = ctx.errorFile = ctx.strippedFile = ctx.keptFile = nullptr;
}

// Names are derived only from a listing that is a regular file: standard
// output, a device (/dev/null) or a FIFO has no directory of its own to put
// a job.LOG beside.
bool ListingNamesSideFiles(const RunOutputs& out) {
  return !out.listingOnStandardOutput && out.listing.regularFile && !out.listing.path.empty();
}

// Opens a side file under its own name (a failure is reported and the run
// goes on) or under the name derived from the listing (silently).
void OpenSideFile(Run& run, OutputFile& file, const char* kind, const std::optional<std::string>& name,
                  const char* ext) {
  std::string why;
  if (name && !name->empty()) {
    if (!OpenOutputFile(*name, run.inputs, file, why)) {
      run.request.message = StringPrintf("Error opening %s output file %s\n", kind, name->c_str());
      run.request.messageDetail = why;
      run.request.completed = false;
    }
    return;
  }
  if (!ListingNamesSideFiles(run.outputs)) return;
  OpenOutputFile(DeriveOutputName(run.outputs.listing.path, ext), run.inputs, file, why);
}

int OpenOutputs(Run& run, const SourceFile& source, bool firstFile) {
  DecodeContext& ctx = run.state.ctx;
  if (!firstFile && run.listingTemplate.wildcards == 0) return 0;  // one set of outputs for the run
  if (!firstFile) {
    CloseOutputs(run);
    if (!run.writeError.empty()) return 1;  // an output of the previous file failed at its close
  }
  RunOutputs& out = run.outputs;
  if (!out.listingOnStandardOutput) {
    const std::string path = ListingPathFor(run.listingTemplate, source.name);
    std::string why;
    if (!OpenOutputFile(path, run.inputs, out.listing, why)) {
      return Fail(run.request, StringPrintf("Error opening %s for output\n", path.c_str()), why);
    }
    ctx.listing = out.listing.sink.get();
  }
  const std::uint32_t flags = ctx.flags;
  if (flags & DF_EXTRACT_WIDTHS) OpenSideFile(run, out.widths, "widths", run.request.widths, "WID");
  if (!(flags & DF_SUPPRESS)) {
    // A log named by the user stands in for the derived one where there is
    // nothing to derive it from.
    const bool named = run.request.logPath && !ListingNamesSideFiles(out);
    OpenSideFile(run, out.log, "log", named ? run.request.logPath : std::nullopt, "LOG");
    out.log.deleteIfEmpty = true;
    ctx.flags &= ~DF_ERROR_LOG;  // from here on the decoders test the stream
  }
  if (flags & DF_STRIP_FONTS) OpenSideFile(run, out.stripped, "stripped", run.request.stripped, "STP");
  if ((flags & DF_KEEP_FONTS) && !(flags & DF_KEEP_SEPARATE)) {
    OpenSideFile(run, out.kept, "kept fnts", run.request.kept, "FNT");
  }
  ctx.widthsFile = out.widths.sink.get();
  ctx.errorFile = out.log.sink.get();
  ctx.strippedFile = out.stripped.sink.get();
  ctx.keptFile = out.kept.sink.get();
  return 0;
}

// Opens the facts document, under the rule of every output: never over an
// input. The file then counts as an input itself, so that no listing or
// side file of the run can be written over it.
int OpenFacts(Run& run) {
  const std::string& path = *run.request.factsPath;
  if (path == "-") {
    if (run.outputs.listingOnStandardOutput) {
      return Fail(run.request, "The listing and the facts cannot both go to standard output\n",
                  "name a file with -o or --facts");
    }
    run.factsSink = &run.outputs.standardOutput;
  } else {
    std::string why;
    if (!OpenOutputFile(path, run.inputs, run.factsFile, why)) {
      return Fail(run.request, StringPrintf("Error opening %s for output\n", path.c_str()), why);
    }
    run.factsSink = run.factsFile.sink.get();
    FileIdentity identity;
    if (run.factsFile.regularFile && IdentifyFile(path, identity)) run.inputs.push_back(identity);
  }
  run.facts = std::make_unique<JobFacts>();
  run.state.ctx.facts = run.facts.get();
  run.state.ctx.problemFacts = &run.facts->problems;
  BeginFactsDocument(*run.factsSink);
  return 0;
}

// Ends the facts document with the status the command line gives under
// --strict, and closes it.
void CloseFacts(Run& run, bool failed) {
  if (run.factsSink == nullptr) return;
  const DecodeRequest& request = run.request;
  const bool completed = !failed && run.writeError.empty() && !run.state.ctx.abortFile && request.message.empty();
  const int status = !completed ? 1 : request.exceptionCount > 0 ? 3 : 0;
  EndFactsDocument(*run.factsSink, request.exceptionCount, status, completed);
  if (run.factsFile.sink) {
    CloseChecked(run, run.factsFile);
  } else {
    run.factsSink->Flush();
    NoteWriteError(run, kStandardOutputName, run.factsSink->Error());
  }
  run.factsSink = nullptr;
  run.state.ctx.facts = nullptr;
  run.state.ctx.problemFacts = nullptr;
}

// Opens a source for reading. A directory is refused.
int OpenSource(const SourceFile& source, std::string& why) {
  if (source.standardInput) return STDIN_FILENO;
  const int fd = ::open(source.path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    why = std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    why = "it is a directory";
    return -1;
  }
  return fd;
}

int DecodeOneFile(Run& run, const SourceFile& source, bool firstFile) {
  RunState& state = run.state;
  std::string why;
  int fd = OpenSource(source, why);
  if (fd < 0) return Fail(run.request, StringPrintf("Error opening %s for reading\n", source.path.c_str()), why);
  // Standard input cannot be read again: stripping and extraction get a
  // spooled copy of it.
  bool spooled = false;
  if (source.standardInput && (state.ctx.flags & (DF_STRIP_FONTS | DF_KEEP_FONTS))) {
    fd = SpoolToTemporaryFile(fd, why);
    if (fd < 0) return Fail(run.request, "Error reading standard input\n", why);
    spooled = true;
  }
  const bool ownsFd = !source.standardInput || spooled;
  struct stat st {};
  const std::uint64_t inputEnd = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
  ByteReader input(fd);
  if (DecodeProgress* progress = run.request.progress) {
    progress->fileSize.store(inputEnd, std::memory_order_relaxed);
    progress->bytesRead.store(0, std::memory_order_relaxed);
    progress->fileNumber.fetch_add(1, std::memory_order_relaxed);
    input.ReportProgressTo(&progress->bytesRead);
  }
  const bool startsWithPjl = StartsWithPjl(input);
  if (OpenOutputs(run, source, firstFile) != 0) {
    if (ownsFd) ::close(fd);
    return 1;
  }
  DecodeContext& ctx = state.ctx;
  ctx.input = &input;
  const std::string shownPath = source.standardInput ? "<stdin>" : source.path;
  const std::optional<std::string> shownDest = run.outputs.listingOnStandardOutput ? std::nullopt : run.request.dest;
  WriteReportHeader(*ctx.listing, shownPath, shownDest, firstFile, ctx.flags & DF_SUPPRESS, run.request.clock);
  if (run.sourceHasWildcard && ctx.widthsFile) {
    WriteReportHeader(*ctx.widthsFile, shownPath, std::nullopt, firstFile, false, run.request.clock);
  }

  state.syserrSink = &run.outputs.standardOutput;
  StartFontOutputs(run, input);
  StartTrackers(state);
  if (run.facts) {
    StartJobFacts(*run.facts);
    state.fontRegistry.summaryOn = true;  // the facts list the fonts even without the summary
  }
  ctx.budget = ListingBudget{};
  ctx.budget.limit = run.request.maxOutput ? *run.request.maxOutput : DefaultListingBudget(inputEnd);
  ctx.budget.start = ctx.listing->BytesWritten();
  ctx.budget.discard = &state.nullSink;
  RunPersonalityLoop(state, startsWithPjl);
  if (run.facts) EndStretches(*run.facts, input.Offset());
  if (ctx.budget.reached) {
    run.request.message = StringPrintf("Listing stopped: output budget of %llu bytes reached\n",
                                       static_cast<unsigned long long>(ctx.budget.limit));
    run.request.messageDetail = shownPath;
  }
  EndListingBudget(ctx);
  FinishFontOutputs(run, inputEnd);
  if (input.Failed()) {
    run.request.message = StringPrintf("Error reading %s\n", source.path.c_str());
  }
  // The stripped job and the single extracted-fonts file are finished with
  // their first source file.
  CloseChecked(run, run.outputs.stripped);
  CloseChecked(run, run.outputs.kept);
  ctx.strippedFile = ctx.keptFile = nullptr;
  if (ownsFd) ::close(fd);

  WriteSummaries(state);
  if (run.facts) {
    WriteFileFacts(*run.factsSink, !run.factsStarted, shownPath, inputEnd > 0 ? inputEnd : input.Offset(), state,
                   *run.facts, state.ctx.exceptionCount);
    run.factsStarted = true;
  }
  EndTrackers(state);
  ctx.input = nullptr;
  run.request.exceptionCount += state.ctx.exceptionCount;
  state.ctx.exceptionCount = 0;
  return 0;
}

}  // namespace

int DecodeFiles(DecodeRequest& request) {
  request.completed = false;
  request.message.clear();
  request.messageDetail.clear();
  request.exceptionCount = 0;

  auto state = std::make_unique<RunState>();
  DecodeContext& ctx = state->ctx;
  ctx.level = request.level;
  ctx.flags = AdjustRunFlags(request.flags, request.level, request.kept && !request.kept->empty());
  SetTablesFile(state->names,
                request.tablesPath ? *request.tablesPath : DirectoryPart(request.settingsPath) + "veltrix.ini");

  Run run{request, *state};
  std::vector<std::string> sources{request.source};
  sources.insert(sources.end(), request.moreSources.begin(), request.moreSources.end());
  std::vector<SourceFile> files;
  for (const std::string& source : sources) {
    const std::vector<SourceFile> found = FindSourceFiles(source);
    if (found.empty()) return Fail(request, StringPrintf("Error opening %s for reading\n", source.c_str()), "no such file");
    files.insert(files.end(), found.begin(), found.end());
    if (source.find('*') != std::string::npos) run.sourceHasWildcard = true;
  }
  if (sources.size() > 1) run.sourceHasWildcard = true;
  for (const SourceFile& file : files) {
    FileIdentity identity;
    if (!file.standardInput && IdentifyFile(file.path, identity)) run.inputs.push_back(identity);
  }

  if (request.listingToStdout) {
    run.outputs.listingOnStandardOutput = true;
    ctx.listing = &run.outputs.standardOutput;
  } else {
    run.listingTemplate = MakeListingTemplate(request.dest, files.front().directory);
    if (run.listingTemplate.wildcards > 1) {
      return Fail(request, StringPrintf("Invalid wildcard expression in output filename : %s\n", request.dest->c_str()),
                  "the listing name may hold one '*'");
    }
  }

  if (request.progress) {
    request.progress->fileCount.store(static_cast<std::uint32_t>(files.size()), std::memory_order_relaxed);
    request.progress->fileNumber.store(0, std::memory_order_relaxed);
  }
  if (request.factsPath && OpenFacts(run) != 0) return 1;
  bool failed = false;
  bool firstFile = true;
  for (const SourceFile& file : files) {
    if (DecodeOneFile(run, file, firstFile) != 0) {
      failed = true;
      break;
    }
    FlushAndCheckOutputs(run);
    if (!run.writeError.empty()) break;
    firstFile = false;
  }
  CloseFacts(run, failed);
  CloseOutputs(run);
  // Lost output outweighs any earlier message: the run did not do its job.
  if (!run.writeError.empty()) return Fail(request, run.writeError, "");
  if (failed) return 1;
  if (ctx.abortFile) {
    request.message = "Aborted";
    return 1;
  }
  request.completed = true;
  return 0;
}

}  // namespace veltrix
