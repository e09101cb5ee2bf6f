// Creation, cleanup and deferred destruction of the plug-in state.
#include "plugin/plugin_state.h"

namespace {

// The one process-wide count of the plug-in's retired states.
std::size_t g_retired_states = 0;

void destroy(PluginState* state) {
  if (state->retired) {
    --g_retired_states;
  }
  delete state;
}

// Installed as the area's release function: a context record destroyed with the link still
// set (the process ends without OsaCleanup) frees the state too.
void release_linked(PluginState* state) {
  if (state->uses > 0) {
    state->retired = true;
    ++g_retired_states;
    return;
  }
  destroy(state);
}

} // namespace

PluginState* plugin_state_create() {
  return new PluginState();
}

PluginState* plugin_state_ensure(ClientArea& area) {
  if (area.plugin_state == nullptr) {
    area.plugin_state = plugin_state_create();
    area.plugin_state_release = release_linked;
  }
  return area.plugin_state;
}

void plugin_state_cleanup(ClientArea& area) {
  PluginState* state = area.plugin_state;
  area.plugin_state = nullptr;
  area.plugin_state_release = nullptr;
  if (state != nullptr) {
    release_linked(state);
  }
}

PluginStateUse::PluginStateUse(PluginState* state) : state_(state) {
  if (state_ != nullptr) {
    ++state_->uses;
  }
}

PluginStateUse::~PluginStateUse() {
  if (state_ != nullptr && --state_->uses == 0 && state_->retired) {
    destroy(state_);
  }
}

std::size_t plugin_states_retired() {
  return g_retired_states;
}
