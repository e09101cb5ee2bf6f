// The per-kind accessors, driven by one table row per object type.
#include "awareness/object_attributes.h"

#include "awareness/cores.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"
#include "runtime/format.h"

#include <array>

namespace {

inline constexpr int kNoSlot = -1;

// How one object type answers the accessor calls.
struct KindAccess {
  const char* name;         // of the accessor, for its traces
  const char* list_name;    // generated name of a list element without _NAME, or null
  bool passes_list_context; // its attributes are read as list elements
  int standard_count;       // ids 3 .. 3 + count - 1 are standard attributes
  std::array<int, 7> slots; // model slot of ids 3..9
  std::array<const char*, 7> labels;
};

constexpr KindAccess kOsAccess{"get_os_attribute",
                               nullptr,
                               false,
                               7,
                               {kOsRunningTask, kOsRunningTaskPriority, kOsRunningIsr2,
                                kOsServiceTrace, kOsLastError, kOsCurrentAppMode, kOsRunningTaskId},
                               {"RUNNINGTASK", "RUNNINGTASKPRIORITY", "RUNNINGISR2", "SERVICETRACE",
                                "LASTERROR", "CURRENTAPPMODE", "_RUNNINGTASK"}};
constexpr KindAccess kTaskAccess{"get_task_attribute",
                                 "Task%d",
                                 true,
                                 7,
                                 {kTaskPriority, kTaskState, kTaskStack, kTaskCurrentActivations,
                                  kTaskRemainingActivations, kTaskContext, kTaskTaskId},
                                 {"PRIORITY", "STATE", "STACK", "CURRENTACTIVATIONS",
                                  "REMAININGACTIVATIONS", "CONTEXT", "TASK_ID"}};
constexpr KindAccess kContextAccess{
    "get_context_attribute",
    "Context%d",
    true,
    2,
    {kContextAddress, kContextSize, kNoSlot, kNoSlot, kNoSlot, kNoSlot, kNoSlot},
    {"ADDRESS", "SIZE"}};
constexpr KindAccess kStackAccess{
    "get_stack_attribute",
    "Stack%d",
    true,
    4,
    {kStackSize, kStackBaseAddress, kStackDirection, kStackFillPattern, kNoSlot, kNoSlot, kNoSlot},
    {"SIZE", "BASEADDRESS", "STACKDIRECTION", "FILLPATTERN"}};
constexpr KindAccess kAlarmAccess{
    "get_alarm_attribute",
    "Alarm%d",
    true,
    5,
    {kAlarmAlarmTime, kAlarmCycleTime, kAlarmState, kAlarmAction, kAlarmCounter, kNoSlot, kNoSlot},
    {"ALARMTIME", "CYCLETIME", "STATE", "ACTION", "COUNTER"}};
constexpr KindAccess kResourceAccess{
    "get_resource_attribute",
    nullptr,
    false,
    3,
    {kResourceState, kResourceLocker, kResourcePriority, kNoSlot, kNoSlot, kNoSlot, kNoSlot},
    {"STATE", "LOCKER", "PRIORITY"}};
constexpr KindAccess kMessageContainerAccess{
    "get_messagecontainer_attribute",
    nullptr,
    false,
    5,
    {kMessageContainerMsgName, kMessageContainerMsgType, kMessageContainerQueueSize,
     kMessageContainerQueueCount, kMessageContainerFirstElement, kNoSlot, kNoSlot},
    {"MSGNAME", "MSGTYPE", "QUEUESIZE", "QUEUECOUNT", "FIRSTELEMENT"}};
constexpr KindAccess kVendorAccess{"get_custom_attribute", nullptr, true, 0, {}, {}};

static_assert(kTaskAccess.slots[kTaskIdAttribute - kAttributeFirstStandard] == kTaskTaskId);

const KindAccess* access_of(int32_t type) {
  switch (type) {
  case kTypeOs:
    return &kOsAccess;
  case kTypeTask:
    return &kTaskAccess;
  case kTypeContext:
    return &kContextAccess;
  case kTypeStack:
    return &kStackAccess;
  case kTypeAlarm:
    return &kAlarmAccess;
  case kTypeResource:
    return &kResourceAccess;
  case kTypeMessageContainer:
    return &kMessageContainerAccess;
  default:
    return type >= kTypeVendorBase ? &kVendorAccess : nullptr;
  }
}

// The generated name (id 2) of the current object.
int32_t object_name(AwarenessState& state, OSA_ServiceCntx* ctx, const KindAccess& access,
                    int32_t type, OrtiObject& object, int64_t index, TypedValue* value,
                    const ReadFlags& flags) {
  if (value->code != kValueText) {
    return 1;
  }
  if (type == kTypeOs) {
    typed_value_store_text(*value, object.name != nullptr ? object.name : "OS");
    return 0;
  }
  if (access.passes_list_context && object.is_list) {
    if (object.name_attribute()) {
      return get_attribute_value(state, ctx, object.name_attribute(), value, &object, flags);
    }
    const int position = static_cast<int>(state.list_position);
    if (access.list_name != nullptr) {
      typed_value_store_text(*value, format(access.list_name, position));
    } else if (object.description != nullptr) {
      typed_value_store_text(*value, format("%s %d", object.description, position));
    } else {
      typed_value_store_text(*value, format("Resource%d", position));
    }
    return 0;
  }
  typed_value_store_text(*value, object.name != nullptr
                                     ? std::string(object.name)
                                     : format("Nameless%lld", static_cast<long long>(index)));
  return 0;
}

int32_t object_number(const AwarenessState& state, int32_t type, const OrtiObject& object,
                      int64_t index, TypedValue* value) {
  uint64_t number = static_cast<uint64_t>(index) + 1;
  if (type == kTypeOs) {
    number = 1;
  } else if (object.is_list) {
    number = static_cast<uint64_t>(state.list_position) + 1;
  }
  switch (value->code) {
  case kValueText:
    typed_value_store_text(*value, format("0x%llx", static_cast<unsigned long long>(number)));
    return 0;
  case kValueUInt32:
  case kValueUInt64:
    typed_value_store_u64(*value, number);
    return 0;
  default:
    return 1;
  }
}

// An id that names no attribute at all: the caller returns 1 without the failure line.
constexpr int32_t kNotAnAttribute = -1;

int32_t read_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, const KindAccess& access,
                       int32_t type, int32_t attr_id, TypedValue* value, AttributeDecl** attr_out,
                       const ReadFlags& flags) {
  if (attr_out != nullptr) {
    *attr_out = nullptr;
  }
  OrtiObject* object = nullptr;
  if (type == kTypeOs) {
    // The OS object of the read's core; with one OS object, that one serves every core.
    const uint64_t core = core_of_call(ctx, flags.core);
    object = os_of_core(state, core);
    if (object == nullptr) {
      if (state.model != nullptr) {
        report_no_os(state, ctx, core);
        return 1;
      }
      return kNotAnAttribute;
    }
  } else {
    object = current_object(state, type);
  }
  if (object == nullptr) {
    return kNotAnAttribute;
  }
  const int64_t index = type == kTypeOs ? 0 : *object_cursor(state, type);
  const OrtiObject* list_context = access.passes_list_context ? object : nullptr;
  if (attr_id == kAttributeObjectNumber) {
    return object_number(state, type, *object, index, value);
  }
  if (attr_id == kAttributeName) {
    return object_name(state, ctx, access, type, *object, index, value, flags);
  }
  AttributeDecl* attr = nullptr;
  if (attr_id >= kAttributeFirstStandard && attr_id <= kAttributeLastStandard) {
    if (attr_id - kAttributeFirstStandard >= access.standard_count) {
      return kNotAnAttribute;
    }
    attr = standard_attribute(*object, type, attr_id);
  } else if (attr_id >= kAttributeFirstCustom) {
    const int64_t n = static_cast<int64_t>(attr_id) - kAttributeFirstCustom;
    if (n >= object->custom_attribute_count()) {
      return kNotAnAttribute;
    }
    attr = object->custom_attributes[static_cast<std::size_t>(n)].attribute.get();
  } else {
    return kNotAnAttribute;
  }
  if (attr_out != nullptr) {
    *attr_out = attr;
  }
  return get_attribute_value(state, ctx, attr, value, list_context, flags);
}

