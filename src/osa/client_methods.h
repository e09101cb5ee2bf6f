// The OSA client method table: the 38 OSA_Client_* methods the debugger calls.
//
// Each row binds a method name to a binding function and a method id. A binding finds the
// context record of the request, refreshes its per-call flags, reads the parameters, calls
// the plug-in's handler from the handler slot of that id and writes the handler's outputs and
// status ("return") into the result object. An empty slot is legal: the method then succeeds
// with its default outputs. HistoryLogDump and Exit are answered by this layer itself.
#pragma once

#include "host_link/jsonrpc.h"
#include "osa/service_context.h"
#include "osa/typed_value.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Method ids (indexes into ClientHandlerTable). They follow the row order except for the
// two swapped pairs of rows 18/19 and 23..26.
enum ClientMethodId : uint32_t {
  kOsaInit = 0,
  kOsaCleanup = 1,
  kTargetInit = 2,
  kTargetCleanup = 3,
  kObjectListInit = 4,
  kObjectListCleanup = 5,
  kObjectListNext = 6,
  kObjectListAttribute = 7,
  kTaskMemoryAccessSetup = 8,
  kTaskMemoryAccessRestore = 9,
  kTaskRegisterRead = 10,
  kTaskRegisterWrite = 11,
  kTaskAddressTranslate = 12,
  kTaskNameGet = 13,
  kTaskStatusGet = 14,
  kTaskExecGet = 15,
  kTaskCpuGet = 16,
  kTaskAddressSpaceGet = 17,
  kTaskRelocatableGet = 18,
  kTaskSymTabGet = 19,
  kCurrentTaskGet = 20,
  kTaskInKernelCheck = 21,
  kTaskInCurrentAddressSpaceCheck = 22,
  kTaskIsHiddenCheck = 23,
  kTaskLsoGet = 24,
  kTaskTksaGet = 25,
  kAddressSpaceNameGet = 26,
  kPoll = 27,
  kTargetNotify = 28,
  kOsaCmdExecute = 29,
  kGuiObjectCheck = 30,
  kObjectChangedCheck = 31,
  kLifeCycleCountsGet = 32,
  kPageTableGet = 33,
  kMessageInject = 34,
  kKernelMemoryRegionsGet = 35,
  kHistoryLogDump = 36,
  kExit = 37,
};

inline constexpr uint32_t kClientMethodCount = 38;

struct ClientMethodRow {
  const char* name;
  JsonRpcHandler binding;
  uint32_t id;
};

// The 38 rows in row order (the order of OsaInit's commands list).
const std::array<ClientMethodRow, kClientMethodCount>& client_method_table();

// Output records of the methods that answer more than one value.
struct RelocatableInfo {
  TypedValue text = typed_value_of(kValueAddress);
  TypedValue rodata = typed_value_of(kValueAddress);
  TypedValue data = typed_value_of(kValueAddress);
  TypedValue bss = typed_value_of(kValueAddress);
  TypedValue extra = typed_value_of(kValueAddress);
};

struct SymTabRecord {
  int32_t count = 0;
  std::vector<std::string> fileName;
  std::vector<uint64_t> mask, text, rodata, data, bss, extra;
  // Named sections: present only when the handler sets has_named_sections.
  bool has_named_sections = false;
  std::vector<int32_t> namedSectionCounts;
  std::vector<std::vector<std::string>> namedSectionNames;
  std::vector<std::vector<uint64_t>> namedSectionOffsets;
};

struct GuiObjectRecord {
  bool has_name = false;
  std::string objTypeName;
  int32_t objTypeId = 0;
  int32_t visible = 0;
};

struct KernelMemoryRegion {
  uint64_t begin = 0;
  uint64_t end = 0;
  uint64_t attributes = 0;
  uint64_t physicalBegin = 0;
  uint64_t physicalEnd = 0;
};

struct PageTable {
  std::vector<uint64_t> physLowArray, virtLowArray, regionSize, aidArray;
};

