// The per-core rules of the awareness runtime.
#include "awareness/cores.h"

#include "awareness/osa_trace.h"
#include "orti/model/load_trace.h"
#include "orti/model/orti_model.h"

#include <algorithm>

namespace {

// The running-task attribute that the current-task search reads on an OS object.
const AttributeDecl* running_task_attribute(const OrtiObject& os) {
  if (os.standard[kOsRunningTaskId]) {
    return os.standard[kOsRunningTaskId].get();
  }
  return os.standard[kOsRunningTask].get();
}

unsigned long long as_ull(uint64_t n) {
  return static_cast<unsigned long long>(n);
}

} // namespace

uint64_t core_of_call(const OSA_ServiceCntx* ctx, uint64_t core) {
  if (core != kNoCore) {
    return core;
  }
  if (ctx != nullptr && ctx->hostCoreId != kNoCore) {
    return ctx->hostCoreId;
  }
  return 0;
}

int32_t element_of_core(const AttributeDecl& attr, uint64_t core) {
  const std::vector<const char*>* elements = attribute_element_formulas(attr);
  if (elements == nullptr || elements->size() <= 1) {
    return 0;
  }
  if (core >= elements->size() || (*elements)[static_cast<std::size_t>(core)] == nullptr) {
    return -1;
  }
  return static_cast<int32_t>(core);
}

const char* formula_of_core(const AttributeDecl& attr, uint64_t core) {
  const int32_t element = element_of_core(attr, core);
  if (element < 0) {
    return nullptr;
  }
  const std::vector<const char*>* elements = attribute_element_formulas(attr);
  return elements == nullptr ? attr.formula : (*elements)[static_cast<std::size_t>(element)];
}

bool replace_formula_of_core(AttributeDecl& attr, uint64_t core, const char* formula) {
  std::vector<const char*>* array = attribute_element_formulas(attr);
  if (array == nullptr) {
    attr.formula = formula;
    return true;
  }
  std::vector<const char*>& elements = *array;
  // An element the file left out may be given here; one beyond the array may not, since the
  // array's length is what says how many cores the file describes.
  const std::size_t element = elements.size() == 1 ? 0 : static_cast<std::size_t>(core);
  if (core >= elements.size() && elements.size() != 1) {
    return false;
  }
  elements[element] = formula;
  attr.formula = elements[0];
  return true;
}

OrtiObject* os_of_core(const AwarenessState& state, uint64_t core) {
  if (state.model == nullptr) {
    return nullptr;
  }
  if (core > UINT32_MAX) {
    return os_object_count(*state.model) == 1 ? &state.model->os : nullptr;
  }
  return os_for_core(*state.model, static_cast<uint32_t>(core));
}

uint64_t running_task_core_count(const OrtiModel& model) {
  uint64_t count = os_object_count(model);
  for (uint64_t core = 0; core < os_object_count(model); ++core) {
    if (const AttributeDecl* running =
            running_task_attribute(*os_for_core(model, static_cast<uint32_t>(core)))) {
      count = std::max<uint64_t>(count, static_cast<uint64_t>(attribute_element_count(*running)));
    }
  }
  return count;
}

int64_t running_task_slot(const OrtiModel& model, uint64_t core) {
  const uint64_t count = running_task_core_count(model);
  if (count == 1) {
    return 0;
  }
  return core < count ? static_cast<int64_t>(core) : -1;
}

void report_no_element(AwarenessState& state, OSA_ServiceCntx* ctx, const AttributeDecl& attr,
                       uint64_t core) {
  osa_trace(state, ctx, 4, "Attribute %s has no element for core %llu (it has %d)\n",
            text_or_null(attr.name()), as_ull(core),
            static_cast<int>(attribute_element_count(attr)));
}

void report_no_os(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t core) {
  osa_trace(state, ctx, 4, "No OS object of the ORTI file serves core %llu (it has %llu)\n",
            as_ull(core), as_ull(state.model != nullptr ? os_object_count(*state.model) : 0));
}

void report_cores_of_target(AwarenessState& state, OSA_ServiceCntx* ctx, uint64_t core_count) {
  if (state.model == nullptr || core_count == 0) {
    return;
  }
  const uint64_t os_count = os_object_count(*state.model);
  // A count the wire gave as a negative number is no count of cores.
  if (core_count >= os_count || core_count > INT64_MAX) {
    return;
  }
  osa_trace(state, ctx, 4,
            "The ORTI file has %llu OS objects, one per core, but the target has %llu core%s; "
            "the OS objects after the first %llu serve no core of the target\n",
            as_ull(os_count), as_ull(core_count), core_count == 1 ? "" : "s", as_ull(core_count));
}
