// Task register access: live registers of the running task, saved registers of the others,
// their caches, and the locations the user adds.
//
// Every service request (an evaluation, a register access, even a trace that the debugger is
// shown) may let a nested call in, and such a call may drop every cache, give every task a new
// register array or add register names and locations. So this file keeps task records,
// register slots and names only by index or by copy across a request, and looks again
// afterwards. Model objects and attribute records themselves never move while the model lives.
#include "awareness/task_registers.h"

#include "awareness/attribute_eval.h"
#include "awareness/cores.h"
#include "awareness/object_lists.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "awareness/tasks.h"
#include "orti/model/declarations.h"
#include "osa/service_requests.h"
#include "runtime/format.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr char kCpuPrefix[] = "_CPU_";
constexpr std::size_t kCpuPrefixLength = sizeof kCpuPrefix - 1;

// A name or formula of this length or more cannot be a location (the formula buffer of the
// debugger's evaluator holds one character less).
constexpr std::size_t kLocationTextLimit = 2048;

long long as_signed(uint64_t number) {
  return static_cast<long long>(number);
}

// Where the registers of a task id live.
struct TaskRef {
  bool list = false;            // the TASK objects are one list; the id is a list position + 1
  std::size_t record = 0;       // its context record
  OrtiObject* object = nullptr; // its TASK object (the list object for list tasks)
  uint64_t id = 0;
  CacheRead read; // the cache generation when the access began
};

// The task of id t, with the list position set for list tasks. False for an id that names no
// task: 0, beyond the TASK objects, or beyond the walk bound of a list.
bool resolve_task(AwarenessState& state, uint64_t t, TaskRef* task) {
  if (state.model == nullptr || t == 0 || state.model->tasks.empty()) {
    return false;
  }
  task->id = t;
  if (tasks_are_a_list(state)) {
    if (t > static_cast<uint64_t>(kMaxListElements)) {
      return false;
    }
    task->list = true;
    task->record = 0;
    task->object = &state.model->tasks.front();
    state.list_position = static_cast<int64_t>(t - 1);
  } else {
    if (t > state.model->tasks.size()) {
      return false;
    }
    task->list = false;
    task->record = static_cast<std::size_t>(t - 1);
    task->object = &state.model->tasks[task->record];
  }
  return task->record < state.task_records.size();
}

// A request may have moved the list position (a nested walk); list reads need theirs back.
void restore_position(AwarenessState& state, const TaskRef& task) {
  if (task.list) {
    state.list_position = static_cast<int64_t>(task.id - 1);
  }
}

TaskContextRecord* record_at(AwarenessState& state, std::size_t index) {
  return index < state.task_records.size() ? &state.task_records[index] : nullptr;
}

// The register cache of a record, or null when the record or the register is outside it.
RegisterCache* cache_at(AwarenessState& state, std::size_t record, int32_t reg) {
  TaskContextRecord* r = record_at(state, record);
  if (r == nullptr || reg < 0 || static_cast<std::size_t>(reg) >= r->registers.size()) {
    return nullptr;
  }
  return &r->registers;
}

// Keeps the value of a register for the next read, unless the caches were dropped since read
// began.
void cache_register(AwarenessState& state, const CacheRead& read, const TaskRef& task, int32_t reg,
                    uint64_t value) {
  keep_if_current(state, read, [&] {
    if (RegisterCache* cache = cache_at(state, task.record, reg)) {
      cache->store(static_cast<std::size_t>(reg), value);
    }
  });
}

bool register_id_ok(const AwarenessState& state, int32_t reg) {
  return state.register_table != nullptr && reg >= 0 && reg < state.register_table->count;
}

enum class MapLookup { Found, NoEntry, NoNames, OtherId };

// The RegisterMap entry of reg: the user's names when there are any, else the table's entry.
MapLookup lookup_register(const AwarenessState& state, int32_t reg, bool overrides_only,
                          std::vector<std::string>* names) {
  for (const RegisterNameEntry& entry : state.register_names) {
    if (entry.id == reg) {
      *names = entry.names;
      return names->empty() ? MapLookup::NoNames : MapLookup::Found;
    }
  }
  if (overrides_only || !register_id_ok(state, reg)) {
    return MapLookup::NoEntry;
  }
  const RegisterIdEntry& entry = state.register_table->entries[reg];
  if (entry.names == nullptr) {
    return MapLookup::NoEntry;
  }
  names->clear();
  for (const char* const* n = entry.names; *n != nullptr && **n != '\0'; ++n) {
    names->emplace_back(*n);
  }
  if (names->empty()) {
    return MapLookup::NoNames;
  }
  return entry.id == reg ? MapLookup::Found : MapLookup::OtherId;
}

