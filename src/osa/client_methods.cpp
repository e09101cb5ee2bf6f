// The bindings of the 38 OSA_Client_* methods: parameter reading, context lookup, per-call
// refresh, the nesting guard, the handler call and the result members.
#include "osa/client_methods.h"

#include "host_link/log_facility.h"
#include "host_link/process_flags.h"

#include <cstdio>
#include <optional>

namespace {

// ---- parameter reading ----------------------------------------------------------------------
// A member of the wrong JSON kind counts as absent; params that is not an Object has no members.

bool get_i64(const JsonValue* params, const char* key, int64_t* out) {
  return json_object_get_integer(params, key, out);
}

bool get_u64(const JsonValue* params, const char* key, uint64_t* out) {
  int64_t v = 0;
  if (!json_object_get_integer(params, key, &v)) {
    return false;
  }
  *out = static_cast<uint64_t>(v);
  return true;
}

bool get_i32(const JsonValue* params, const char* key, int32_t* out) {
  int64_t v = 0;
  if (!json_object_get_integer(params, key, &v)) {
    return false;
  }
  *out = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
  return true;
}

bool get_flag(const JsonValue* params, const char* key, bool* out) {
  int64_t v = 0;
  if (!json_object_get_integer(params, key, &v)) {
    return false;
  }
  *out = v != 0;
  return true;
}

bool flag_or(const JsonValue* params, const char* key, bool fallback) {
  bool v = fallback;
  get_flag(params, key, &v);
  return v;
}

int32_t i32_or(const JsonValue* params, const char* key, int32_t fallback) {
  int32_t v = fallback;
  get_i32(params, key, &v);
  return v;
}

bool get_str(const JsonValue* params, const char* key, const char** out) {
  return json_object_get_string(params, key, out);
}

const JsonValue* member(const JsonValue* params, const char* key) {
  const JsonValue* v = nullptr;
  return json_object_get(params, key, &v) ? v : nullptr;
}

// ---- result writing -------------------------------------------------------------------------

void put_i32(JsonValue* result, const char* key, int32_t v) {
  json_object_add_int32(result, key, v);
}
void put_i64(JsonValue* result, const char* key, int64_t v) {
  json_object_add_integer(result, key, v);
}
void put_u64(JsonValue* result, const char* key, uint64_t v) {
  json_object_add_integer(result, key, static_cast<int64_t>(v));
}
void put_str(JsonValue* result, const char* key, const std::string& v) {
  json_object_add_string(result, key, v.c_str());
}
void put_bit(JsonValue* result, const char* key, bool v) {
  put_i32(result, key, v ? 1 : 0);
}

// An array of the first count entries of items; false (nothing added) when items holds fewer.
bool put_u64_array(JsonValue* result, const char* key, const std::vector<uint64_t>& items,
                   int64_t count) {
  if (count < 0 || static_cast<uint64_t>(count) > items.size()) {
    return false;
  }
  JsonPtr array = json_new_array();
  for (int64_t i = 0; i < count; ++i) {
    json_array_append(array.get(), json_new_integer(static_cast<int64_t>(items[i])));
  }
  return json_object_add(result, key, std::move(array));
}

bool put_str_array(JsonValue* result, const char* key, const std::vector<std::string>& items,
                   int64_t count) {
  if (count < 0 || static_cast<uint64_t>(count) > items.size()) {
    return false;
  }
  JsonPtr array = json_new_array();
  for (int64_t i = 0; i < count; ++i) {
    json_array_append(array.get(), json_new_string(items[i].c_str()));
  }
  return json_object_add(result, key, std::move(array));
}

void put_value_by_code(JsonValue* result, const char* key, const TypedValue& value) {
  if (value.code != kValueText) {
    put_i64(result, key, typed_value_as_i64(value));
  } else {
    put_str(result, key, value.text);
  }
}

JsonPtr answer(JsonPtr result, int32_t status) {
  json_object_add_int32(result.get(), "return", status);
  return result;
}

// ---- context lookup, per-call refresh and the nesting guard ----------------------------------

// Sets the per-call fields of ctx from one request.
void refresh_call_fields(OSA_ServiceCntx& ctx, const JsonValue* params) {
  set_target_flag(ctx, kTargetInUserMode, flag_or(params, "inUserMode", false));
  set_target_flag(ctx, kTargetAbortAction, flag_or(params, "abortAction", false));
  set_call_flag(ctx, kCallTarnoInValidation, flag_or(params, "tarnoInValidation", false));
  uint64_t host_core = 0;
  ctx.hostCoreId = get_u64(params, "hostCoreId", &host_core) ? host_core - 1 : kNoCore;
  ctx.unifiedMcOsa = flag_or(params, "unifiedMcOsa", false) ? 1 : 0;
  ctx.mcIsFrozen = flag_or(params, "mcIsFrozen", false) ? 1 : 0;
  bool traec = false;
  if (get_flag(params, "traecIsActive", &traec)) {
    set_call_flag(ctx, kCallTraecIsActive, traec);
  }
}

OSA_ServiceCntx* find_context(const JsonValue* params) {
  int64_t context = 0;
  if (!get_i64(params, "context", &context)) {
    return nullptr;
  }
  return context_find(osa_layer_state().contexts, static_cast<uint64_t>(context));
}

// Finds the record of the request's context, refreshes its per-call fields and shifts the call
// links.
OSA_ServiceCntx* find_and_refresh(const JsonValue* params, JsonValue* result) {
  OSA_ServiceCntx* ctx = find_context(params);
  if (ctx == nullptr) {
    return nullptr;
  }
  refresh_call_fields(*ctx, params);
  ctx->previous_params = ctx->current_params;
  ctx->current_params = params;
  ctx->previous_result = ctx->current_result;
  ctx->current_result = result;
  return ctx;
}

// Keeps the interrupted call's links while a nested call runs, and puts them and the
// interrupted call's per-call flags back when the nested call ends.
class NestingGuard {
public:
  explicit NestingGuard(OSA_ServiceCntx* ctx)
      : ctx_(ctx), previous_params_(ctx->previous_params), previous_result_(ctx->previous_result) {
    ctx->previous_params = nullptr;
    ctx->previous_result = nullptr;
    ++osa_layer_state().nesting_depth;
    ++ctx->calls_in_progress;
  }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

