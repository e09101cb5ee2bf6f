// The register commands. Not built yet: each answers 1 until task register access arrives.
#include "plugin/register_commands.h"

bool command_mapregname(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
bool command_regname(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
bool command_mapregloc(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
bool command_mapregloc2(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
