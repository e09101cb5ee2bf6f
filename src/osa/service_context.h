// The per-debugger-context record and the records around it.
//
// The debugger names a context in every call; OsaInit creates its OSA_ServiceCntx and
// OsaCleanup destroys it. The record carries what the debugger told us about the target (CPU
// types, byte orders, cores), the per-call flags of the request being served, and the links
// to the request and result of the current and of the interrupted call. The ClientArea part
// belongs to the plug-in and is handed to every handler.
#pragma once

#include "host_link/simple_json/json_value.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A core number, 0-based; all ones stands for "no core".
inline constexpr uint64_t kNoCore = ~0ull;

// Bits of OSA_ServiceCntx::target_flags.
enum TargetFlag : uint8_t {
  kTargetBigEndianTarget = 1u << 0,
  kTargetBigEndianHost = 1u << 1,
  kTargetLogCommunication = 1u << 2,
  kTargetAbortAction = 1u << 3,
  kTargetInUserMode = 1u << 4,
  kTargetDoNotCheckInKernel = 1u << 5,
  kTargetIsSimulator = 1u << 6,
  kTargetExplorerIsActive = 1u << 7,
};

// Bits of OSA_ServiceCntx::call_flags.
enum CallFlag : uint8_t {
  kCallTraecIsActive = 1u << 0,
  kCallWholeTargetHalted = 1u << 1,
  kCallTarnoInValidation = 1u << 2,
  kCallSuppressErrMsg = 1u << 3,
};

// Bits of ClientArea::option_flags.
enum OptionFlag : uint8_t {
  kOptionKernelInPhysicalAddress = 1u << 0,
  kOptionTranslateAddressOnMasterProcess = 1u << 1,
  kOptionTreatMasterProcessAsKernel = 1u << 2,
  kOptionShowObjectNumber = 1u << 3,
  kOptionFixOsaMemSpc = 1u << 4,
  kOptionDistinguishCpuModes = 1u << 5,
};

struct PluginState; // the plug-in's state for one context

struct ClientArea {
  int32_t versionAcknowledge = 0;
  int32_t versionRequired = 0;
  // Owned by the plug-in. When a record is destroyed with the link still set, the release
  // function (if the plug-in installed one) is called with it.
  PluginState* plugin_state = nullptr;
  void (*plugin_state_release)(PluginState*) = nullptr;
  uint8_t option_flags = 0;
  uint64_t fakeTidForMasterProcess = 0;
  int32_t pageSize = 0;
  int32_t osaKernelMajorVersion = 0;
  int32_t osaKernelMinorVersion = 0;
  int32_t noiceMask = 0;
};

// The plug-in's per-target object. Whoever sets the link says how it is freed: with a release
// function the record owns the object and frees it when the link is dropped (TargetCleanup,
// OsaCleanup); without one the link only borrows an object owned elsewhere (the plug-in keeps
// its state through ClientArea and hands the same object here).
struct TargetDataLink {
  void* object = nullptr;
  void (*release)(void*) = nullptr;
};
// Frees the object when the link owns it, then empties the link.
void target_data_drop(TargetDataLink& link);

struct CpuModeEntry {
  uint64_t core = 0;
  uint32_t inUserMode = 0;
};
using CpuModeCache = std::vector<CpuModeEntry>;
// Stores the answer for core, updating an existing entry or appending one.
void cpu_mode_cache_store(CpuModeCache& cache, uint64_t core, uint32_t in_user_mode);
// The entry of core, or null.
const CpuModeEntry* cpu_mode_cache_find(const CpuModeCache& cache, uint64_t core);

// The parent of an object list.
struct ParentRecord {
  uint64_t parentObjId = 0;
  uint32_t parentObjTypeId = 0xFFFFFFFFu; // no parent
  uint32_t parentObjListId = 0xFFFFFFFFu;
};

// A message to display that a command holds back until it knows whether to show it.
struct HeldMessage {
  int32_t type = 0;
  std::string text;
};