// The names of reg for a register access, with the traces of a missing mapping.
bool map_register(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t reg,
                  std::vector<std::string>* names) {
  switch (lookup_register(state, reg, false, names)) {
  case MapLookup::Found:
    return true;
  case MapLookup::NoEntry:
    osa_trace(state, ctx, 100, "no regmap\n");
    return false;
  case MapLookup::NoNames:
    osa_trace(state, ctx, 100, "no register mapping for this register\n");
    return false;
  case MapLookup::OtherId:
    osa_trace(state, ctx, 100, "map[reg].regid != reg\n");
    return false;
  }
  return false;
}

bool is_location_attribute(const AttributeDecl* attr) {
  return attr != nullptr && (attr->kind() == kKindCtype || attr->kind() == kKindString) &&
         attr->name() != nullptr && std::strncmp(attr->name(), kCpuPrefix, kCpuPrefixLength) == 0;
}

// The first location attribute of the context, in list order, that names any of the names.
AttributeDecl* find_location(const OrtiObject& context, const std::vector<std::string>& names) {
  for (const CustomAttribute& custom : context.custom_attributes) {
    AttributeDecl* attr = custom.attribute.get();
    if (!is_location_attribute(attr)) {
      continue;
    }
    for (const std::string& name : names) {
      if (orti_name_equal(attr->name() + kCpuPrefixLength, name.c_str())) {
        return attr;
      }
    }
  }
  return nullptr;
}

// A location read as a 64-bit number. A value the debugger could not give is no value.
bool read_location(AwarenessState& state, OSA_ServiceCntx* ctx, AttributeDecl* location,
                   const OrtiObject* list_context, uint64_t* out) {
  TypedValue v = typed_value_of(kValueUInt64);
  bool evaluated = false;
  if (get_attribute_value(state, ctx, location, &v, list_context, {true, &evaluated}) != 0 ||
      !evaluated || v.code != kValueUInt64) {
    return false;
  }
  *out = v.payload;
  return true;
}

// A location written with the whole value: a value that fits in 32 bits goes as one.
bool write_location(AwarenessState& state, OSA_ServiceCntx* ctx, AttributeDecl* location,
                    const OrtiObject* list_context, uint64_t value) {
  TypedValue v = typed_value_of((value >> 32) == 0 ? kValueUInt32 : kValueUInt64);
  typed_value_store_u64(v, value);
  return set_attribute_value(state, ctx, location, &v, list_context) == 0;
}

std::string cut(std::string text) {
  if (text.size() > kTextLimit) {
    text.resize(kTextLimit);
  }
  return text;
}

bool warned(AwarenessState& state, std::size_t record) {
  const TaskContextRecord* r = record_at(state, record);
  return r == nullptr || r->warned;
}

// Shows a missing-context message once per task and stop. The task name comes from the ORTI
// file, so the text is formatted here and shown as it stands.
void warn_once(AwarenessState& state, OSA_ServiceCntx* ctx, std::size_t record,
               const std::string& text) {
  if (state.suppress_context_errors || warned(state, record)) {
    return;
  }
  if (osa_display(ctx, kMessageTypeOutput, cut(text)) == 0) {
    if (TaskContextRecord* r = record_at(state, record)) {
      r->warned = true;
    }
  }
}

// The missing-context messages begin with the task's id and, when it has one, its name.
void warn_no_context(AwarenessState& state, OSA_ServiceCntx* ctx, const TaskRef& task) {
  const char* name = task.object->name;
  warn_once(state, ctx, task.record,
            format("Task 0x%llx", as_signed(task.id)) +
                (name != nullptr ? format(" (%s)", name) : std::string()) +
                " has no task context information in your ORTI file.\n"
                "Task aware debugging is not available.\n"
                "TARNO will not be able to reconstruct this task's registers.\n");
}

