// The commands that act on the plug-in itself: caches, help, version, quiet, the message
// levels, the context flags, the formula display switch and ORTI loading.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <string>

bool command_clearcache(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_help(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_version(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_quiet(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_set_debuglevel(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_set_loglevel(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_set_suppress_context_errors(OSA_ServiceCntx* ctx, PluginState& state,
                                         const std::string& args);
bool command_set_check_context_validity(OSA_ServiceCntx* ctx, PluginState& state,
                                        const std::string& args);
bool command_togglesymbols(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_load_orti(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_playdead(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);

// The flag argument of the two "set" flag commands: false when it begins with "false", "0" or
// "off" (and not with "true", "1" or "on"); true otherwise, an empty argument included.
bool flag_argument(const std::string& args);
