// load_orti: the ORTI file into the plug-in state, once per state.
//
// The file is opened where the user said, or where the debugger's configuration-file search
// finds it; parse errors, parser warnings and the model builder's load traces reach the user
// through the leveled messages (errors at level 0, warnings at 100, traces at 100 + detail).
// A failed load keeps nothing, so the user may mend the file and load again; a successful one
// prepares the object cursors and the per-task records and may not be repeated.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <cstdint>

inline constexpr const char* kVersionBanner = "ORTI OSA Module 0.5";

// path: as the user gave it (null or empty: a usage message). extended_syntax: 0 or 1.
// Returns 0 on success, 1 on failure.
int32_t load_orti(PluginState& state, OSA_ServiceCntx* ctx, const char* path, int extended_syntax);
