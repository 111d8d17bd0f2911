// Stored streams: BeginStream to EndStream keep a block of PCL XL under a
// name (names match without regard to case); ExecStream reads it again as if
// it stood in the job at that place.
#include <algorithm>

#include "pclxl/XlAttributes.h"
#include "pclxl/XlOperators.h"

namespace veltrix {

namespace {

constexpr std::uint8_t kLineFeed = 0x0A;

// Stream operators are refused inside a stream being executed, so that one
// stream can never run another (or itself).
bool CheckStreamOperator(XlReader& reader, XlDataBlock block) {
  if (reader.tagFromStream || reader.memorySource.active) return XlFail(reader, XL_ERR_STREAM_IN_STREAM);
  return reader.state.dataBlock == block || XlFail(reader, XL_ERR_ILLEGAL_SEQUENCE);
}

}  // namespace

bool XlBeginStream(XlReader& reader, std::uint8_t) {
  if (!CheckStreamOperator(reader, XL_BLOCK_NONE)) return false;
  std::string name;
  if (!XlRequireName(reader, XL_ATTR_STREAM_NAME, name)) return false;
  XlInterpreterState& s = reader.state;
  s.currentStream = XlNameKey(name);
  s.streams[s.currentStream] = std::make_shared<const std::vector<std::uint8_t>>();
  s.blockBuffer.clear();
  s.dataBlock = XL_BLOCK_STREAM;
  return true;
}

bool XlReadStream(XlReader& reader, std::uint8_t) {
  if (!CheckStreamOperator(reader, XL_BLOCK_STREAM)) return false;
  std::int32_t length = 0;
  if (!XlRequireInteger(reader, XL_ATTR_STREAM_DATA_LENGTH, length)) return false;
  const XlValue* data = XlRequireEmbeddedData(reader, length);
  if (data == nullptr) return false;
  std::vector<std::uint8_t>& buffer = reader.state.blockBuffer;
  buffer.insert(buffer.end(), data->data.begin(), data->data.end());
  return true;
}

bool XlEndStream(XlReader& reader, std::uint8_t) {
  if (!CheckStreamOperator(reader, XL_BLOCK_STREAM)) return false;
  XlInterpreterState& s = reader.state;
  if (s.blockBuffer.empty()) return XlFail(reader, XL_ERR_MISSING_DATA);
  s.streams[s.currentStream] = std::make_shared<const std::vector<std::uint8_t>>(std::move(s.blockBuffer));
  s.blockBuffer = {};
  s.dataBlock = XL_BLOCK_NONE;
  return true;
}

bool XlExecStream(XlReader& reader, std::uint8_t) {
  if (!CheckStreamOperator(reader, XL_BLOCK_NONE)) return false;
  std::string name;
  if (!XlRequireName(reader, XL_ATTR_STREAM_NAME, name)) return false;
  const auto it = reader.state.streams.find(XlNameKey(name));
  if (it == reader.state.streams.end()) return XlFail(reader, XL_ERR_STREAM_UNDEFINED);
  const std::vector<std::uint8_t>& bytes = *it->second;
  // A stored stream starts with its own binding header line, which is not read again.
  const auto lineEnd = std::find(bytes.begin(), bytes.end(), kLineFeed);
  if (lineEnd == bytes.end()) return true;
  XlStartStoredStream(reader, it->second, static_cast<std::size_t>(lineEnd - bytes.begin()) + 1);
  return true;
}

}  // namespace veltrix
