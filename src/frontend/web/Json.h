// The page's replies are JSON documents made with nlohmann-json. Text from a
// job, a listing or a file name is bytes, not UTF-8: PageText keeps valid
// UTF-8 as it is and turns every other byte into the Latin-1 character of its
// value, so that every reply can be written and the page shows each byte.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace veltrix {

using PageJson = nlohmann::json;

std::string PageText(std::string_view bytes);

// The reply's text.
std::string PageJsonText(const PageJson& value);

}  // namespace veltrix
