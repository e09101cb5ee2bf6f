// The state the awareness runtime works on for one debugger context: the loaded model, the
// walk positions of the object lists, every cache, the register tables and names, the user's
// flags and the message levels.
//
// The plug-in's PluginState is this state plus what only the plug-in needs (the parse tree it
// owns, its load and lifetime bookkeeping); every operation of the awareness runtime takes the
// state by reference, together with the context record through which its service requests go.
//
// While a service request waits for the debugger, the debugger may call in again (a target
// notification, a command, even a cleanup). Code here therefore keeps no reference into the
// vectors below across a service request: it keeps indexes and looks again afterwards.
#pragma once

#include "awareness/register_tables.h"
#include "orti/model/orti_model.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

inline constexpr int32_t kDefaultDebugLevel = 4;
inline constexpr int32_t kDefaultLogLevel = 5;

// Formatted texts (messages, generated names, error texts) are cut to this many characters,
// and an expression text longer than this is never sent to the debugger.
inline constexpr std::size_t kTextLimit = 2047;

// Walks over target data (dynamic lists, owner and task-id chains, the row count of showlink)
// stop after this many elements, and a list position from the debugger or the user beyond it
// is refused: a corrupt or cyclic list in target memory must not hang the debugger. OS
// configurations have a few hundred objects of a kind at most.
inline constexpr int64_t kMaxListElements = 4096;

// A list position (0-based) that a walk may reach.
inline bool list_position_ok(int64_t position) {
  return position >= 0 && position < kMaxListElements;
}

// One saved register of a task, as the last read or write left it. The whole 64-bit value is
// kept, so that a wide register reads back as it was.
struct RegisterValueSlot {
  uint64_t value = 0;
  bool valid = false;
};

// One per TASK object of the model.
struct TaskContextRecord {
  bool warned = false;           // a missing-context message was shown since the last stop
  OrtiObject* context = nullptr; // the CONTEXT object last found for the task
  std::vector<RegisterValueSlot> registers; // one per register table entry; empty: no cache
};

// Forgets what a stop or a changed setting makes stale: the missing-context message shown, the
// context found and every register value.
void clear_task_record(TaskContextRecord& record);

// A register id and the names the user gave it with mapregname, newest first.
struct RegisterNameEntry {
  int32_t id = 0;
  std::vector<std::string> names;
};

// The last successful reference walk: its arguments and the object it found, and what it left
// current, so that a walk answered from the cache leaves the same object current.
struct ReferenceListCache {
  const OrtiObject* linked = nullptr; // null: the cache is empty
  int32_t type = 0;
  uint64_t parent_id = 0;
  int32_t parent_type = 0;
  int32_t parent_attribute = 0;
  bool selects = false;       // the walk selected an object of the type
  int64_t selected_index = 0; // which one
  int64_t list_position = 0;  // the list position it left
};

struct AwarenessState {
  // Messages of this level or lower are shown to the user (debug level) and formatted and
  // logged (log level); the level commands keep the log level at or above the debug level.
  int32_t debug_level = kDefaultDebugLevel;
  int32_t log_level = kDefaultLogLevel;
  std::string message_buffer; // the last leveled message

  OrtiModel* model = nullptr; // owned by the plug-in; null until an ORTI file is loaded

  const RegisterIdTable* register_table = nullptr; // null: the CPU was not recognised
  std::vector<RegisterNameEntry> register_names;   // the user's names, in the order made

  // The current object index of each type: 0..6 for the standard types, 7 + n for vendor type
  // 100 + n. Sized when the model is loaded.
  std::vector<int64_t> cursors;
  int64_t list_position = 0; // the element of the list object being read or walked

  std::vector<TaskContextRecord> task_records; // one per TASK of the model

  uint64_t generation = 0; // cached attribute values of other generations are stale

  bool suppress_context_errors = false;
  bool show_symbols = false; // show attribute formulas instead of their values
  bool check_context_validity = false;

  // The running task's id of each core since the last stop, by running_task_slot
  // (awareness/cores.h); 0 when not known.
  std::vector<uint64_t> current_tasks;
  ReferenceListCache reference_cache;

  // Formulas the user set (expr with "=", mapregloc). The model's attribute records point at
  // them; a deque never moves its elements, and the model's own texts stay untouched.
  std::deque<std::string> owned_texts;
};

// Every value read from the target is kept until the next invalidate_caches. A read waits for
// the debugger, and the call the debugger makes meanwhile may be a target stop that drops every
// cache: what the read then gets answers that read, but it belongs to the time before the stop
// and must not answer the next one. So each read notes the generation it began in, and every
// cache stores through keep_if_current.
struct CacheRead {
  uint64_t generation = 0;
};

inline CacheRead begin_cache_read(const AwarenessState& state) {
  return CacheRead{state.generation};
}

// Runs store (which writes the value into its cache) when no invalidation happened since read
// began; true when it ran.
template <typename Store>
bool keep_if_current(const AwarenessState& state, const CacheRead& read, Store&& store) {
  if (state.generation != read.generation) {
    return false;
  }
  store();
  return true;
}

// Stores text among the state's owned texts and gives its stable address.
const char* keep_text(AwarenessState& state, std::string text);

// Makes model the state's model and prepares what the runtime needs of it: one cursor per
// object type, one task record per TASK (with a register cache when a register table is
// installed), the list position 0 and a fresh cache generation.
void attach_model(AwarenessState& state, OrtiModel* model);
