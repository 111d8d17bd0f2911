// Where the settings file (which is also the tables file) lives.
#pragma once

#include <string>

namespace veltrix {

// $VELTRIX_HOME/veltrix.ini, else $XDG_CONFIG_HOME/veltrix/veltrix.ini, else
// ~/.config/veltrix/veltrix.ini.
std::string SettingsFilePath();

}  // namespace veltrix
