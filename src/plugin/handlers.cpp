// The plug-in's handlers of the OSA client methods.
#include "plugin/handlers.h"

#include "awareness/attribute_eval.h"
#include "awareness/cores.h"
#include "awareness/object_lists.h"
#include "awareness/osa_trace.h"
#include "awareness/register_tables.h"
#include "awareness/task_registers.h"
#include "awareness/tasks.h"
#include "plugin/command_table.h"
#include "plugin/plugin_state.h"

namespace {

PluginState* state_of(void* target) {
  return static_cast<PluginState*>(target);
}

// Installs the register table and gives every task a fresh register cache of its size (none
// without a table).
void install_register_table(PluginState& state, const RegisterIdTable* table) {
  state.register_table = table;
  for (TaskContextRecord& record : state.task_records) {
    record.registers.assign(table != nullptr ? static_cast<std::size_t>(table->count) : 0, {});
  }
}

} // namespace

int32_t handle_osa_init(OsaCntx*, ClientArea* area) {
  // A new record has no state; one left by an earlier life of the record is not carried over.
  plugin_state_cleanup(*area);
  area->versionAcknowledge = 2;
  return 0;
}

int32_t handle_osa_cleanup(OsaCntx*, ClientArea* area) {
  plugin_state_cleanup(*area);
  return 0;
}

int32_t handle_target_init(OsaCntx* ctx, ClientArea* area, TargetDataLink* target) {
  const auto major = static_cast<int16_t>(ctx->majorCpuType);
  const auto minor = static_cast<int16_t>(ctx->minorCpuType);
  set_option_flag(*area, kOptionKernelInPhysicalAddress, kernel_in_physical_address(major, minor));
  const bool existed = area->plugin_state != nullptr;
  PluginState* state = plugin_state_ensure(*area);
  PluginStateUse use(state);
  target->object = state;
  target->release = nullptr; // borrowed: the area's link owns the state
  if (existed && state->model != nullptr) {
    // The target may have been reloaded since the state last saw it.
    invalidate_caches(*state);
    report_cores_of_target(*state, ctx, ctx->coreCount);
  }
  const RegisterIdTable* table = find_register_table(major, minor);
  if (table == nullptr) {
    install_register_table(*state, nullptr);
    osa_trace(*state, ctx, 4,
              "Unrecognized CPU Architecture.  Task context switching and Task register access "
              "capabilities will be disabled\n");
    return 0;
  }
  for (const int32_t index : register_table_faults(*table)) {
    osa_trace(*state, ctx, 4, "Bad CPU Register id mapping %d\n", static_cast<int>(index));
  }
  install_register_table(*state, table);
  return 0;
}

int32_t handle_target_cleanup(OsaCntx*, ClientArea*, TargetDataLink* target) {
  target->object = nullptr;
  target->release = nullptr;
  return 0;
}

int32_t handle_object_list_init(OsaCntx* ctx, ClientArea*, void* target, int32_t objTypeId,
                                const ParentRecord* parent) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  ReferenceParent reference;
  if (parent != nullptr) {
    reference.object_id = parent->parentObjId;
    reference.type = static_cast<int32_t>(parent->parentObjTypeId);
    reference.attribute = static_cast<int32_t>(parent->parentObjListId);
  }
  return object_list_init(*state, ctx, objTypeId, parent != nullptr ? &reference : nullptr);
}

int32_t handle_object_list_cleanup(OsaCntx*, ClientArea*, void*, int32_t, const ParentRecord*) {
  return 0;
}

int32_t handle_object_list_next(OsaCntx* ctx, ClientArea*, void* target, int32_t objTypeId,
                                const ParentRecord* parent) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  ReferenceParent reference;
  if (parent != nullptr) {
    reference.object_id = parent->parentObjId;
    reference.type = static_cast<int32_t>(parent->parentObjTypeId);
    reference.attribute = static_cast<int32_t>(parent->parentObjListId);
  }
  return object_list_next(*state, ctx, objTypeId, parent != nullptr ? &reference : nullptr);
}

int32_t handle_object_list_attribute(OsaCntx* ctx, ClientArea*, void* target, int32_t objTypeId,
                                     const ParentRecord*, int32_t objAtrId, TypedValue* value) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  return object_list_attribute(*state, ctx, objTypeId, objAtrId, value);
}

int32_t handle_task_register_read(OsaCntx* ctx, ClientArea*, void* target, uint64_t taskId,
                                  int32_t reg, uint64_t* value) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  return readreg(*state, ctx, taskId, reg, value);
}

int32_t handle_task_register_write(OsaCntx* ctx, ClientArea*, void* target, uint64_t taskId,
                                   int32_t reg, uint64_t value) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  return writereg(*state, ctx, taskId, reg, value);
}

int32_t handle_task_name_get(OsaCntx* ctx, ClientArea*, void* target, uint64_t taskId,
                             TypedValue* value) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  return get_task_name(*state, ctx, taskId, value);
}

int32_t handle_task_status_get(OsaCntx* ctx, ClientArea*, void* target, uint64_t taskId,
                               TypedValue* value) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  return get_task_status(*state, ctx, taskId, value);
}

int32_t handle_current_task_get(OsaCntx* ctx, ClientArea*, void* target, uint64_t core,
                                uint64_t* taskId) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  return get_current_task(*state, ctx, core, taskId);
}

int32_t handle_target_notify(OsaCntx*, ClientArea*, void* target, int32_t) {
  PluginState* state = state_of(target);
  if (state == nullptr) {
    return 1;
  }
  invalidate_caches(*state);
  return 0;
}

int32_t handle_osa_cmd_execute(OsaCntx* ctx, ClientArea* area, void* target, const char* command) {
  return osa_cmd_execute(ctx, area, state_of(target), command);
}
