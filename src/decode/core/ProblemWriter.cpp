#include "decode/core/ProblemWriter.h"

namespace veltrix {

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
}

void LogProblem(DecodeContext& ctx, std::string_view header, std::string_view line, OutputSink* alsoTo) {
  CountProblem(ctx);
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

}  // namespace veltrix