  ~NestingGuard() {
    OsaLayerState& state = osa_layer_state();
    --state.nesting_depth;
    --ctx_->calls_in_progress;
    if (previous_params_ != nullptr && state.nesting_depth > 0) {
      // Finding no record at all only means that a nested cleanup has just retired this one;
      // only another record of the same context is worth the warning.
      const OSA_ServiceCntx* found = find_context(previous_params_);
      if (found != nullptr && found != ctx_) {
        std::fputs("Got different OSA_ServiceCntx at restoration.\n", stderr);
      }
      // The interrupted call goes on with its own record, so that record gets its flags and
      // links back whatever the lookup found.
      refresh_call_fields(*ctx_, previous_params_);
      ctx_->current_params = previous_params_;
      ctx_->current_result = previous_result_;
    } else {
      // No interrupted call on this record: the links must not outlive the finished call,
      // whose request is freed once its response is built.
      ctx_->current_params = nullptr;
      ctx_->current_result = nullptr;
    }
    ctx_->previous_params = nullptr;
    ctx_->previous_result = nullptr;
    context_call_ended(state.contexts, ctx_);
  }

private:
  OSA_ServiceCntx* ctx_;
  const JsonValue* previous_params_;
  JsonValue* previous_result_;
};

// The common steps of every binding but OsaInit, HistoryLogDump and Exit: body reads the
// parameters (answering 1 for a missing required one), calls the handler and writes the
// outputs; its status becomes "return".
template <class Body> JsonPtr serve(const JsonValue* params, Body&& body) {
  JsonPtr result = json_new_object();
  OSA_ServiceCntx* ctx = find_and_refresh(params, result.get());
  if (ctx == nullptr) {
    return answer(std::move(result), 1);
  }
  NestingGuard guard(ctx);
  const int32_t status = body(*ctx, result.get());
  return answer(std::move(result), status);
}

template <uint32_t Id> typename ClientHandlerType<Id>::type_t slot() {
  return client_handlers().get<Id>();
}

// ---- object lists ---------------------------------------------------------------------------

struct ObjectListInputs {
  int32_t objTypeId = 0;
  bool has_parent = false;
  ParentRecord parent;
};

// false when a required parameter is missing.
bool read_object_list_inputs(const JsonValue* params, ObjectListInputs& in) {
  if (!get_i32(params, "objTypeId", &in.objTypeId)) {
    return false;
  }
  int32_t parent_type = 0;
  if (get_i32(params, "parentObjTypeId", &parent_type)) {
    in.has_parent = true;
    in.parent.parentObjTypeId = static_cast<uint32_t>(parent_type);
    if (!get_u64(params, "parentObjId", &in.parent.parentObjId)) {
      return false;
    }
  }
  int32_t list_id = 0;
  if (get_i32(params, "parentObjListId", &list_id)) {
    in.parent.parentObjListId = static_cast<uint32_t>(list_id);
  }
  return true;
}

template <uint32_t Id> JsonPtr bind_object_list(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    ObjectListInputs in;
    if (!read_object_list_inputs(params, in)) {
      return 1;
    }
    const ParentRecord* parent = in.has_parent ? &in.parent : nullptr;
    if constexpr (Id == kObjectListInit) {
      ctx.showAllObjects = flag_or(params, "showAllObjects", false) ? 1 : 0;
      set_option_flag(ctx.area, kOptionShowObjectNumber, true);
      int32_t status = 0;
      if (auto handler = slot<Id>()) {
        status = handler(&ctx, &ctx.area, ctx.target_data.object, in.objTypeId, parent);
      }
      put_bit(result, "showObjectNumber", option_flag(ctx.area, kOptionShowObjectNumber));
      return status;
    } else {
      if (auto handler = slot<Id>()) {
        return handler(&ctx, &ctx.area, ctx.target_data.object, in.objTypeId, parent);
      }
      return 0;
    }
  });
}

JsonPtr bind_object_list_attribute(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    ObjectListInputs in;
    int32_t atr_id = 0;
    int32_t value_type = 0;
    if (!read_object_list_inputs(params, in) || !get_i32(params, "objAtrId", &atr_id) ||
        !get_i32(params, "valueType", &value_type)) {
      return 1;
    }
    const bool integer =
        (value_type >= 1 && value_type <= 7) || value_type == 10 || value_type == 11;
    TypedValue value = typed_value_of(integer ? kValueUInt64 : kValueText);
    int32_t status = 0;
    if (auto handler = slot<kObjectListAttribute>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, in.objTypeId,
                       in.has_parent ? &in.parent : nullptr, atr_id, &value);
    }
    if (status == 0) {
      put_value_by_code(result, "objAtrValue", value);
    }
    return status;
  });
}

// ---- the context life cycle -----------------------------------------------------------------