void warn_no_location(AwarenessState& state, OSA_ServiceCntx* ctx, const TaskRef& task, int32_t reg,
                      const std::string& first_name) {
  const char* name = task.object->name;
  warn_once(state, ctx, task.record,
            format("Task 0x%llx", as_signed(task.id)) +
                (name != nullptr ? format(" (%s) is", name) : std::string(" has is")) +
                format(" missing complete context information in your ORTI file.\n"
                       "Register %d (%s) was not found\n"
                       "Task aware debugging may not be fully available.\n"
                       "TARNO will not be able to reconstruct all of this task's registers.\n",
                       static_cast<int>(reg), first_name.c_str()));
}

// Whether the task runs, and on which core: kNoCore when one running task serves every core (its
// registers are the debugger's current ones), else the first core whose running task it is.
bool is_running(AwarenessState& state, OSA_ServiceCntx* ctx, const TaskRef& task, uint64_t* core) {
  const uint64_t cores = running_task_core_count(*state.model);
  bool running = false;
  if (cores == 1) {
    uint64_t current = 0;
    running = get_current_task(state, ctx, kNoCore, &current) == 0 && current == task.id;
    *core = kNoCore;
  } else {
    for (uint64_t k = 0; k < cores && !running; ++k) {
      uint64_t current = 0;
      // A core without an element says so and is no core the task runs on.
      running = get_current_task(state, ctx, k, &current) == 0 && current == task.id;
      *core = k;
    }
  }
  restore_position(state, task);
  return running;
}

// core: the core whose live register it is, kNoCore for the debugger's current one.
int32_t read_live(AwarenessState& state, OSA_ServiceCntx* ctx, const TaskRef& task, int32_t reg,
                  uint64_t* value, uint64_t core = kNoCore) {
  uint64_t live = 0;
  if (OSA_Service_RegisterRead(ctx, core, reg, -1, &live, 0, 0) != 0) {
    osa_trace(state, ctx, 50, "readreg(): Failure to read register %d\n", static_cast<int>(reg));
    return 1;
  }
  cache_register(state, task.read, task, reg, live);
  *value = live;
  osa_trace(state, ctx, 50, "readreg() = %lld: Success\n", as_signed(live));
  return 0;
}

TaskContextRecord* context_record(AwarenessState& state, const TaskRef& task) {
  return record_at(state, task.record);
}

OrtiObject* remembered_context(AwarenessState& state, const TaskRef& task) {
  const TaskContextRecord* r = context_record(state, task);
  return r != nullptr ? r->context : nullptr;
}

void remember_context(AwarenessState& state, const TaskRef& task, OrtiObject* context) {
  keep_if_current(state, task.read, [&] {
    if (TaskContextRecord* r = context_record(state, task)) {
      r->context = context;
    }
  });
}

// A context found anew (or every time, when the user asked for checks) must be
// valid.
bool context_needs_check(AwarenessState& state, const TaskRef& task, const OrtiObject* context) {
  return remembered_context(state, task) != context || state.check_context_validity;
}

