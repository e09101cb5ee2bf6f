// The configuration file: saveconfig writes the user's register settings as plug-in commands,
// one per line, and loadconfig replays such a file through the command table.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <string>

bool command_saveconfig(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_loadconfig(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