JsonPtr bind_osa_init(const JsonValue* params) {
  JsonPtr result = json_new_object();
  int64_t context = 0;
  get_i64(params, "context", &context);
  OSA_ServiceCntx* ctx = context_create(osa_layer_state().contexts, static_cast<uint64_t>(context));
  if (ctx == nullptr) {
    return answer(std::move(result), 1);
  }
  ClientArea& area = ctx->area;
  get_i32(params, "versionRequired", &area.versionRequired);
  set_option_flag(area, kOptionTreatMasterProcessAsKernel,
                  flag_or(params, "treatMasterProcessAsKernel", true));
  const char* text = nullptr;
  if (get_str(params, "sharedLibPath", &text)) {
    ctx->sharedLibPath = text;
  }
  if (get_str(params, "realSharedLibPath", &text)) {
    ctx->realSharedLibPath = text;
  }
  if (get_str(params, "tarnoDir", &text)) {
    ctx->tarnoDir = text;
  }
  set_option_flag(area, kOptionFixOsaMemSpc, flag_or(params, "fixOsaMemSpc", false));
  ctx->showHiddenTasks = flag_or(params, "showHiddenTasks", false) ? 1 : 0;
  area.versionAcknowledge = 2;

  int32_t status = 0;
  if (auto handler = slot<kOsaInit>()) {
    status = handler(ctx, &area);
  }
  if (status != 0) {
    return answer(std::move(result), status);
  }
  JsonValue* r = result.get();
  put_i32(r, "versionAcknowledge", area.versionAcknowledge);
  put_bit(r, "translateAddressOnMasterProcess",
          option_flag(area, kOptionTranslateAddressOnMasterProcess));
  put_bit(r, "treatMasterProcessAsKernel", option_flag(area, kOptionTreatMasterProcessAsKernel));
  put_bit(r, "fixOsaMemSpc", option_flag(area, kOptionFixOsaMemSpc));
  put_u64(r, "fakeTidForMasterProcess", area.fakeTidForMasterProcess);
  std::vector<std::string> commands;
  for (const ClientMethodRow& row : client_method_table()) {
    if (client_handlers().filled(row.id) || row.id == kOsaCleanup || row.id == kHistoryLogDump ||
        row.id == kExit) {
      commands.emplace_back(row.name);
    }
  }
  put_i32(r, "commandCount", static_cast<int32_t>(commands.size()));
  if (!put_str_array(r, "commands", commands, static_cast<int64_t>(commands.size()))) {
    status = 1;
  }
  return answer(std::move(result), status);
}

JsonPtr bind_osa_cleanup(const JsonValue* params) {
  JsonPtr result = json_new_object();
  OSA_ServiceCntx* ctx = find_and_refresh(params, result.get());
  if (ctx == nullptr) {
    return answer(std::move(result), 1);
  }
  // A cleanup that arrives nested inside another call on the same record must give that call
  // its flags and links back, like any nested call; the record itself then lives on until that
  // call has ended.
  std::optional<NestingGuard> guard;
  if (ctx->calls_in_progress > 0) {
    guard.emplace(ctx);
  }
  int32_t status = 0;
  if (auto handler = slot<kOsaCleanup>()) {
    status = handler(ctx, &ctx->area);
  }
  context_destroy(osa_layer_state().contexts, ctx);
  return answer(std::move(result), status);
}