std::string unquoted(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

bool links_to_context(const AwarenessState& state, const OrtiObject* object) {
  int32_t type = 0;
  int64_t index = 0;
  return object != nullptr && locate_object(state, object, &type, &index) && type == kTypeContext;
}

// The checks both directions begin with: the register id, the task id, and for a list task
// its shared slot (which says nothing about this element). op names the operation in the
// traces ("readreg", "writereg").
bool begin_access(AwarenessState& state, OSA_ServiceCntx* ctx, const char* op, uint64_t task_id,
                  int32_t reg, TaskRef* task) {
  if (!register_id_ok(state, reg)) {
    osa_trace(state, ctx, 50, "%s() : Failure (bad regid)\n", op);
    return false;
  }
  if (!resolve_task(state, task_id, task)) {
    osa_trace(state, ctx, 50, "%s() : Failure (bad taskId)\n", op);
    return false;
  }
  if (task->list) {
    if (RegisterCache* cache = cache_at(state, task->record, reg)) {
      cache->forget(static_cast<std::size_t>(reg));
    }
  }
  return true;
}

bool task_accessible(AwarenessState& state, OSA_ServiceCntx* ctx, const char* op, uint64_t task_id,
                     const TaskRef& task) {
  if (is_object_valid(state, ctx, task.object)) {
    return true;
  }
  osa_trace(state, ctx, 4, "Unable to access Task %lld\n", as_signed(task_id));
  osa_trace(state, ctx, 50, "%s() : Failure (Task not VALID)\n", op);
  return false;
}

// The location attribute of the register in a task's own context, or null.
AttributeDecl* context_location(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject& context,
                                const std::vector<std::string>& names) {
  if (context.custom_attributes.empty()) {
    osa_trace(state, ctx, 100, "no context register entries\n");
    return nullptr;
  }
  return find_location(context, names);
}

// Whether a task register is read or written: the two find it the same way and differ only
// in what a context that is not valid means, and in their traces.
enum class Access { Read, Write };

const char* operation(Access access) {
  return access == Access::Read ? "readreg" : "writereg";
}

// Where the value of a task's register is.
enum class Place {
  Live,      // the task runs: the core's own register
  Saved,     // a location attribute of the task's context
  Unlocated, // neither, and the user suppressed context errors: read and write each decide
  Absent,    // the ORTI file does not describe the register for this task (status 2)
  Failed,    // status 1; the trace has said why
};

struct Located {
  Place place = Place::Failed;
  uint64_t core = kNoCore;           // Live: the core it runs on (kNoCore: the current one)
  AttributeDecl* location = nullptr; // Saved
  OrtiObject* context = nullptr;     // Saved: the CONTEXT object of the location
  bool through_list = false;         // Saved: the element of the CONTEXT list that runs in step
                                     // with the TASK list, which one record cannot tell apart
  bool without_context = false;      // Unlocated: no context at all (else no location in it)
};

Located at(Place place) {
  Located located;
  located.place = place;
  return located;
}

// Finds register reg of the task, with the messages and traces of every way it can be missing.
Located locate_register(AwarenessState& state, OSA_ServiceCntx* ctx, Access access,
                        const TaskRef& task, int32_t reg) {
  const char* op = operation(access);
  std::vector<std::string> names;
  if (!map_register(state, ctx, reg, &names)) {
    osa_trace(state, ctx, 50, "%s(): Failure\n", op);
    return at(Place::Failed);
  }
  uint64_t core = kNoCore;
  if (is_running(state, ctx, task, &core)) {
    osa_trace(state, ctx, 100, "taskId is runningtask\n");
    Located located = at(Place::Live);
    located.core = core;
    return located;
  }
  if (!task_accessible(state, ctx, op, task.id, task)) {
    return at(Place::Failed);
  }
  if (task.list && !state.model->contexts.empty()) {
    // The CONTEXT list runs in step with the TASK list: element t - 1 of each.
    OrtiObject* contexts = &state.model->contexts.front();
    Located located = at(Place::Saved);
    located.location = find_location(*contexts, names);
    if (located.location == nullptr) {
      osa_trace(state, ctx, 50, "%s(): Failure\n", op);
      return at(Place::Failed);
    }
    restore_position(state, task);
    located.context = contexts;
    located.through_list = true;
    return located;
  }

  OrtiObject* context = nullptr;
  if (findtaskcontext(state, ctx, task.id, &context) != 0) {
    return at(Place::Failed);
  }
  restore_position(state, task);
  // A context that is there but not accessible: writing into it would change memory that
  // belongs to nobody. A read counts it as no context, without the message, since the file does
  // describe the task, only not at this stop; unless the user asked for the checks, which make
  // it the register the file does not give.
  bool lost = false;
  if (context != nullptr && context_needs_check(state, task, context) &&
      !is_object_valid(state, ctx, context)) {
    if (access == Access::Read && !state.check_context_validity) {
      osa_trace(state, ctx, 4, "Task %lld context is not accessible.\n", as_signed(task.id));
    }
    osa_trace(state, ctx, 50, "%s() : Failure (Task context not VALID)\n", op);
    if (access == Access::Write || state.check_context_validity) {
      return at(Place::Absent);
    }
    context = nullptr;
    lost = true;
  }
  remember_context(state, task, context);

  if (context == nullptr) {
    if (!lost) {
      warn_no_context(state, ctx, task);
    }
    Located located = at(state.suppress_context_errors ? Place::Unlocated : Place::Absent);
    located.without_context = true;
    return located;
  }
  Located located = at(Place::Saved);
  located.location = context_location(state, ctx, *context, names);
  if (located.location != nullptr) {
    located.context = context;
    return located;
  }
  warn_no_location(state, ctx, task, reg, names.front());
  return at(state.suppress_context_errors ? Place::Unlocated : Place::Absent);
}

} // namespace

