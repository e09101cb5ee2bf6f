// Creation, lookup and destruction of the per-context records.
#include "osa/service_context.h"

#include <algorithm>

void target_data_drop(TargetDataLink& link) {
  if (link.object != nullptr && link.release != nullptr) {
    link.release(link.object);
  }
  link = TargetDataLink{};
}

void cpu_mode_cache_store(CpuModeCache& cache, uint64_t core, uint32_t in_user_mode) {
  for (CpuModeEntry& entry : cache) {
    if (entry.core == core) {
      entry.inUserMode = in_user_mode;
      return;
    }
  }
  cache.push_back(CpuModeEntry{core, in_user_mode});
}

const CpuModeEntry* cpu_mode_cache_find(const CpuModeCache& cache, uint64_t core) {
  for (const CpuModeEntry& entry : cache) {
    if (entry.core == core) {
      return &entry;
    }
  }
  return nullptr;
}

OSA_ServiceCntx::~OSA_ServiceCntx() {
  target_data_drop(target_data);
  if (area.plugin_state != nullptr && area.plugin_state_release != nullptr) {
    area.plugin_state_release(area.plugin_state);
  }
  area.plugin_state = nullptr;
}

OSA_ServiceCntx* context_create(ContextList& list, uint64_t context) {
  auto record = std::make_unique<OSA_ServiceCntx>();
  record->context = context;
  list.records.push_back(std::move(record));
  return list.records.back().get();
}

OSA_ServiceCntx* context_find(const ContextList& list, uint64_t context) {
  for (const auto& record : list.records) {
    if (record->context == context) {
      return record.get();
    }
  }
  return nullptr;
}

void context_destroy(ContextList& list, OSA_ServiceCntx* record) {
  auto it = std::find_if(list.records.begin(), list.records.end(),
                         [record](const auto& entry) { return entry.get() == record; });
  if (it == list.records.end()) {
    return;
  }
  std::unique_ptr<OSA_ServiceCntx> owned = std::move(*it);
  list.records.erase(it);
  if (owned->calls_in_progress > 0) {
    list.retired.push_back(std::move(owned));
  }
}

void context_call_ended(ContextList& list, OSA_ServiceCntx* record) {
  if (record == nullptr || record->calls_in_progress > 0) {
    return;
  }
  auto& retired = list.retired;
  auto it = std::find_if(retired.begin(), retired.end(),
                         [record](const auto& entry) { return entry.get() == record; });
  if (it != retired.end()) {
    retired.erase(it);
  }
}
