// The commands that read OS objects and their attributes by name or number, and change
// attribute formulas: expr, getprop, getpropval, showlink.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <string>

bool command_expr(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_getprop(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_getpropval(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_showlink(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
