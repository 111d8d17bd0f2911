#include "frontend/CommandLine.h"

#ifdef VELTRIX_WITH_WEB_PAGE
#include "frontend/web/WebFrontEnd.h"
#else
#include <iostream>
#include <string_view>
#endif

int main(int argc, char** argv) {
#ifdef VELTRIX_WITH_WEB_PAGE
  if (veltrix::AsksForWebPage(argc, argv)) return veltrix::RunWebPage(argc, argv);
#else
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--ui") {
      std::cerr << "veltrix: --ui is not in this build (it was made without libcpp-httplib-dev)\n";
      return 1;
    }
  }
#endif
  return veltrix::RunCommandLine(argc, argv);
}