int32_t finish(AwarenessState& state, OSA_ServiceCntx* ctx, const char* name, int32_t status) {
  if (status == kNotAnAttribute) {
    return 1;
  }
  if (status == 0) {
    osa_trace(state, ctx, 50, "%s(): Success\n", name);
  } else {
    osa_trace(state, ctx, 0, "%s(): Failure\n", name);
  }
  return status;
}

int32_t standard_accessor(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                          int32_t attr_id, TypedValue* value, AttributeDecl** attr_out,
                          const ReadFlags& flags) {
  const KindAccess& access = *access_of(type);
  osa_trace(state, ctx, 50, "%s(objAtrId:%d)\n", access.name, static_cast<int>(attr_id));
  if (value == nullptr) {
    return 1;
  }
  return finish(state, ctx, access.name,
                read_attribute(state, ctx, access, type, attr_id, value, attr_out, flags));
}

} // namespace

AttributeDecl* standard_attribute(const OrtiObject& object, int32_t type, int32_t attr_id) {
  const KindAccess* access = access_of(type);
  if (access == nullptr || attr_id < kAttributeFirstStandard ||
      attr_id - kAttributeFirstStandard >= access->standard_count) {
    return nullptr;
  }
  const int slot = access->slots[static_cast<std::size_t>(attr_id - kAttributeFirstStandard)];
  return object.standard[static_cast<std::size_t>(slot)].get();
}

