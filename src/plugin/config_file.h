// The configuration file: saveconfig writes the user's register settings as plug-in commands,
// one per line, and loadconfig replays such a file through the command table.
//
// Without a file name both use the default name, the loaded ORTI file's last path component
// followed by ".cfg". saveconfig puts it into the per-user configuration directory (created
// when missing); loadconfig looks for it beside the ORTI file first and then in that
// directory. A configuration file may load others (loadconfig is a command like any other);
// such nesting stops at kMaxConfigDepth files, so a file that loads itself fails instead of
// recursing without end.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <cstdint>
#include <string>
#include <vector>

inline constexpr int32_t kMaxConfigDepth = 8;

bool command_saveconfig(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
bool command_loadconfig(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);

// The default configuration file name of an ORTI file path: the text after the last "/" or
// "\" (or after a leading drive letter and colon) followed by ".cfg".
std::string default_config_name(const std::string& orti_path);

// What saveconfig writes for the state: its lines, each ended by "\n", and a warning for each
// setting that no command line can carry (a name or formula with a line break in it).
struct ConfigText {
  std::vector<std::string> lines;
  std::vector<std::string> skipped;
};
ConfigText config_text(const PluginState& state);