struct OSA_ServiceCntx {
  uint16_t majorCpuType = 0;
  uint16_t minorCpuType = 0;
  uint8_t target_flags = 0;
  uint8_t call_flags = 0;
  std::vector<uint32_t> minorCpuTypes; // up to 10
  uint32_t allowBpOps = 0;
  uint32_t majorCpuTypeCopy = 0;
  uint32_t cpuAddressSize = 0;
  uint32_t signExtendAddressFrom4BytesTo8Bytes = 0;
  std::string sharedLibPath;
  std::string realSharedLibPath;
  std::string tarnoDir;
  uint64_t context = 0;
  ClientArea area;
  TargetDataLink target_data;
  uint64_t hostCoreId = kNoCore;
  uint64_t firstCoreIdOffset = 0;
  std::vector<uint64_t> coreIdList;
  uint64_t coreCount = 0;
  uint8_t unifiedMcOsa = 0;
  uint8_t mcIsFrozen = 0;
  uint8_t showHiddenTasks = 0;
  uint8_t showAllObjects = 1;
  uint8_t wantPhysicalAddress = 0;
  // Links to the request being served and the one it interrupted, and to their result
  // objects. They are valid only while those calls run.
  const JsonValue* current_params = nullptr;
  const JsonValue* previous_params = nullptr;
  JsonValue* current_result = nullptr;
  JsonValue* previous_result = nullptr;
  CpuModeCache cpu_modes;
  int32_t tarnoMajor = 0;
  int32_t tarnoMinor = 0;
  int32_t tarnoMicro = 0;
  int32_t debugMode = -1;
  // Calls on this record in progress (nested ones included).
  uint32_t calls_in_progress = 0;
  // While set, the messages of the call at nesting depth held_depth go here instead of to the
  // debugger: a command that reads many values in one call decides after each read whether
  // its notes are shown, as a debugger does that reads them one call at a time. Messages of
  // calls nested deeper are not the read's and go out as usual.
  std::vector<HeldMessage>* held_messages = nullptr;
  uint32_t held_depth = 0;

  OSA_ServiceCntx() = default;
  OSA_ServiceCntx(const OSA_ServiceCntx&) = delete;
  OSA_ServiceCntx& operator=(const OSA_ServiceCntx&) = delete;
  // Frees the target data (when the link owns it) and the plug-in state left in the link.
  ~OSA_ServiceCntx();
};

inline bool target_flag(const OSA_ServiceCntx& c, TargetFlag f) {
  return (c.target_flags & f) != 0;
}
inline void set_target_flag(OSA_ServiceCntx& c, TargetFlag f, bool on) {
  c.target_flags = static_cast<uint8_t>(on ? (c.target_flags | f) : (c.target_flags & ~f));
}
inline bool call_flag(const OSA_ServiceCntx& c, CallFlag f) {
  return (c.call_flags & f) != 0;
}
inline void set_call_flag(OSA_ServiceCntx& c, CallFlag f, bool on) {
  c.call_flags = static_cast<uint8_t>(on ? (c.call_flags | f) : (c.call_flags & ~f));
}
inline bool option_flag(const ClientArea& a, OptionFlag f) {
  return (a.option_flags & f) != 0;
}
inline void set_option_flag(ClientArea& a, OptionFlag f, bool on) {
  a.option_flags = static_cast<uint8_t>(on ? (a.option_flags | f) : (a.option_flags & ~f));
}

// All context records in creation order, and those that left it while a call on them was
// still running (destroyed when that call ends).
struct ContextList {
  std::vector<std::unique_ptr<OSA_ServiceCntx>> records;
  std::vector<std::unique_ptr<OSA_ServiceCntx>> retired;
};

// Appends a new record for context with the creation defaults.
OSA_ServiceCntx* context_create(ContextList& list, uint64_t context);
// The first record of that context, or null.
OSA_ServiceCntx* context_find(const ContextList& list, uint64_t context);
// Removes the record from the list and destroys it. When calls on it are still in progress
// (a cleanup that arrived nested inside a call on the same record), the record leaves the list
// at once but is destroyed only when the last of those calls has ended.
void context_destroy(ContextList& list, OSA_ServiceCntx* record);
// Called when a call on record ends: destroys a record that context_destroy retired.
void context_call_ended(ContextList& list, OSA_ServiceCntx* record);