// Handler convention: the context record and its ClientArea first; then (all but OsaInit and
// OsaCleanup) the target data, by address for TargetInit and TargetCleanup; then the method's
// inputs; outputs through pointers. The result is the response's "return".
using OsaCntx = OSA_ServiceCntx;
using OsaInitHandler = int32_t (*)(OsaCntx*, ClientArea*);
using OsaCleanupHandler = int32_t (*)(OsaCntx*, ClientArea*);
using TargetInitHandler = int32_t (*)(OsaCntx*, ClientArea*, TargetDataLink*);
using TargetCleanupHandler = int32_t (*)(OsaCntx*, ClientArea*, TargetDataLink*);
// parent is null when the request named no parent.
using ObjectListHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, int32_t objTypeId,
                                      const ParentRecord* parent);
using ObjectListAttributeHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target,
                                               int32_t objTypeId, const ParentRecord* parent,
                                               int32_t objAtrId, TypedValue* value);
using TaskMemoryAccessHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t taskId,
                                            int32_t memorySpace, uint64_t address, uint64_t count,
                                            uint64_t size, int32_t read);
using TaskRegisterReadHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t taskId,
                                            int32_t reg, uint64_t* value);
using TaskRegisterWriteHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t taskId,
                                             int32_t reg, uint64_t value);
using TaskAddressTranslateHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target,
                                                uint64_t taskId, int32_t* memorySpace,
                                                uint64_t address, int32_t toTask,
                                                TypedValue* translated);
// Task*Get and Task*Check (and AddressSpaceNameGet, whose first input is the address space).
using TaskValueHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t taskId,
                                     TypedValue* value);
using TaskAttributeValueHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t taskId,
                                              uint64_t taskAttribute, TypedValue* value);
using TaskSymTabGetHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t taskId,
                                         const char* kernelExecName, SymTabRecord* symtab);
using TaskRelocatableGetHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t taskId,
                                              RelocatableInfo* info);
// core is 0-based, kNoCore for none.
using CurrentTaskGetHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t core,
                                          uint64_t* taskId);
using PollHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target);
using TargetNotifyHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, int32_t notice);
using OsaCmdExecuteHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, const char* command);
using GuiObjectCheckHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target,
                                          const GuiObjectRecord* in, GuiObjectRecord* out);
using ObjectChangedCheckHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target,
                                              int32_t objTypeId, uint64_t objId,
                                              int32_t subObjTypeId, TypedValue* changeMask);
using LifeCycleCountsGetHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target,
                                              int32_t objTypeId, uint64_t objId,
                                              int32_t subObjTypeId, uint64_t* count,
                                              std::vector<uint64_t>* lifeCycle);
using PageTableGetHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, uint64_t domainId,
                                        PageTable* tables, uint64_t* count);
using MessageInjectHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target, int32_t objTypeId,
                                         uint64_t objId, const char* message);
using KernelMemoryRegionsGetHandler = int32_t (*)(OsaCntx*, ClientArea*, void* target,
                                                  std::vector<KernelMemoryRegion>* regions,
                                                  int32_t* numRegions);

// The handler type of each slot. HistoryLogDump and Exit have no handler type: their slots
// exist but stay empty, since this layer answers them itself.
template <uint32_t Id> struct ClientHandlerType;
#define OSA_HANDLER_TYPE(id, type)                                                                 \
  template <> struct ClientHandlerType<id> { using type_t = type; }
