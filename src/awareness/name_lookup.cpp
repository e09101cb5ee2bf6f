// Lookup of objects and attributes by name.
#include "awareness/name_lookup.h"

#include "awareness/object_attributes.h"
#include "awareness/object_types.h"
#include "awareness/osa_trace.h"

#include <cstring>

namespace {

bool same_name(const char* a, const char* b) {
  return std::strcmp(a != nullptr ? a : "", b != nullptr ? b : "") == 0;
}

// The standard attribute ids that a search by name visits: the kind's ids 3 and up, except
// the ones the plug-in keeps for itself (the OS's _RUNNINGTASK and the TASK's TASK_ID, both
// id 9).
bool searchable_standard_id(int32_t type, int32_t attr_id) {
  if ((type == kTypeOs || type == kTypeTask) && attr_id == kAttributeLastStandard) {
    return false;
  }
  return true;
}

} // namespace

bool getobj(AwarenessState& state, OSA_ServiceCntx* ctx, const char* name,
            std::vector<ObjectMatch>* matches) {
  osa_trace(state, ctx, 50, "getobj(name:%s)\n", name != nullptr ? name : "");
  matches->clear();
  if (state.model != nullptr) {
    std::vector<int32_t> types;
    for (int32_t type = kTypeOs; type <= kTypeMessageContainer; ++type) {
      types.push_back(type);
    }
    for (std::size_t n = 0; n < state.model->vendor_kinds.size(); ++n) {
      types.push_back(kTypeVendorBase + static_cast<int32_t>(n));
    }
    for (const int32_t type : types) {
      // Every OS object is searched: with one per core, each is found by its own name.
      const int64_t count = type == kTypeOs ? static_cast<int64_t>(os_object_count(*state.model))
                                            : object_count(state, type);
      for (int64_t index = 0; index < count; ++index) {
        const OrtiObject* object = object_at(state, type, index);
        if (object == nullptr || !same_name(object->name, name)) {
          continue;
        }
        ObjectMatch match;
        match.type = type;
        match.index = index;
        if (type >= kTypeVendorBase) {
          match.vendor_index = static_cast<uint32_t>(index);
        }
        matches->push_back(match);
        if (matches->size() == kMaxObjectMatches) {
          return true;
        }
      }
    }
  }
  if (matches->empty()) {
    osa_trace(state, ctx, 50, "getobj(): Failure\n");
    return false;
  }
  return true;
}

AttributeDecl* find_attribute_by_name(const OrtiObject& object, int32_t type, const char* name,
                                      int32_t* attr_id) {
  for (int32_t id = kAttributeFirstStandard; id <= kAttributeLastStandard; ++id) {
    if (standard_attribute_label(type, id) == nullptr || !searchable_standard_id(type, id)) {
      continue;
    }
    AttributeDecl* attr = standard_attribute(object, type, id);
    if (attr != nullptr && same_name(standard_attribute_label(type, id), name)) {
      if (attr_id != nullptr) {
        *attr_id = id;
      }
      return attr;
    }
  }
  for (std::size_t n = 0; n < object.custom_attributes.size(); ++n) {
    AttributeDecl* attr = object.custom_attributes[n].attribute.get();
    if (attr != nullptr && same_name(attr->name(), name)) {
      if (attr_id != nullptr) {
        *attr_id = kAttributeFirstCustom + static_cast<int32_t>(n);
      }
      return attr;
    }
  }
  return nullptr;
}
