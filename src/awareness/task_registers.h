// Task register access: the registers of a task as they were when it was switched out.
//
// For the running task the live register is read or written through the debugger. For any
// other task the task's CONTEXT object is found (through its CONTEXT attribute), and in it the
// location attribute of the register: a custom CTYPE or STRING attribute named "_CPU_" and one
// of the register's names (the prefix exact, the rest ignoring case). The register's names
// come from the RegisterMap: the user's names (mapregname) first, newest first, then the CPU
// family's register id table. The user can add or move locations with mapregloc.
//
// Return codes of readreg and writereg: 0 done, 1 failure, 2 the ORTI file does not describe
// this register for this task (the debugger shows it as unavailable).
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"

#include <cstdint>
#include <string>
#include <vector>

int32_t readreg(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id, int32_t reg,
                uint64_t* value);
int32_t writereg(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id, int32_t reg,
                 uint64_t value);

// The CONTEXT object of a task (null when it has none). 1 when the task's CONTEXT attribute
// could not be read.
int32_t findtaskcontext(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t task_id,
                        OrtiObject** context);

// Stores a register location on a context: the location attribute of that name gets the new
// formula, or a new one is made. Either way it is marked as set by the user (saveconfig writes
// such locations back). False on failure.
bool mapregloc_context(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject* context,
                       const std::string& name, const std::string& expression);
// The same for the context of task task_id (1-based) ...
bool mapregloc(AwarenessState& state, OSA_ServiceCntx* ctx, int64_t task_id,
               const std::string& name, const std::string& expression);
// ... and for the context_index-th CONTEXT object (0-based).
bool mapregloc_by_context(AwarenessState& state, OSA_ServiceCntx* ctx, int64_t context_index,
                          const std::string& name, const std::string& expression);

// The names of register reg: the user's names (newest first) when there are any, else the
// register table's names when reg is a valid id of the installed table. overrides_only skips
// the table. False when neither has names for reg.
bool register_names(const AwarenessState& state, int32_t reg, bool overrides_only,
                    std::vector<std::string>* names);

// A register location that the user set (mapregloc, mapregloc2): the index of its CONTEXT
// object, the register name after "_CPU_" and the formula.
struct UserRegisterLocation {
  int64_t context_index = 0;
  std::string name;
  std::string formula;
};
// Every location the user set, by CONTEXT object in model order and then in the object's
// attribute order: what a saved configuration must write back. Locations of the ORTI file
// itself are not among them.
std::vector<UserRegisterLocation> user_register_locations(const AwarenessState& state);

// Gives register id a new name in front of its older ones and drops the caches (the saved
// registers were found under the old names).
void add_register_name(AwarenessState& state, int32_t id, const std::string& name);
