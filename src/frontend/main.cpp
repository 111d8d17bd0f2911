#include "frontend/CommandLine.h"

int main(int argc, char** argv) { return veltrix::RunCommandLine(argc, argv); }