JsonPtr bind_target_init(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    int32_t major = 0;
    bool big_target = false;
    bool big_host = false;
    if (!get_i32(params, "majorCpuType", &major) ||
        !get_flag(params, "bigEndianTarget", &big_target) ||
        !get_flag(params, "bigEndianHost", &big_host)) {
      return 1;
    }
    std::vector<uint32_t> minors;
    const JsonValue* array = member(params, "minorCpuTypeArray");
    if (array != nullptr && array->kind == JsonKind::Array) {
      minors.resize(10);
      if (!json_array_get_uint32s(array, 0, minors.data(), 10)) {
        return 1;
      }
    } else {
      int32_t minor = 0;
      if (!get_i32(params, "minorCpuType", &minor)) {
        return 1;
      }
      minors = {static_cast<uint32_t>(minor), 0xFFFFFFFFu};
    }

    int32_t v = 0;
    if (get_i32(params, "tarnoMajor", &v)) {
      ctx.tarnoMajor = v;
    }
    if (get_i32(params, "tarnoMinor", &v)) {
      ctx.tarnoMinor = v;
    }
    if (get_i32(params, "tarnoMicro", &v)) {
      ctx.tarnoMicro = v;
    }
    if (get_i32(params, "debugMode", &v)) {
      ctx.debugMode = v;
    }
    ctx.firstCoreIdOffset = 0;
    get_u64(params, "firstCoreIdOffset", &ctx.firstCoreIdOffset);
    ctx.majorCpuType = static_cast<uint16_t>(major);
    ctx.majorCpuTypeCopy = static_cast<uint32_t>(major);
    ctx.minorCpuType = static_cast<uint16_t>(minors[0]);
    ctx.minorCpuTypes = std::move(minors);
    set_target_flag(ctx, kTargetBigEndianTarget, big_target);
    set_target_flag(ctx, kTargetBigEndianHost, big_host);
    bool flag = false;
    if (get_flag(params, "logCommunication", &flag)) {
      set_target_flag(ctx, kTargetLogCommunication, flag);
    }
    set_target_flag(ctx, kTargetExplorerIsActive, flag_or(params, "explorerIsActive", false));
    if (get_flag(params, "traecIsActive", &flag)) {
      set_call_flag(ctx, kCallTraecIsActive, flag);
    }
    set_call_flag(ctx, kCallTarnoInValidation, flag_or(params, "tarnoInValidation", false));
    set_call_flag(ctx, kCallSuppressErrMsg, flag_or(params, "suppressErrMsg", false));
    ctx.cpuAddressSize = static_cast<uint32_t>(i32_or(params, "cpuAddressSize", 0));
    set_target_flag(ctx, kTargetIsSimulator, flag_or(params, "isSimulator", false));
    int64_t core_count = 1;
    get_i64(params, "coreCount", &core_count);
    ctx.coreCount = static_cast<uint64_t>(core_count);
    // Signed on the wire: a negative count is not a multi-core target.
    if (core_count > 1) {
      // Checked against the array first, so that an absurd count never sizes a buffer.
      const JsonValue* ids = member(params, "coreIdList");
      std::vector<uint64_t> list;
      bool readable =
          ids != nullptr && ids->kind == JsonKind::Array && ctx.coreCount <= ids->count();
      if (readable) {
        list.resize(ctx.coreCount);
        readable = json_array_get_uint64s(ids, 0, list.data(), static_cast<uint32_t>(list.size()));
      }
      ctx.coreIdList = readable ? std::move(list) : std::vector<uint64_t>();
    }
    ctx.signExtendAddressFrom4BytesTo8Bytes =
        static_cast<uint32_t>(i32_or(params, "signExtendAddressFrom4BytesTo8Bytes", 0));
    set_option_flag(ctx.area, kOptionKernelInPhysicalAddress,
                    flag_or(params, "kernelInPhysicalAddress", false));
    set_option_flag(ctx.area, kOptionDistinguishCpuModes,
                    flag_or(params, "distinguishCpuModes", true));
    if (get_flag(params, "fixOsaMemSpc", &flag)) {
      set_option_flag(ctx.area, kOptionFixOsaMemSpc, flag);
    }

    int32_t status = 0;
    if (auto handler = slot<kTargetInit>()) {
      status = handler(&ctx, &ctx.area, &ctx.target_data);
    }
    const ClientArea& area = ctx.area;
    put_i32(result, "osaKernelMajorVersion", area.osaKernelMajorVersion);
    put_i32(result, "osaKernelMinorVersion", area.osaKernelMinorVersion);
    put_i32(result, "pageSize", area.pageSize);
    put_bit(result, "kernelInPhysicalAddress", option_flag(area, kOptionKernelInPhysicalAddress));
    put_bit(result, "distinguishCpuModes", option_flag(area, kOptionDistinguishCpuModes));
    put_bit(result, "fixOsaMemSpc", option_flag(area, kOptionFixOsaMemSpc));
    put_i32(result, "noiceMask", area.noiceMask);
    return status;
  });
}

JsonPtr bind_target_cleanup(const JsonValue* params) {
  return serve(params, [](OSA_ServiceCntx& ctx, JsonValue*) -> int32_t {
    int32_t status = 0;
    if (auto handler = slot<kTargetCleanup>()) {
      status = handler(&ctx, &ctx.area, &ctx.target_data);
    }
    target_data_drop(ctx.target_data);
    return status;
  });
}

// ---- tasks ----------------------------------------------------------------------------------

template <uint32_t Id> JsonPtr bind_task_memory_access(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue*) -> int32_t {
    uint64_t task = 0, address = 0, count = 0, size = 0;
    int32_t space = 0, read = 0;
    if (!get_u64(params, "taskId", &task) || !get_i32(params, "memorySpace", &space) ||
        !get_u64(params, "address", &address) || !get_u64(params, "count", &count) ||
        !get_u64(params, "size", &size) || !get_i32(params, "read", &read)) {
      return 1;
    }
    if (auto handler = slot<Id>()) {
      return handler(&ctx, &ctx.area, ctx.target_data.object, task, space, address, count, size,
                     read);
    }
    return 0;
  });
}

JsonPtr bind_task_register_read(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    uint64_t task = 0;
    int32_t reg = 0;
    if (!get_u64(params, "taskId", &task) || !get_i32(params, "register", &reg)) {
      return 1;
    }
    uint64_t value = 0;
    int32_t status = 0;
    if (auto handler = slot<kTaskRegisterRead>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, task, reg, &value);
    }
    if (status == 0) {
      put_u64(result, "value", value);
    }
    return status;
  });
}

JsonPtr bind_task_register_write(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue*) -> int32_t {
    uint64_t task = 0, value = 0;
    int32_t reg = 0;
    if (!get_u64(params, "taskId", &task) || !get_i32(params, "register", &reg) ||
        !get_u64(params, "value", &value)) {
      return 1;
    }
    if (auto handler = slot<kTaskRegisterWrite>()) {
      return handler(&ctx, &ctx.area, ctx.target_data.object, task, reg, value);
    }
    return 0;
  });
}

JsonPtr bind_task_address_translate(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    uint64_t task = 0, address = 0;
    int32_t space = 0;
    if (!get_u64(params, "taskId", &task) || !get_i32(params, "memorySpace", &space) ||
        !get_u64(params, "address", &address)) {
      return 1;
    }
    ctx.wantPhysicalAddress = flag_or(params, "wantPhysicalAddress", false) ? 1 : 0;
    const int32_t to_task = i32_or(params, "fromTask", 1) == 0 ? 1 : 0;
    TypedValue translated = typed_value_of(kValueAddress);
    int32_t status = 0;
    if (auto handler = slot<kTaskAddressTranslate>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, task, &space, address, to_task,
                       &translated);
    }
    if (status == 0) {
      put_i32(result, "memorySpace", space);
      put_i64(result, "address", typed_value_as_i64(translated));
    }
    return status;
  });
}