bool register_names(const AwarenessState& state, int32_t reg, bool overrides_only,
                    std::vector<std::string>* names) {
  std::vector<std::string> found;
  if (lookup_register(state, reg, overrides_only, &found) == MapLookup::NoEntry || found.empty()) {
    return false;
  }
  *names = std::move(found);
  return true;
}

void add_register_name(AwarenessState& state, int32_t id, const std::string& name) {
  bool added = false;
  for (RegisterNameEntry& entry : state.register_names) {
    if (entry.id == id) {
      entry.names.insert(entry.names.begin(), name);
      added = true;
      break;
    }
  }
  if (!added) {
    state.register_names.push_back(RegisterNameEntry{id, {name}});
  }
  invalidate_caches(state);
}

int32_t readreg(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id, int32_t reg,
                uint64_t* value) {
  const CacheRead read = begin_cache_read(state);
  osa_trace(state, ctx, 50, "readreg(task:%lld, reg:%d)\n", as_signed(task_id),
            static_cast<int>(reg));
  if (value == nullptr) {
    osa_trace(state, ctx, 50, "readreg() : Failure (bad regid)\n");
    return 1;
  }
  TaskRef task;
  if (!begin_access(state, ctx, "readreg", task_id, reg, &task)) {
    return 1;
  }
  task.read = read;
  if (const RegisterCache* cache = cache_at(state, task.record, reg);
      !task.list && cache != nullptr) {
    if (const uint64_t* kept = cache->find(static_cast<std::size_t>(reg))) {
      *value = *kept;
      return 0;
    }
  }
  const Located located = locate_register(state, ctx, Access::Read, task, reg);
  switch (located.place) {
  case Place::Failed:
    return 1;
  case Place::Absent:
    return 2;
  case Place::Live:
    return read_live(state, ctx, task, reg, value, located.core);
  case Place::Saved: {
    uint64_t saved = 0;
    if (!read_location(state, ctx, located.location, located.context, &saved)) {
      return 1;
    }
    // Stored before the trace: a stop that the trace lets in must drop it again.
    if (!located.through_list) {
      cache_register(state, task.read, task, reg, saved);
    }
    *value = saved;
    osa_trace(state, ctx, 50, "readreg() = %lld: Success\n", as_signed(saved));
    return 0;
  }
  case Place::Unlocated:
    if (located.without_context) {
      return read_live(state, ctx, task, reg, value);
    }
    // The register reads as the value the caller passed in.
    cache_register(state, task.read, task, reg, *value);
    osa_trace(state, ctx, 50, "readreg() = %lld: Success\n", as_signed(*value));
    return 0;
  }
  return 1;
}

int32_t writereg(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id, int32_t reg,
                 uint64_t value) {
  const CacheRead read = begin_cache_read(state);
  osa_trace(state, ctx, 50, "writereg(task:%lld, reg:%d, val:%lld)\n", as_signed(task_id),
            static_cast<int>(reg), as_signed(value));
  TaskRef task;
  if (!begin_access(state, ctx, "writereg", task_id, reg, &task)) {
    return 1;
  }
  task.read = read;
  const Located located = locate_register(state, ctx, Access::Write, task, reg);
  switch (located.place) {
  case Place::Failed:
    return 1;
  case Place::Absent:
    return 2;
  case Place::Live:
    if (OSA_Service_RegisterWrite(ctx, located.core, reg, -1, value, 0, 0, 0) != 0) {
      osa_trace(state, ctx, 50, "writereg(): Failure to write register %d\n",
                static_cast<int>(reg));
      return 1;
    }
    cache_register(state, task.read, task, reg, value);
    osa_trace(state, ctx, 50, "writereg() = %lld: Success\n", as_signed(value));
    return 0;
  case Place::Saved:
    // A task's own context is a plain object: the formula is written as it stands.
    if (!write_location(state, ctx, located.location,
                        located.through_list ? located.context : nullptr, value)) {
      return 1;
    }
    // The write itself dropped every cache once; the value written is what the location holds
    // now, unless a stop came in on top of that.
    if (!located.through_list) {
      cache_register(state, CacheRead{task.read.generation + 1}, task, reg, value);
    }
    osa_trace(state, ctx, 50, "writereg() = %lld: Success\n", as_signed(value));
    return 0;
  case Place::Unlocated:
    // The live register belongs to the running task, not to this one.
    osa_trace(state, ctx, 50, "writereg(): Could not find a register to write for register %d\n",
              static_cast<int>(reg));
    return 1;
  }
  return 1;
}

