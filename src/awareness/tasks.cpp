// Task names, task states and the running task.
#include "awareness/tasks.h"

#include "awareness/attribute_eval.h"
#include "awareness/cores.h"
#include "awareness/object_lists.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "orti/model/declarations.h"
#include "runtime/format.h"

#include <cstring>

namespace {

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The TASK object of a task id, with the list position set for list tasks. Null: bad data.
OrtiObject* task_object(AwarenessState& state, uint64_t task_id) {
  if (state.model == nullptr || task_id == 0 || state.model->tasks.empty()) {
    return nullptr;
  }
  if (tasks_are_a_list(state)) {
    if (task_id > static_cast<uint64_t>(kMaxListElements)) {
      return nullptr;
    }
    state.list_position = static_cast<int64_t>(task_id - 1);
    return &state.model->tasks.front();
  }
  if (task_id > state.model->tasks.size()) {
    return nullptr;
  }
  return &state.model->tasks[static_cast<std::size_t>(task_id - 1)];
}

// The task id that matches a RUNNINGTASK label of an OS object: the element's linked TASK, else
// the first TASK whose name matches exactly, else ignoring case. 0 when none does.
uint64_t task_of_label(AwarenessState& state, const OrtiObject& os, const std::string& label) {
  const AttributeDecl* running = os.standard[kOsRunningTask].get();
  if (running != nullptr) {
    if (const EnumElement* element = find_enum_element(*running, label.c_str())) {
      int32_t type = 0;
      int64_t index = 0;
      if (locate_object(state, element->linked_object, &type, &index) && type == kTypeTask) {
        return static_cast<uint64_t>(index) + 1;
      }
    }
  }
  for (const bool ignore_case : {false, true}) {
    for (std::size_t i = 0; i < state.model->tasks.size(); ++i) {
      if (orti_label_matches_name(label.c_str(), state.model->tasks[i].name, ignore_case)) {
        return i + 1;
      }
    }
  }
  return 0;
}

// The _RUNNINGTASK path: the list task whose TASK_ID equals r. 1 for an empty list.
int32_t task_of_task_id(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t core, uint32_t r,
                        uint64_t* task_id) {
  const int64_t saved = state.list_position;
  state.list_position = 0;
  if (is_object_list_empty(state, ctx, kTypeTask, 0)) {
    osa_trace(state, ctx, 50, "get_current_task(): Empty list\n");
    state.list_position = saved;
    return 1;
  }
  bool matched = false;
  for (;;) {
    OrtiObject& first = state.model->tasks.front();
    TypedValue id = typed_value_of(kValueUInt32);
    bool evaluated = false;
    if (get_attribute_value(state, ctx, first.standard[kTaskTaskId].get(), &id, &first,
                            {true, &evaluated, core}) != 0 ||
        !evaluated) {
      break; // a TASK_ID the debugger could not give is no task's id, not 0
    }
    if (static_cast<uint32_t>(id.payload) == r) {
      matched = true;
      break;
    }
    if (!list_position_ok(state.list_position + 1) || !has_next(state, ctx, kTypeTask, 0)) {
      break;
    }
    ++state.list_position;
  }
  if (matched) {
    *task_id = static_cast<uint64_t>(state.list_position) + 1;
  } else {
    osa_trace(state, ctx, 50,
              "get_current_task(): _RUNNINGTASK attribute value (%d) does not map to a TASK\n",
              static_cast<int>(r));
    *task_id = 0;
  }
  state.list_position = saved;
  return 0;
}

} // namespace

bool tasks_are_a_list(const AwarenessState& state) {
  return state.model != nullptr && !state.model->tasks.empty() &&
         state.model->tasks.front().is_list;
}

bool orti_label_matches_name(const char* label, const char* name, bool ignore_case) {
  if (label == nullptr || name == nullptr) {
    return label == name;
  }
  const std::size_t n = std::strlen(label);
  if (n != std::strlen(name)) {
    return false;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const char a = ignore_case ? lower(label[i]) : label[i];
    const char b = ignore_case ? lower(name[i]) : name[i];
    if (a == b || (is_white(a) && (b == '_' || is_white(b)))) {
      continue;
    }
    return false;
  }
  return true;
}