// ByRequest: text or number as the request asked for it (the preset code), whatever code the
// handler leaves in the value, so the member's JSON kind is the one the caller expects.
enum class OutputKind { Text, I32, I64, ByRequest };

// The Task*Get and Task*Check methods: one id input (taskId or addressSpaceId), one output.
struct TaskValueShape {
  const char* id_key;
  const char* out_key;
  OutputKind kind;
  uint32_t preset;
};

void put_output(JsonValue* result, const char* key, OutputKind kind, const TypedValue& value) {
  switch (kind) {
  case OutputKind::Text:
    put_str(result, key, value.text);
    break;
  case OutputKind::I32:
    put_i32(result, key, static_cast<int32_t>(typed_value_as_i64(value)));
    break;
  case OutputKind::I64:
  case OutputKind::ByRequest:
    put_i64(result, key, typed_value_as_i64(value));
    break;
  }
}

template <uint32_t Id> JsonPtr bind_task_value(const JsonValue* params, TaskValueShape shape) {
  return serve(params, [params, shape](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    uint64_t id = 0;
    if (!get_u64(params, shape.id_key, &id)) {
      return 1;
    }
    uint32_t preset = shape.preset;
    if constexpr (Id == kTaskCpuGet) {
      preset = i32_or(params, "valueType", 0) != 0 ? kValueUInt64 : kValueText;
    }
    if constexpr (Id == kTaskAddressSpaceGet) {
      int32_t want_name = 0;
      if (!get_i32(params, "wantName", &want_name)) {
        return 1;
      }
      preset = want_name != 0 ? kValueText : kValueUInt64;
    }
    TypedValue value = typed_value_of(preset);
    int32_t status = 0;
    if (auto handler = slot<Id>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, id, &value);
    }
    if (status == 0) {
      OutputKind kind = shape.kind;
      if (kind == OutputKind::ByRequest) {
        kind = preset == kValueText ? OutputKind::Text : OutputKind::I64;
      }
      put_output(result, shape.out_key, kind, value);
    }
    return status;
  });
}

template <uint32_t Id>
JsonPtr bind_task_attribute_value(const JsonValue* params, const char* out_key) {
  return serve(params, [params, out_key](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    uint64_t task = 0;
    if (!get_u64(params, "taskId", &task)) {
      return 1;
    }
    uint64_t attribute = 0;
    get_u64(params, "taskAttribute", &attribute);
    TypedValue value = typed_value_of(kValueInt64);
    int32_t status = 0;
    if (auto handler = slot<Id>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, task, attribute, &value);
    }
    if (status == 0) {
      put_i64(result, out_key, typed_value_as_i64(value));
    }
    return status;
  });
}

JsonPtr bind_task_name_get(const JsonValue* p) {
  return bind_task_value<kTaskNameGet>(p, {"taskId", "name", OutputKind::Text, kValueText});
}
JsonPtr bind_task_status_get(const JsonValue* p) {
  return bind_task_value<kTaskStatusGet>(p, {"taskId", "status", OutputKind::Text, kValueText});
}
JsonPtr bind_task_exec_get(const JsonValue* p) {
  return bind_task_value<kTaskExecGet>(p, {"taskId", "executable", OutputKind::Text, kValueText});
}
JsonPtr bind_task_cpu_get(const JsonValue* p) {
  return bind_task_value<kTaskCpuGet>(p, {"taskId", "cpu", OutputKind::ByRequest, kValueText});
}
JsonPtr bind_task_address_space_get(const JsonValue* p) {
  return bind_task_value<kTaskAddressSpaceGet>(
      p, {"taskId", "addressSpace", OutputKind::ByRequest, kValueUInt64});
}
JsonPtr bind_task_in_kernel_check(const JsonValue* p) {
  return bind_task_value<kTaskInKernelCheck>(p,
                                             {"taskId", "result", OutputKind::I32, kValueUInt32});
}
JsonPtr bind_task_in_current_address_space_check(const JsonValue* p) {
  return bind_task_value<kTaskInCurrentAddressSpaceCheck>(
      p, {"taskId", "result", OutputKind::I32, kValueInt32});
}
JsonPtr bind_address_space_name_get(const JsonValue* p) {
  return bind_task_value<kAddressSpaceNameGet>(
      p, {"addressSpaceId", "name", OutputKind::Text, kValueText});
}
JsonPtr bind_task_is_hidden_check(const JsonValue* p) {
  return bind_task_value<kTaskIsHiddenCheck>(p, {"taskId", "result", OutputKind::I32, kValueInt32});
}
JsonPtr bind_task_lso_get(const JsonValue* p) {
  return bind_task_attribute_value<kTaskLsoGet>(p, "offset");
}
JsonPtr bind_task_tksa_get(const JsonValue* p) {
  return bind_task_attribute_value<kTaskTksaGet>(p, "value");
}

