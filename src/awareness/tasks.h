// Tasks as the debugger's task list sees them: their names, their states, and which one runs.
//
// Task ids are 1-based. When the first TASK object is a list, task id t is element t - 1 of
// that list; otherwise it is the TASK object with index t - 1. Task id 0 means no task. The
// running task comes from the OS object's _RUNNINGTASK (a number compared with each list
// task's TASK_ID) or RUNNINGTASK (a label compared with the task names), and is cached until
// the next target stop. Each core has its own running task when the model gives one per core
// (awareness/cores.h).
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"
#include "osa/typed_value.h"

#include <cstdint>

// value: a text value (the binding sets type 0). Return 0 or 1.
int32_t get_task_name(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id,
                      TypedValue* value);
int32_t get_task_status(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id,
                        TypedValue* value);
// *task_id: the running task of core (0-based; kNoCore: the call's core), or 0 when none could
// be found. Return 0 or 1.
int32_t get_current_task(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t core,
                         uint64_t* task_id);

// True when the TASK objects of the model are one list object.
bool tasks_are_a_list(const AwarenessState& state);

// A label (of RUNNINGTASK, of a task's CONTEXT) against an object name. ORTI object names are
// identifiers, labels are free text, so a blank in the label stands for an underscore in the
// name; position by position the characters must be equal, or the label have white space
// where the name has "_" or white space. ignore_case maps A to Z to lower case on both sides
// first. A missing text equals only another missing text.
bool orti_label_matches_name(const char* label, const char* name, bool ignore_case);
