// The per-kind attribute accessors: attribute ids of the debugger's object lists mapped to the
// attributes of the current object of a type.
//
// Attribute ids: 1 the object number, 2 the name, 3 to 9 the kind's standard attributes in the
// debugger's order, 100 + n the n-th custom attribute; every other id fails. Each accessor
// works on the current object of its type (its cursor), and for a list object on the element
// at the list position. attr_out, when given, receives the attribute that was read (null for
// the generated ids 1 and 2).
#pragma once

#include "awareness/attribute_eval.h"
#include "awareness/awareness_state.h"
#include "osa/service_context.h"
#include "osa/typed_value.h"

#include <cstdint>

inline constexpr int32_t kAttributeObjectNumber = 1;
inline constexpr int32_t kAttributeName = 2;
inline constexpr int32_t kAttributeFirstStandard = 3;
inline constexpr int32_t kAttributeLastStandard = 9;
inline constexpr int32_t kAttributeFirstCustom = 100;
// TASK_ID among the TASK's standard ids: what a list element's _OWNER and the OS's
// _RUNNINGTASK are compared with.
inline constexpr int32_t kTaskIdAttribute = 9;

int32_t get_os_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t attr_id,
                         TypedValue* value, AttributeDecl** attr_out, const ReadFlags& flags = {});
int32_t get_task_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t attr_id,
                           TypedValue* value, AttributeDecl** attr_out,
                           const ReadFlags& flags = {});
// custidx: the vendor kind (object type 100 + custidx).
int32_t get_custom_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t custidx,
                             int32_t attr_id, TypedValue* value, AttributeDecl** attr_out,
                             const ReadFlags& flags = {});

// The accessor of an object type id (0 to 6, 100 + n): CONTEXT, STACK, ALARM, RESOURCE and
// MESSAGECONTAINER are read through this one. Any other id returns 1 without a trace; the caller
// says what was wrong.
int32_t get_object_attribute(AwarenessState& state, OSA_ServiceCntx* ctx, int32_t type,
                             int32_t attr_id, TypedValue* value, AttributeDecl** attr_out,
                             const ReadFlags& flags = {});

// The standard attribute that id (3 to 9) denotes on an object of the type, or null when the
// kind has no such id or the file did not define it.
AttributeDecl* standard_attribute(const OrtiObject& object, int32_t type, int32_t attr_id);
// Its name ("RUNNINGTASK" for OS id 3), or null.
const char* standard_attribute_label(int32_t type, int32_t attr_id);