JsonPtr bind_task_sym_tab_get(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    uint64_t task = 0;
    if (!get_u64(params, "taskId", &task)) {
      return 1;
    }
    const char* kernel_exec_name = nullptr;
    get_str(params, "kernelExecName", &kernel_exec_name);
    SymTabRecord symtab;
    int32_t status = 0;
    if (auto handler = slot<kTaskSymTabGet>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, task, kernel_exec_name, &symtab);
    }
    if (status != 0) {
      return status;
    }
    const int64_t n = symtab.count;
    put_i32(result, "count", symtab.count);
    bool ok = put_str_array(result, "fileName", symtab.fileName, n);
    ok = put_u64_array(result, "mask", symtab.mask, n) && ok;
    ok = put_u64_array(result, "text", symtab.text, n) && ok;
    ok = put_u64_array(result, "rodata", symtab.rodata, n) && ok;
    ok = put_u64_array(result, "data", symtab.data, n) && ok;
    ok = put_u64_array(result, "bss", symtab.bss, n) && ok;
    ok = put_u64_array(result, "extra", symtab.extra, n) && ok;
    if (symtab.has_named_sections) {
      const auto& counts = symtab.namedSectionCounts;
      if (n < 0 || static_cast<uint64_t>(n) > counts.size()) {
        ok = false;
      } else {
        JsonPtr count_array = json_new_array();
        JsonPtr names = json_new_array();
        JsonPtr offsets = json_new_array();
        bool sections_ok = true;
        for (int64_t i = 0; i < n; ++i) {
          const int32_t c = counts[i];
          json_array_append(count_array.get(), json_new_integer(c));
          const bool has_names = static_cast<uint64_t>(i) < symtab.namedSectionNames.size() &&
                                 c >= 0 && symtab.namedSectionNames[i].size() >= uint64_t(c);
          const bool has_offsets = static_cast<uint64_t>(i) < symtab.namedSectionOffsets.size() &&
                                   c >= 0 && symtab.namedSectionOffsets[i].size() >= uint64_t(c);
          if (c > 0 && (!has_names || !has_offsets)) {
            sections_ok = false;
            continue;
          }
          JsonPtr name_list = json_new_array();
          JsonPtr offset_list = json_new_array();
          for (int32_t k = 0; k < c; ++k) {
            json_array_append(name_list.get(),
                              json_new_string(symtab.namedSectionNames[i][k].c_str()));
            json_array_append(offset_list.get(), json_new_integer(static_cast<int64_t>(
                                                     symtab.namedSectionOffsets[i][k])));
          }
          json_array_append(names.get(), std::move(name_list));
          json_array_append(offsets.get(), std::move(offset_list));
        }
        json_object_add(result, "namedSectionCounts", std::move(count_array));
        if (sections_ok) {
          json_object_add(result, "namedSectionNames", std::move(names));
          json_object_add(result, "namedSectionOffsets", std::move(offsets));
        }
        ok = ok && sections_ok;
      }
    }
    return ok ? 0 : 1;
  });
}

JsonPtr bind_task_relocatable_get(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    uint64_t task = 0;
    if (!get_u64(params, "taskId", &task)) {
      return 1;
    }
    RelocatableInfo info;
    int32_t status = 0;
    if (auto handler = slot<kTaskRelocatableGet>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, task, &info);
    }
    if (status == 0) {
      put_i64(result, "text", typed_value_as_i64(info.text));
      put_i64(result, "rodata", typed_value_as_i64(info.rodata));
      put_i64(result, "data", typed_value_as_i64(info.data));
      put_i64(result, "bss", typed_value_as_i64(info.bss));
      put_i64(result, "extra", typed_value_as_i64(info.extra));
    }
    return status;
  });
}

JsonPtr bind_current_task_get(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    int32_t check_in_kernel = 0;
    if (!get_i32(params, "checkInKernel", &check_in_kernel)) {
      return 1;
    }
    set_target_flag(ctx, kTargetDoNotCheckInKernel, check_in_kernel == 0);
    uint64_t core_id = 0;
    const uint64_t core = get_u64(params, "coreId", &core_id) ? core_id - 1 : ctx.hostCoreId;
    const int32_t in_user_mode = i32_or(params, "coreInUserMode", 0);
    if (core != kNoCore) {
      cpu_mode_cache_store(ctx.cpu_modes, core, static_cast<uint32_t>(in_user_mode));
    }
    uint64_t task = 0;
    int32_t status = 0;
    if (auto handler = slot<kCurrentTaskGet>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, core, &task);
    }
    if (status == 0) {
      put_u64(result, "taskId", task);
    }
    return status;
  });
}

// ---- notifications, commands and kernel facts -----------------------------------------------

JsonPtr bind_poll(const JsonValue* params) {
  return serve(params, [](OSA_ServiceCntx& ctx, JsonValue*) -> int32_t {
    if (auto handler = slot<kPoll>()) {
      return handler(&ctx, &ctx.area, ctx.target_data.object);
    }
    return 0;
  });
}

JsonPtr bind_target_notify(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue*) -> int32_t {
    set_target_flag(ctx, kTargetExplorerIsActive, flag_or(params, "explorerIsActive", false));
    set_call_flag(ctx, kCallTraecIsActive, flag_or(params, "traecIsActive", false));
    set_call_flag(ctx, kCallWholeTargetHalted, flag_or(params, "wholeTargetHalted", false));
    int32_t notice = 0;
    if (!get_i32(params, "notice", &notice)) {
      return 1;
    }
    if (auto handler = slot<kTargetNotify>()) {
      return handler(&ctx, &ctx.area, ctx.target_data.object, notice);
    }
    return 0;
  });
}

JsonPtr bind_osa_cmd_execute(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue*) -> int32_t {
    const char* command = nullptr;
    if (!get_str(params, "command", &command)) {
      return 1;
    }
    if (auto handler = slot<kOsaCmdExecute>()) {
      return handler(&ctx, &ctx.area, ctx.target_data.object, command);
    }
    return 0;
  });
}

