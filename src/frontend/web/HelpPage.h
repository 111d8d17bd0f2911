// The help page: what each control of the page does, the commands, the
// settings file, and the command-line options that ask for the same.
#pragma once

#include <string>
#include <string_view>

namespace veltrix {

// The page as HTML; `token` goes into its links back to the server.
std::string HelpPageHtml(std::string_view settingsPath, std::string_view token);

// Text made safe for HTML.
std::string HtmlEscape(std::string_view text);

}  // namespace veltrix
