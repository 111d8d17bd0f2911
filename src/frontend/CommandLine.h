// The command line: options to settings and request, then one decode run.
#pragma once

namespace veltrix {

// Runs the program; returns the exit status (0 done, 1 run failed, 2 bad
// usage, 3 exceptions found under --strict).
int RunCommandLine(int argc, char** argv);

}  // namespace veltrix