JsonPtr bind_gui_object_check(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    const char* name = nullptr;
    GuiObjectRecord in;
    if (!get_str(params, "objTypeName", &name) || !get_i32(params, "objTypeId", &in.objTypeId) ||
        !get_i32(params, "visible", &in.visible)) {
      return 1;
    }
    in.has_name = true;
    in.objTypeName = name;
    GuiObjectRecord out;
    out.objTypeId = in.objTypeId;
    out.visible = in.visible;
    int32_t status = 0;
    if (auto handler = slot<kGuiObjectCheck>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, &in, &out);
    }
    if (status == 0) {
      put_str(result, "objTypeName", out.has_name ? out.objTypeName : in.objTypeName);
      put_i32(result, "visible", out.visible);
    }
    return status;
  });
}

struct ChangeInputs {
  int32_t objTypeId = -1;
  uint64_t objId = 0;
  int32_t subObjTypeId = -1;
};

ChangeInputs read_change_inputs(const JsonValue* params) {
  ChangeInputs in;
  get_i32(params, "objTypeId", &in.objTypeId);
  get_u64(params, "objId", &in.objId);
  get_i32(params, "subObjTypeId", &in.subObjTypeId);
  return in;
}

JsonPtr bind_object_changed_check(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    const ChangeInputs in = read_change_inputs(params);
    TypedValue mask = typed_value_of(kValueUInt64);
    int32_t status = 0;
    if (auto handler = slot<kObjectChangedCheck>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, in.objTypeId, in.objId,
                       in.subObjTypeId, &mask);
    }
    if (status == 0) {
      put_i64(result, "changeMask", typed_value_as_i64(mask));
    }
    return status;
  });
}

JsonPtr bind_life_cycle_counts_get(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    const ChangeInputs in = read_change_inputs(params);
    uint64_t count = 0;
    std::vector<uint64_t> life_cycle;
    int32_t status = 0;
    if (auto handler = slot<kLifeCycleCountsGet>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, in.objTypeId, in.objId,
                       in.subObjTypeId, &count, &life_cycle);
    }
    if (status != 0) {
      return status;
    }
    put_u64(result, "count", count);
    return put_u64_array(result, "lifeCycle", life_cycle, static_cast<int64_t>(count)) ? 0 : 1;
  });
}

JsonPtr bind_page_table_get(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    uint64_t domain = 0;
    get_u64(params, "domainId", &domain);
    PageTable tables;
    uint64_t count = 0;
    int32_t status = 0;
    if (auto handler = slot<kPageTableGet>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, domain, &tables, &count);
    }
    if (status != 0) {
      return status;
    }
    const int64_t n = static_cast<int64_t>(count);
    put_u64(result, "count", count);
    bool ok = put_u64_array(result, "physLowArray", tables.physLowArray, n);
    ok = put_u64_array(result, "virtLowArray", tables.virtLowArray, n) && ok;
    ok = put_u64_array(result, "regionSize", tables.regionSize, n) && ok;
    ok = put_u64_array(result, "aidArray", tables.aidArray, n) && ok;
    return ok ? 0 : 1;
  });
}

JsonPtr bind_message_inject(const JsonValue* params) {
  return serve(params, [params](OSA_ServiceCntx& ctx, JsonValue*) -> int32_t {
    int32_t type = 0;
    uint64_t id = 0;
    const char* message = nullptr;
    if (!get_i32(params, "objTypeId", &type) || !get_u64(params, "objId", &id) ||
        !get_str(params, "message", &message)) {
      return 1;
    }
    if (auto handler = slot<kMessageInject>()) {
      return handler(&ctx, &ctx.area, ctx.target_data.object, type, id, message);
    }
    return 0;
  });
}

JsonPtr bind_kernel_memory_regions_get(const JsonValue* params) {
  return serve(params, [](OSA_ServiceCntx& ctx, JsonValue* result) -> int32_t {
    std::vector<KernelMemoryRegion> regions;
    int32_t num = 0;
    int32_t status = 0;
    if (auto handler = slot<kKernelMemoryRegionsGet>()) {
      status = handler(&ctx, &ctx.area, ctx.target_data.object, &regions, &num);
    }
    if (status != 0) {
      return status;
    }
    put_i32(result, "numRegions", num);
    if (num <= 0) {
      return 0;
    }
    std::vector<uint64_t> begin, physical_begin, end, physical_end, attributes;
    for (const KernelMemoryRegion& region : regions) {
      begin.push_back(region.begin);
      physical_begin.push_back(region.physicalBegin);
      end.push_back(region.end);
      physical_end.push_back(region.physicalEnd);
      attributes.push_back(region.attributes);
    }
    bool ok = put_u64_array(result, "beginArray", begin, num);
    ok = put_u64_array(result, "physicalBeginArray", physical_begin, num) && ok;
    ok = put_u64_array(result, "endArray", end, num) && ok;
    ok = put_u64_array(result, "physicalEndArray", physical_end, num) && ok;
    ok = put_u64_array(result, "attributesArray", attributes, num) && ok;
    return ok ? 0 : 1;
  });
}

// ---- built in -------------------------------------------------------------------------------

JsonPtr bind_history_log_dump(const JsonValue* params) {
  const char* dir = nullptr;
  if (get_str(params, "dirPath", &dir)) {
    log_dump_history(dir);
  }
  int64_t size = 0;
  // A negative size would turn into an enormous one; it is ignored.
  if (get_i64(params, "bufferSize", &size) && size >= 0) {
    log_set_history_size(static_cast<std::size_t>(size));
  }
  return answer(json_new_object(), 0);
}