int32_t findtaskcontext(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id,
                        OrtiObject** context) {
  osa_trace(state, ctx, 50, "findtaskcontext(taskId:%d)\n", static_cast<int>(task_id));
  TaskRef task;
  if (context == nullptr || !resolve_task(state, task_id, &task)) {
    osa_trace(state, ctx, 50, "findtaskcontext() : Failure (bad taskId)\n");
    return 1;
  }
  OrtiObject* found = nullptr;
  if (task.list && task_id == 1) {
    if (!state.model->contexts.empty()) {
      found = &state.model->contexts.front();
    }
  } else if (OrtiObject* remembered = remembered_context(state, task)) {
    found = remembered;
  } else if (AttributeDecl* attr = task.object->standard[kTaskContext].get()) {
    TypedValue label = typed_value_of(kValueText);
    bool evaluated = false;
    // A list task's label is that of its own element.
    if (get_attribute_value(state, ctx, attr, &label, task.list ? task.object : nullptr,
                            {true, &evaluated}) != 0 ||
        !evaluated || label.code != kValueText) {
      osa_trace(state, ctx, 50,
                "findtaskcontext() : Failure (bad context value or could not get context)\n");
      return 1;
    }
    // The element by index: the element list belongs to the parse tree and does not change,
    // but the index is what is safe to keep.
    std::size_t element = SIZE_MAX;
    if (attr->elements() != nullptr) {
      for (std::size_t i = 0; i < attr->elements()->size(); ++i) {
        if ((*attr->elements())[i].label == label.text) {
          element = i;
          break;
        }
      }
    }
    if (element != SIZE_MAX &&
        links_to_context(state, (*attr->elements())[element].linked_object)) {
      found = (*attr->elements())[element].linked_object;
    } else {
      std::vector<OrtiObject>& contexts = state.model->contexts;
      for (const bool ignore_case : {false, true}) {
        for (OrtiObject& candidate : contexts) {
          if (orti_label_matches_name(label.text.c_str(), candidate.name, ignore_case)) {
            found = &candidate;
            break;
          }
        }
        if (found != nullptr) {
          break;
        }
      }
      if (found != nullptr && element != SIZE_MAX) {
        // The next search for this label goes straight to the context.
        (*attr->elements())[element].linked_object = found;
      }
      if (found == nullptr) {
        osa_trace(state, ctx, 10, "Could not find task context for task %d\n",
                  static_cast<int>(task_id));
      }
    }
  }
  *context = found;
  osa_trace(state, ctx, 50, "findtaskcontext(context found? %s): Success\n",
            found != nullptr ? "yes" : "no");
  return 0;
}

