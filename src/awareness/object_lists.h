// Object lists as the debugger's OSA Explorer walks them: every object of a type, the
// elements of a dynamic list in target memory, and the one object that an attribute of a
// parent object refers to.
//
// A walk is ObjectListInit, ObjectListAttribute calls on the current object, ObjectListNext,
// and so on until a handler answers 2 (no more objects). Its state is the cursor of its type
// and the list position. Only objects whose VALID attribute is true are shown (the first
// object of a type that is not a list excepted). A list object stands for all elements of a
// list in target memory: "$NODE" in its _NEXT_NODE, _ITEM and _NODE_VALID formulas stands
// for a node's address, starting at _PARENT_NODE.
//
// Return codes of the handlers: 0 an object is current, 1 failure, 2 no (more) objects.
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"
#include "osa/typed_value.h"

#include <cstdint>

// The parent of a reference walk: the object (1-based: its index + 1, or for a list its list
// position + 1), its type and the attribute whose value refers to the object to show.
struct ReferenceParent {
  uint64_t object_id = 0;
  int32_t type = 0;
  int32_t attribute = 0;
};

int32_t object_list_init(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                         const ReferenceParent* parent);
int32_t object_list_next(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                         const ReferenceParent* parent);
int32_t object_list_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                              int32_t attr_id, TypedValue* value);

// The reference walk of ObjectListInit.
int32_t init_reference_list(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                            const ReferenceParent* parent);

// Sets the cursor of the type; 1 for a type that does not exist or an index not below the
// type's count.
int32_t select_object(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index);

// The is-list flag of the index-th object of the type (false for the OS, types that do not
// exist and indexes beyond the count).
bool object_is_list(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index);

// True when the object has no VALID attribute, or VALID evaluates to a number other than 0.
bool is_object_valid(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject* object);

// For a list type the list position becomes index and the first object is checked; otherwise
// the index-th object. The OS is never ready.
bool object_ready(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index);

// True unless the index-th object of the type is a list whose first node exists.
bool is_object_list_empty(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index);

// True when the object is a list and the node after the element at the list position exists.
bool is_next_object_valid(AwarenessState& state, OSA_ServiceCntx* ctx, OrtiObject* object);

// is_next_object_valid of the index-th object of the type.
bool has_next(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type, int64_t index);

// The cursor of a type and the list position are the OSA Explorer's walk state; a command that
// reads objects of the type in the middle of a walk saves them with this scope and gets them
// back when it ends, so that the walk goes on where it was.
class WalkStateScope {
public:
  WalkStateScope(AwarenessState& state, int32_t type);
  ~WalkStateScope();
  WalkStateScope(const WalkStateScope&) = delete;
  WalkStateScope& operator=(const WalkStateScope&) = delete;

private:
  AwarenessState& state_;
  int32_t type_;
  int64_t list_position_;
  bool has_cursor_ = false;
  int64_t cursor_ = 0;
};