JsonPtr bind_exit(const JsonValue*) {
  ProcessFlags& flags = process_flags();
  flags.exit_requested = true;
  JsonPtr result = json_new_object();
  put_i32(result.get(), "exitCode", flags.exit_code);
  return answer(std::move(result), 0);
}

const std::array<ClientMethodRow, kClientMethodCount> kClientMethodTable = {{
    {"OSA_Client_OsaInit", bind_osa_init, kOsaInit},
    {"OSA_Client_OsaCleanup", bind_osa_cleanup, kOsaCleanup},
    {"OSA_Client_TargetInit", bind_target_init, kTargetInit},
    {"OSA_Client_TargetCleanup", bind_target_cleanup, kTargetCleanup},
    {"OSA_Client_ObjectListInit", bind_object_list<kObjectListInit>, kObjectListInit},
    {"OSA_Client_ObjectListCleanup", bind_object_list<kObjectListCleanup>, kObjectListCleanup},
    {"OSA_Client_ObjectListNext", bind_object_list<kObjectListNext>, kObjectListNext},
    {"OSA_Client_ObjectListAttribute", bind_object_list_attribute, kObjectListAttribute},
    {"OSA_Client_TaskMemoryAccessSetup", bind_task_memory_access<kTaskMemoryAccessSetup>,
     kTaskMemoryAccessSetup},
    {"OSA_Client_TaskMemoryAccessRestore", bind_task_memory_access<kTaskMemoryAccessRestore>,
     kTaskMemoryAccessRestore},
    {"OSA_Client_TaskRegisterRead", bind_task_register_read, kTaskRegisterRead},
    {"OSA_Client_TaskRegisterWrite", bind_task_register_write, kTaskRegisterWrite},
    {"OSA_Client_TaskAddressTranslate", bind_task_address_translate, kTaskAddressTranslate},
    {"OSA_Client_TaskNameGet", bind_task_name_get, kTaskNameGet},
    {"OSA_Client_TaskStatusGet", bind_task_status_get, kTaskStatusGet},
    {"OSA_Client_TaskExecGet", bind_task_exec_get, kTaskExecGet},
    {"OSA_Client_TaskCpuGet", bind_task_cpu_get, kTaskCpuGet},
    {"OSA_Client_TaskAddressSpaceGet", bind_task_address_space_get, kTaskAddressSpaceGet},
    {"OSA_Client_TaskSymTabGet", bind_task_sym_tab_get, kTaskSymTabGet},
    {"OSA_Client_TaskRelocatableGet", bind_task_relocatable_get, kTaskRelocatableGet},
    {"OSA_Client_CurrentTaskGet", bind_current_task_get, kCurrentTaskGet},
    {"OSA_Client_TaskInKernelCheck", bind_task_in_kernel_check, kTaskInKernelCheck},
    {"OSA_Client_TaskInCurrentAddressSpaceCheck", bind_task_in_current_address_space_check,
     kTaskInCurrentAddressSpaceCheck},
    {"OSA_Client_AddressSpaceNameGet", bind_address_space_name_get, kAddressSpaceNameGet},
    {"OSA_Client_TaskIsHiddenCheck", bind_task_is_hidden_check, kTaskIsHiddenCheck},
    {"OSA_Client_TaskLsoGet", bind_task_lso_get, kTaskLsoGet},
    {"OSA_Client_TaskTksaGet", bind_task_tksa_get, kTaskTksaGet},
    {"OSA_Client_Poll", bind_poll, kPoll},
    {"OSA_Client_TargetNotify", bind_target_notify, kTargetNotify},
    {"OSA_Client_OsaCmd_Execute", bind_osa_cmd_execute, kOsaCmdExecute},
    {"OSA_Client_GuiObjectCheck", bind_gui_object_check, kGuiObjectCheck},
    {"OSA_Client_ObjectChangedCheck", bind_object_changed_check, kObjectChangedCheck},
    {"OSA_Client_LifeCycleCountsGet", bind_life_cycle_counts_get, kLifeCycleCountsGet},
    {"OSA_Client_PageTableGet", bind_page_table_get, kPageTableGet},
    {"OSA_Client_MessageInject", bind_message_inject, kMessageInject},
    {"OSA_Client_KernelMemoryRegionsGet", bind_kernel_memory_regions_get, kKernelMemoryRegionsGet},
    {"OSA_Client_HistoryLogDump", bind_history_log_dump, kHistoryLogDump},
    {"OSA_Client_Exit", bind_exit, kExit},
}};

} // namespace

const std::array<ClientMethodRow, kClientMethodCount>& client_method_table() {
  return kClientMethodTable;
}

OsaLayerState& osa_layer_state() {
  static OsaLayerState state;
  return state;
}

extern "C" void OSA_Client_CmdInit(int argc, char** argv, JrTransport transport) {
  OsaLayerState& state = osa_layer_state();
  if (state.initialised) {
    return;
  }
  state.initialised = true;
  jsonrpc_create_bindings();
  for (const ClientMethodRow& row : kClientMethodTable) {
    jsonrpc_bind(row.name, row.binding);
  }
  jr_service_create(transport);
  state.handlers.clear();
  if (state.registration != nullptr) {
    state.registration(argc, argv, state.handlers);
  }
}

void osa_set_plugin_registration(PluginRegistration registration) {
  osa_layer_state().registration = registration;
}

void osa_reset_for_tests() {
  OsaLayerState& state = osa_layer_state();
  state.contexts.records.clear();
  state.contexts.retired.clear();
  state.handlers.clear();
  state.nesting_depth = 0;
  state.initialised = false;
  jsonrpc_reset_for_tests();
  process_flags() = ProcessFlags{};
}
