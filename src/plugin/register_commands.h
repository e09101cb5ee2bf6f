// The commands that teach the plug-in register names and where a task's registers were saved:
// mapregname, regname, mapregloc, mapregloc2.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <string>

bool command_mapregname(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_regname(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_mapregloc(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_mapregloc2(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
