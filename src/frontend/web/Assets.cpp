#include "frontend/web/Assets.h"

#include <algorithm>

namespace veltrix {

const EmbeddedAsset* FindAsset(std::string_view name) {
  const auto assets = EmbeddedAssets();
  const auto it = std::ranges::find(assets, name, &EmbeddedAsset::name);
  return it != assets.end() ? &*it : nullptr;
}

std::string_view AssetContentType(std::string_view name) {
  if (name.ends_with(".html")) return "text/html; charset=utf-8";
  if (name.ends_with(".js")) return "text/javascript; charset=utf-8";
  if (name.ends_with(".css")) return "text/css; charset=utf-8";
  if (name.ends_with(".svg")) return "image/svg+xml";
  return "application/octet-stream";
}

}  // namespace veltrix