OSA_HANDLER_TYPE(kOsaInit, OsaInitHandler);
OSA_HANDLER_TYPE(kOsaCleanup, OsaCleanupHandler);
OSA_HANDLER_TYPE(kTargetInit, TargetInitHandler);
OSA_HANDLER_TYPE(kTargetCleanup, TargetCleanupHandler);
OSA_HANDLER_TYPE(kObjectListInit, ObjectListHandler);
OSA_HANDLER_TYPE(kObjectListCleanup, ObjectListHandler);
OSA_HANDLER_TYPE(kObjectListNext, ObjectListHandler);
OSA_HANDLER_TYPE(kObjectListAttribute, ObjectListAttributeHandler);
OSA_HANDLER_TYPE(kTaskMemoryAccessSetup, TaskMemoryAccessHandler);
OSA_HANDLER_TYPE(kTaskMemoryAccessRestore, TaskMemoryAccessHandler);
OSA_HANDLER_TYPE(kTaskRegisterRead, TaskRegisterReadHandler);
OSA_HANDLER_TYPE(kTaskRegisterWrite, TaskRegisterWriteHandler);
OSA_HANDLER_TYPE(kTaskAddressTranslate, TaskAddressTranslateHandler);
OSA_HANDLER_TYPE(kTaskNameGet, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskStatusGet, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskExecGet, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskCpuGet, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskAddressSpaceGet, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskRelocatableGet, TaskRelocatableGetHandler);
OSA_HANDLER_TYPE(kTaskSymTabGet, TaskSymTabGetHandler);
OSA_HANDLER_TYPE(kCurrentTaskGet, CurrentTaskGetHandler);
OSA_HANDLER_TYPE(kTaskInKernelCheck, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskInCurrentAddressSpaceCheck, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskIsHiddenCheck, TaskValueHandler);
OSA_HANDLER_TYPE(kTaskLsoGet, TaskAttributeValueHandler);
OSA_HANDLER_TYPE(kTaskTksaGet, TaskAttributeValueHandler);
OSA_HANDLER_TYPE(kAddressSpaceNameGet, TaskValueHandler);
OSA_HANDLER_TYPE(kPoll, PollHandler);
OSA_HANDLER_TYPE(kTargetNotify, TargetNotifyHandler);
OSA_HANDLER_TYPE(kOsaCmdExecute, OsaCmdExecuteHandler);
OSA_HANDLER_TYPE(kGuiObjectCheck, GuiObjectCheckHandler);
OSA_HANDLER_TYPE(kObjectChangedCheck, ObjectChangedCheckHandler);
OSA_HANDLER_TYPE(kLifeCycleCountsGet, LifeCycleCountsGetHandler);
OSA_HANDLER_TYPE(kPageTableGet, PageTableGetHandler);
OSA_HANDLER_TYPE(kMessageInject, MessageInjectHandler);
OSA_HANDLER_TYPE(kKernelMemoryRegionsGet, KernelMemoryRegionsGetHandler);
#undef OSA_HANDLER_TYPE

// 38 slots indexed by method id. Each slot holds a handler of its method's type, stored
// type-erased and read back only through the typed accessors below.
struct ClientHandlerTable {
  using ErasedHandler = void (*)();
  std::array<ErasedHandler, kClientMethodCount> slots{};

  bool filled(uint32_t id) const { return id < kClientMethodCount && slots[id] != nullptr; }
  void clear() { slots.fill(nullptr); }

  template <uint32_t Id> void set(typename ClientHandlerType<Id>::type_t handler) {
    slots[Id] = reinterpret_cast<ErasedHandler>(handler);
  }
  template <uint32_t Id> typename ClientHandlerType<Id>::type_t get() const {
    return reinterpret_cast<typename ClientHandlerType<Id>::type_t>(slots[Id]);
  }
};

// The plug-in's registration: called once by OSA_Client_CmdInit with the process's argc and
// argv to fill the handler slots. This layer cannot know the plug-in above it, so the program's
// entry installs the registration before it starts the process; without one every slot stays
// empty.
using PluginRegistration = void (*)(int argc, char** argv, ClientHandlerTable& table);
void osa_set_plugin_registration(PluginRegistration registration);

// The osa layer's process-wide state.
struct OsaLayerState {
  bool initialised = false;
  PluginRegistration registration = nullptr;
  ClientHandlerTable handlers;
  ContextList contexts;
  uint32_t nesting_depth = 0; // bindings in progress
};
OsaLayerState& osa_layer_state();

// The process-wide handler table (tests plug their handlers into it after OSA_Client_CmdInit).
inline ClientHandlerTable& client_handlers() {
  return osa_layer_state().handlers;
}

// Registers the 38 bindings, creates the request service on transport and lets the plug-in
// fill its handler slots. Runs once; a second call does nothing.
extern "C" void OSA_Client_CmdInit(int argc, char** argv, JrTransport transport);

// Puts the osa layer and the JSON-RPC layer back into their process start state: no
// bindings, no request service, no context records, empty slots, nesting depth 0, and the
// exit request cleared. The installed registration stays.
void osa_reset_for_tests();
