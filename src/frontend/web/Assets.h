// The page's files (HTML, script, style), built into the program from
// src/frontend/web/assets/ so that nothing needs installing beside it.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace veltrix {

struct EmbeddedAsset {
  std::string_view name;  // the file name, "app.js"
  const unsigned char* bytes = nullptr;
  std::size_t size = 0;
};

// Made at build time from the assets folder.
std::span<const EmbeddedAsset> EmbeddedAssets();

// The asset by its file name; nullptr when there is none.
const EmbeddedAsset* FindAsset(std::string_view name);

// The content type for a file name's extension.
std::string_view AssetContentType(std::string_view name);

}  // namespace veltrix