int32_t get_task_name(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id,
                      TypedValue* value) {
  osa_trace(state, ctx, 50, "get_task_name(%d)\n", static_cast<int>(task_id));
  OrtiObject* task = task_object(state, task_id);
  if (task == nullptr || value == nullptr) {
    osa_trace(state, ctx, 0, "get_task_name(): Failure (bad data)\n");
    return 1;
  }
  if (!is_object_valid(state, ctx, task)) {
    return 1;
  }
  if (task->is_list) {
    if (task->name_attribute()) {
      if (get_attribute_value(state, ctx, task->name_attribute(), value, task) != 0) {
        osa_trace(state, ctx, 0, "get_task_name(): Failure\n");
        return 1;
      }
    } else {
      typed_value_store_text(*value, format("Nameless%d", 1));
    }
  } else {
    if (value->code != kValueText) {
      osa_trace(state, ctx, 0, "get_task_name(): Failure\n");
      return 1;
    }
    typed_value_store_text(*value, task->name != nullptr
                                       ? std::string(task->name)
                                       : format("Nameless%d", static_cast<int>(task_id)));
  }
  osa_trace(state, ctx, 50, "get_task_name(): Success\n");
  return 0;
}

int32_t get_task_status(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id,
                        TypedValue* value) {
  osa_trace(state, ctx, 50, "get_task_status(%d)\n", static_cast<int>(task_id));
  OrtiObject* task = task_object(state, task_id);
  if (task == nullptr || value == nullptr) {
    osa_trace(state, ctx, 0, "get_task_status(): Failure (bad data)\n");
    return 1;
  }
  if (!is_object_valid(state, ctx, task)) {
    return 1;
  }
  const int32_t status =
      get_attribute_value(state, ctx, task->standard[kTaskState].get(), value, task);
  osa_trace(state, ctx, 50,
            status == 0 ? "get_task_status(): Success\n" : "get_task_status(): Failure\n");
  return status;
}

int32_t get_current_task(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t core,
                         uint64_t* task_id) {
  const CacheRead read = begin_cache_read(state);
  // Taken before the first request, during which a nested call may change the call's core.
  core = core_of_call(ctx, core);
  osa_trace(state, ctx, 50, "get_current_task()\n");
  const int64_t slot = state.model != nullptr ? running_task_slot(*state.model, core) : -1;
  if (slot >= 0 && static_cast<std::size_t>(slot) < state.current_tasks.size() &&
      state.current_tasks[static_cast<std::size_t>(slot)] != 0) {
    *task_id = state.current_tasks[static_cast<std::size_t>(slot)];
    return 0;
  }
  if (state.model == nullptr || state.model->tasks.empty()) {
    osa_trace(state, ctx, 0, "get_current_task(): Failure (bad data)\n");
    return 1;
  }
  const OrtiObject* os = os_of_core(state, core);
  if (os == nullptr) {
    report_no_os(state, ctx, core);
    osa_trace(state, ctx, 50, "get_current_task(): Failure\n");
    return 1;
  }
  uint64_t found = 0;
  bool ok = false;
  if (os->standard[kOsRunningTaskId]) {
    TypedValue r = typed_value_of(kValueUInt32);
    bool evaluated = false;
    if (get_attribute_value(state, ctx, os->standard[kOsRunningTaskId].get(), &r, nullptr,
                            {true, &evaluated, core}) == 0 &&
        evaluated) {
      if (task_of_task_id(state, ctx, core, static_cast<uint32_t>(r.payload), &found) != 0) {
        return 1;
      }
      ok = true;
    }
  } else {
    TypedValue s = typed_value_of(kValueText);
    bool evaluated = false;
    if (get_attribute_value(state, ctx, os->standard[kOsRunningTask].get(), &s, nullptr,
                            {true, &evaluated, core}) == 0 &&
        evaluated) {
      found = task_of_label(state, *os, s.text);
      if (found == 0) {
        osa_trace(state, ctx, 50,
                  "get_current_task(): RUNNINGTASK attribute value (%s) does not map to a TASK\n",
                  s.text.c_str());
      }
      ok = true;
    }
  }
  if (!ok) {
    osa_trace(state, ctx, 50, "get_current_task(): Failure\n");
    return 1;
  }
  osa_trace(state, ctx, 50, "get_current_task(): Success\n");
  if (slot >= 0) {
    keep_if_current(state, read, [&] {
      const auto i = static_cast<std::size_t>(slot);
      if (i >= state.current_tasks.size()) {
        state.current_tasks.resize(i + 1, 0);
      }
      state.current_tasks[i] = found;
    });
  }
  *task_id = found;
  return 0;
}
