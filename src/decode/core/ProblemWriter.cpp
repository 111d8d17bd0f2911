#include "decode/core/ProblemWriter.h"

namespace veltrix {

namespace {

// A problem line longer than this is cut in the facts.
constexpr std::size_t kMaxProblemFactText = 256;

}  // namespace

void WriteLineHeader(DecodeContext& ctx, OutputSink& out, std::string_view header) {
  if (&out == ctx.listing) EndListingLine(ctx);
  out.PutPadded(header, kHeaderWidth);
}

void ReportProblem(DecodeContext& ctx, std::string_view header, std::string_view listingText,
                   std::string_view logText) {
  WriteLineHeader(ctx, *ctx.listing, header);
  ctx.listing->Put(listingText);
  if (ctx.errorFile) {
    WriteLineHeader(ctx, *ctx.errorFile, header);
    ctx.errorFile->Put(logText);
    ++ctx.errorCount;
  }
  CountProblem(ctx);
  RecordProblemFact(ctx, header, listingText);
}

void LogProblem(DecodeContext& ctx, std::string_view header, std::string_view line, OutputSink* alsoTo) {
  CountProblem(ctx);
  RecordProblemFact(ctx, header, line);
  if (ctx.errorFile) {
    WriteLineHeader(ctx, *ctx.errorFile, header);
    ctx.errorFile->Put(line);
    ctx.errorFile->Put('\n');
    ++ctx.errorCount;
  }
  if (alsoTo) {
    WriteLineHeader(ctx, *alsoTo, header);
    alsoTo->Put(line);
    alsoTo->Put('\n');
  }
}

void RecordProblemFact(DecodeContext& ctx, std::string_view header, std::string_view text) {
  ProblemFacts* facts = ctx.problemFacts;
  if (facts == nullptr) return;
  while (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  std::string line(header);
  if (line.size() < kHeaderWidth && !header.empty()) line.resize(kHeaderWidth, ' ');
  line.append(text.substr(0, kMaxProblemFactText));
  if (line.size() > kMaxProblemFactText) line.resize(kMaxProblemFactText);
  facts->log.AppendVarint(ctx.input ? ctx.input->Offset() : 0);
  facts->log.AppendVarint(line.size());
  facts->log.Append(reinterpret_cast<const std::uint8_t*>(line.data()), line.size());
  ++facts->count;
}

bool ReadProblemFact(SpillLog::Reader& in, std::uint64_t& offset, std::string& text) {
  if (in.AtEnd()) return false;
  offset = in.Varint();
  const std::uint64_t length = in.Varint();
  text.clear();
  for (std::uint64_t i = 0; i < length && i < kMaxProblemFactText && !in.AtEnd(); ++i) {
    text.push_back(static_cast<char>(in.Byte()));
  }
  return true;
}

}  // namespace veltrix
