// Per-core values: which core a call is for, which element of an array attribute and which OS
// object serve that core, and which cores have a running task of their own.
//
// Every rule about cores lives here, so that each answer the plug-in gives about a core (an
// attribute read, the running task, the live registers of a task) follows the same rules, and a
// host can rely on them through the wire alone:
// - Cores are numbered from 0 here and from 1 on the wire. A read is for the core its caller
//   names; a caller that names none reads for the call's hostCoreId, and a call without one is
//   for core 0. (CurrentTaskGet names its coreId when it has one.)
// - An attribute with one formula (a plain attribute, or an array with one element) serves every
//   core. A longer array serves core k with element k; a core beyond its last element, or an
//   element the file leaves out, fails the read with a message that names the attribute and the
//   core.
// - With one OS object per core, the n-th OS object in file order serves core n, and a core
//   beyond the last one has no OS object (a failed read, with a message).
// - The running tasks are told apart per core only when the model gives a running task per core
//   (RUNNINGTASK or _RUNNINGTASK as an array, or several OS objects). Otherwise one running task
//   serves every core, and the live registers of that task are the debugger's current ones
//   (no core is named to it), as on a single-core target.
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"

#include <cstdint>

// The core of a read: core when it is not kNoCore, else the call's hostCoreId, else 0.
uint64_t core_of_call(const OSA_ServiceCntx* ctx, uint64_t core = kNoCore);

// The index of the element of attr that serves core (0 for an attribute with one formula), or
// -1 when none does.
int32_t element_of_core(const AttributeDecl& attr, uint64_t core);
// That element's formula, or null when none serves core.
const char* formula_of_core(const AttributeDecl& attr, uint64_t core);
// Makes formula the formula that serves core: the element of an array (element 0 also being the
// formula that a reader unaware of cores reads), else the one formula. False when no element
// serves core.
bool replace_formula_of_core(AttributeDecl& attr, uint64_t core, const char* formula);

// The OS object that serves core, or null when none does.
OrtiObject* os_of_core(const AwarenessState& state, uint64_t core);

// How many cores have a running task of their own in the model: 1 when one running task serves
// every core.
uint64_t running_task_core_count(const OrtiModel& model);
// The slot of core in per-core caches of the running task: 0 when one running task serves every
// core, core itself when it is one of running_task_core_count(), -1 otherwise.
int64_t running_task_slot(const OrtiModel& model, uint64_t core);

// The failures of the rules above, at level 4 (shown to the user at the default debug level).
void report_no_element(AwarenessState& state, OSA_ServiceCntx* ctx, const AttributeDecl& attr,
                       uint64_t core);
void report_no_os(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t core);
// When the target has fewer cores than the model has OS objects, says so once (level 4): the
// load goes on, and the OS objects beyond the target's cores are read only for a core a caller
// names. core_count is the target's, 0 when the debugger has not said.
void report_cores_of_target(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t core_count);
