// Type ids, object arrays and cursors.
#include "awareness/object_types.h"

#include <functional>
#include <vector>

namespace {

// The model's array of a standard type other than the OS, or null.
std::vector<OrtiObject>* standard_array(const AwarenessState& state, int32_t type) {
  OrtiModel* model = state.model;
  if (model == nullptr) {
    return nullptr;
  }
  switch (type) {
  case kTypeTask:
    return &model->tasks;
  case kTypeContext:
    return &model->contexts;
  case kTypeStack:
    return &model->stacks;
  case kTypeAlarm:
    return &model->alarms;
  case kTypeResource:
    return &model->resources;
  case kTypeMessageContainer:
    return &model->message_containers;
  default:
    return nullptr;
  }
}

std::vector<OrtiObject>* objects_of(const AwarenessState& state, int32_t type) {
  if (type >= kTypeVendorBase) {
    if (state.model == nullptr) {
      return nullptr;
    }
    const int64_t n = static_cast<int64_t>(type) - kTypeVendorBase;
    if (n >= static_cast<int64_t>(state.model->vendor_kinds.size())) {
      return nullptr;
    }
    return &state.model->vendor_kinds[static_cast<std::size_t>(n)].objects;
  }
  return standard_array(state, type);
}

int64_t cursor_slot(int32_t type) {
  return type >= kTypeVendorBase ? 7 + (static_cast<int64_t>(type) - kTypeVendorBase) : type;
}

} // namespace

bool object_type_exists(const AwarenessState& state, int32_t type) {
  if (type >= kTypeOs && type <= kTypeMessageContainer) {
    return true;
  }
  return type >= kTypeVendorBase && state.model != nullptr &&
         static_cast<int64_t>(type) - kTypeVendorBase <
             static_cast<int64_t>(state.model->vendor_kinds.size());
}

int64_t object_count(const AwarenessState& state, int32_t type) {
  if (state.model == nullptr || !object_type_exists(state, type)) {
    return 0;
  }
  if (type == kTypeOs) {
    return 1;
  }
  const std::vector<OrtiObject>* objects = objects_of(state, type);
  return objects != nullptr ? static_cast<int64_t>(objects->size()) : 0;
}

OrtiObject* object_at(const AwarenessState& state, int32_t type, int64_t index) {
  if (state.model == nullptr || index < 0 || !object_type_exists(state, type)) {
    return nullptr;
  }
  if (type == kTypeOs) {
    // The OS objects after the first serve the further cores; the debugger sees one OS.
    return static_cast<uint64_t>(index) < os_object_count(*state.model)
               ? os_for_core(*state.model, static_cast<uint32_t>(index))
               : nullptr;
  }
  std::vector<OrtiObject>* objects = objects_of(state, type);
  if (objects == nullptr || index >= static_cast<int64_t>(objects->size())) {
    return nullptr;
  }
  return &(*objects)[static_cast<std::size_t>(index)];
}

int64_t* object_cursor(AwarenessState& state, int32_t type) {
  if (!object_type_exists(state, type)) {
    return nullptr;
  }
  const int64_t slot = cursor_slot(type);
  if (slot >= static_cast<int64_t>(state.cursors.size())) {
    return nullptr;
  }
  return &state.cursors[static_cast<std::size_t>(slot)];
}

OrtiObject* current_object(AwarenessState& state, int32_t type) {
  if (type == kTypeOs) {
    return object_at(state, kTypeOs, 0);
  }
  const int64_t* cursor = object_cursor(state, type);
  return cursor != nullptr ? object_at(state, type, *cursor) : nullptr;
}

int32_t type_of_kind(int32_t kind) {
  switch (kind) {
  case kObjectKindOs:
    return kTypeOs;
  case kObjectKindTask:
    return kTypeTask;
  case kObjectKindStack:
    return kTypeStack;
  case kObjectKindContext:
    return kTypeContext;
  case kObjectKindAlarm:
    return kTypeAlarm;
  case kObjectKindResource:
    return kTypeResource;
  case kObjectKindMessageContainer:
    return kTypeMessageContainer;
  default:
    return -1;
  }
}

bool locate_object(const AwarenessState& state, const OrtiObject* object, int32_t* type,
                   int64_t* index) {
  if (state.model == nullptr || object == nullptr) {
    return false;
  }
  if (object == &state.model->os) {
    *type = kTypeOs;
    *index = 0;
    return true;
  }
  auto find_in = [&](const std::vector<OrtiObject>& objects, int32_t t) {
    // std::less: the object may belong to another array, and only it orders such pointers.
    const std::less<const OrtiObject*> before;
    if (objects.empty() || before(object, objects.data()) ||
        !before(object, objects.data() + objects.size())) {
      return false;
    }
    *type = t;
    *index = object - objects.data();
    return true;
  };
  const int32_t standard = type_of_kind(object->kind);
  if (standard > kTypeOs) {
    return find_in(*standard_array(state, standard), standard);
  }
  const auto& kinds = state.model->vendor_kinds;
  for (std::size_t n = 0; n < kinds.size(); ++n) {
    if (find_in(kinds[n].objects, kTypeVendorBase + static_cast<int32_t>(n))) {
      return true;
    }
  }
  return false;
}

const char* object_type_name(const AwarenessState& state, int32_t type) {
  for (int32_t kind = kObjectKindOs; kind < kObjectKindVendor; ++kind) {
    if (type_of_kind(kind) == type) {
      return object_kind_name(kind);
    }
  }
  const OrtiObject* first = type >= kTypeVendorBase ? object_at(state, type, 0) : nullptr;
  return first != nullptr ? first->type_name : nullptr;
}
