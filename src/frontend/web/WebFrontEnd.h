// `veltrix --ui [--port N] [--no-browser] [SOURCE]`: the dialog as a page
// in the user's browser, served from this process.
#pragma once

namespace veltrix {

// Whether the arguments ask for the page (any of them is "--ui").
bool AsksForWebPage(int argc, char** argv);

// Loads the settings, serves the page until Close or SIGINT/SIGTERM, saves
// the settings. Returns the exit status (0, 1 failed, 2 bad usage).
int RunWebPage(int argc, char** argv);

}  // namespace veltrix