const char* standard_attribute_label(int32_t type, int32_t attr_id) {
  const KindAccess* access = access_of(type);
  if (access == nullptr || attr_id < kAttributeFirstStandard ||
      attr_id - kAttributeFirstStandard >= access->standard_count) {
    return nullptr;
  }
  return access->labels[static_cast<std::size_t>(attr_id - kAttributeFirstStandard)];
}

int32_t get_os_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t attr_id,
                         TypedValue* value, AttributeDecl** attr_out, const ReadFlags& flags) {
  osa_trace(state, ctx, 50, "get_os_attribute(objAtrId:%d, retVal->type:%d)\n",
            static_cast<int>(attr_id), value != nullptr ? static_cast<int>(value->code) : -1);
  if (value == nullptr) {
    osa_trace(state, ctx, 0, "get_os_attribute(): Internal Error: retVal == NULL\n");
    return 1;
  }
  return finish(state, ctx, kOsAccess.name,
                read_attribute(state, ctx, kOsAccess, kTypeOs, attr_id, value, attr_out, flags));
}

int32_t get_task_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t attr_id,
                           TypedValue* value, AttributeDecl** attr_out, const ReadFlags& flags) {
  return standard_accessor(state, ctx, kTypeTask, attr_id, value, attr_out, flags);
}

int32_t get_custom_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t custidx,
                             int32_t attr_id, TypedValue* value, AttributeDecl** attr_out,
                             const ReadFlags& flags) {
  osa_trace(state, ctx, 50, "get_custom_attribute(custidx:%d, objAtrId:%d)\n",
            static_cast<int>(custidx), static_cast<int>(attr_id));
  const int64_t type = static_cast<int64_t>(kTypeVendorBase) + custidx;
  if (custidx < 0 || type > INT32_MAX || !object_type_exists(state, static_cast<int32_t>(type))) {
    osa_trace(state, ctx, 0, "get_custom_attribute(): Failure (bad idx)\n");
    return 1;
  }
  if (value == nullptr) {
    return 1;
  }
  return finish(state, ctx, kVendorAccess.name,
                read_attribute(state, ctx, kVendorAccess, static_cast<int32_t>(type), attr_id,
                               value, attr_out, flags));
}

int32_t get_object_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                             int32_t attr_id, TypedValue* value, AttributeDecl** attr_out,
                             const ReadFlags& flags) {
  switch (type) {
  case kTypeOs:
    return get_os_attribute(state, ctx, attr_id, value, attr_out, flags);
  case kTypeTask:
  case kTypeContext:
  case kTypeStack:
  case kTypeAlarm:
  case kTypeResource:
  case kTypeMessageContainer:
    return standard_accessor(state, ctx, type, attr_id, value, attr_out, flags);
  default:
    if (type >= kTypeVendorBase) {
      return get_custom_attribute(state, ctx, type - kTypeVendorBase, attr_id, value, attr_out,
                                  flags);
    }
    return 1;
  }
}
