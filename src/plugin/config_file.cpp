// The configuration file commands. Not built yet: each answers 1 until the register commands
// it saves and replays arrive.
#include "plugin/config_file.h"

bool command_saveconfig(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
bool command_loadconfig(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
