#include "frontend/SettingsPath.h"

#include <cstdlib>

namespace veltrix {

std::string SettingsFilePath() {
  auto env = [](const char* name) -> std::string {
    const char* value = std::getenv(name);
    return value ? value : "";
  };
  std::string directory = env("VELTRIX_HOME");
  if (directory.empty()) {
    const std::string config = env("XDG_CONFIG_HOME");
    if (!config.empty()) {
      directory = config + "/veltrix";
    } else if (const std::string home = env("HOME"); !home.empty()) {
      directory = home + "/.config/veltrix";
    }
  }
  if (directory.empty()) return "veltrix.ini";
  if (directory.back() != '/') directory += '/';
  return directory + "veltrix.ini";
}

}  // namespace veltrix