bool mapregloc_context(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject* context,
                       const std::string& name, const std::string& expression) {
  osa_trace(state, ctx, 50, "mapregloc_context(name:%s, expr:%s)\n", name.c_str(),
            expression.c_str());
  if (state.model == nullptr || context == nullptr) {
    osa_trace(state, ctx, 50, "mapregloc_context(): Failure\n");
    return false;
  }
  if (name.size() >= kLocationTextLimit || expression.size() >= kLocationTextLimit) {
    osa_trace(state, ctx, 50, "mapregloc(): Failure: string length\n");
    return false;
  }
  const std::string register_name = unquoted(name);
  const std::string formula = unquoted(expression);
  // A location without a name can never be found, and one without a formula never read.
  if (register_name.empty() || formula.empty()) {
    osa_trace(state, ctx, 50, "mapregloc_context(): Failure\n");
    return false;
  }
  // No request between the search and the change: the attribute list may grow meanwhile.
  CustomAttribute* existing = nullptr;
  for (CustomAttribute& custom : context->custom_attributes) {
    const AttributeDecl* attr = custom.attribute.get();
    if (is_location_attribute(attr) &&
        orti_name_equal(attr->name() + kCpuPrefixLength, register_name.c_str())) {
      existing = &custom;
      break;
    }
  }
  // The formula is the state's: the model's own texts are never freed or written over.
  const char* kept = keep_text(state, formula);
  if (existing != nullptr) {
    existing->attribute->formula = kept;
    existing->flag = true;
  } else {
    std::unique_ptr<AttributeDecl> attr = make_cpu_attribute(register_name.c_str(), kept);
    if (!attr) {
      osa_trace(state, ctx, 50, "mapregloc(): Memory Failure\n");
      return false;
    }
    context->custom_attributes.push_back(CustomAttribute{true, std::move(attr)});
  }
  // Values read through the old location (or through none) must not answer the next read.
  invalidate_caches(state);
  osa_trace(state, ctx, 50, "mapregloc(): Success\n");
  return true;
}

bool mapregloc(AwarenessState& state, OSA_ServiceCntx* ctx, int64_t task_id,
               const std::string& name, const std::string& expression) {
  if (state.model == nullptr) {
    return false;
  }
  if (task_id < 1 || static_cast<uint64_t>(task_id) > state.model->tasks.size()) {
    osa_display(ctx, kMessageTypeUser, "Bad task ID\nUsage: mapregloc TASKID NAME TARNO_EXPR\n");
    return false;
  }
  osa_trace(state, ctx, 50, "mapregloc(taskId:%d, name:%s, expr:%s)\n", static_cast<int>(task_id),
            name.c_str(), expression.c_str());
  OrtiObject* context = nullptr;
  if (findtaskcontext(state, ctx, static_cast<uint64_t>(task_id), &context) != 0) {
    context = nullptr;
  }
  // The task's record (with every other) was cleared by mapregloc_context.
  if (!mapregloc_context(state, ctx, context, name, expression)) {
    osa_trace(state, ctx, 50, "mapregloc(): Memory Failure\n");
    return false;
  }
  osa_trace(state, ctx, 50, "mapregloc(): Success\n");
  return true;
}

bool mapregloc_by_context(AwarenessState& state, OSA_ServiceCntx* ctx, int64_t context_index,
                          const std::string& name, const std::string& expression) {
  if (state.model == nullptr) {
    return false;
  }
  if (context_index < 0 || static_cast<uint64_t>(context_index) >= state.model->contexts.size()) {
    osa_display(ctx, kMessageTypeUser,
                "Bad context ID\nUsage: mapregloc CONTEXTID NAME TARNO_EXPR\n");
    return false;
  }
  osa_trace(state, ctx, 50, "mapregloc(contextId:%d, name:%s, expr:%s)\n",
            static_cast<int>(context_index), name.c_str(), expression.c_str());
  OrtiObject* context = &state.model->contexts[static_cast<std::size_t>(context_index)];
  if (!mapregloc_context(state, ctx, context, name, expression)) {
    osa_trace(state, ctx, 50, "mapregloc(): Memory Failure\n");
    return false;
  }
  osa_trace(state, ctx, 50, "mapregloc(): Success\n");
  return true;
}

std::vector<UserRegisterLocation> user_register_locations(const AwarenessState& state) {
  std::vector<UserRegisterLocation> out;
  if (state.model == nullptr) {
    return out;
  }
  const std::vector<OrtiObject>& contexts = state.model->contexts;
  for (std::size_t i = 0; i < contexts.size(); ++i) {
    for (const CustomAttribute& custom : contexts[i].custom_attributes) {
      const AttributeDecl* attr = custom.attribute.get();
      if (custom.flag && is_location_attribute(attr)) {
        out.push_back(UserRegisterLocation{static_cast<int64_t>(i), attr->name() + kCpuPrefixLength,
                                           attr->formula != nullptr ? attr->formula : ""});
      }
    }
  }
  return out;
}
