// The object commands. Not built yet: each answers 1, as an unknown command does, until the
// lookup by name and the object display arrive.
#include "plugin/object_commands.h"

bool command_expr(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
bool command_getprop(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
bool command_getpropval(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
bool command_showlink(OSA_ServiceCntx*, PluginState&, const std::string&) {
  return false;
}
