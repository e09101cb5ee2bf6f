// Object type ids as the debugger sees them, and the objects and cursors they denote.
//
// 0 OS, 1 TASK, 2 CONTEXT, 3 STACK, 4 ALARM, 5 RESOURCE, 6 MESSAGECONTAINER, 100 + n the n-th
// vendor-specific kind of the model. The model's own kind codes order STACK before CONTEXT;
// the conversion happens here and nowhere else. Every id that arrives from the debugger or the
// user is checked here once, before any cursor or object array is indexed with it.
#pragma once

#include "awareness/awareness_state.h"

#include <cstdint>

inline constexpr int32_t kTypeOs = 0;
inline constexpr int32_t kTypeTask = 1;
inline constexpr int32_t kTypeContext = 2;
inline constexpr int32_t kTypeStack = 3;
inline constexpr int32_t kTypeAlarm = 4;
inline constexpr int32_t kTypeResource = 5;
inline constexpr int32_t kTypeMessageContainer = 6;
inline constexpr int32_t kTypeVendorBase = 100;

// 0 to 6, or 100 + n for an existing vendor kind of the loaded model. False without a model
// for vendor ids, and for every id that is negative, 7 to 99, or past the last vendor kind.
bool object_type_exists(const AwarenessState& state, int32_t type);

// The number of objects of the type: 0 without a model and for types that do not exist, 1 for
// the OS.
int64_t object_count(const AwarenessState& state, int32_t type);

// The index-th object of the type, or null when the type does not exist or the index is out of
// range. The OS is index 0; with one OS object per core, the OS object of core n is index n
// (object_count still counts one OS, the one of the call's core).
OrtiObject* object_at(const AwarenessState& state, int32_t type, int64_t index);

// The current object index of the type (its cursor), or null when the type does not exist or
// the cursors were not made.
int64_t* object_cursor(AwarenessState& state, int32_t type);

// The current object of the type, or null when the cursor is out of range.
OrtiObject* current_object(AwarenessState& state, int32_t type);

// The name of an object type: "OS" ... "MESSAGECONTAINER" for the standard types, the type
// name the file declares for a vendor type; null for a type that does not exist.
const char* object_type_name(const AwarenessState& state, int32_t type);

// The object type id of a model kind code (kObjectKindContext gives kTypeContext); -1 for a
// vendor object, whose id depends on its kind's position.
int32_t type_of_kind(int32_t kind);

// The object type id of an object of the model and its index within its type, found by
// address. False when the object is not one of the model's.
bool locate_object(const AwarenessState& state, const OrtiObject* object, int32_t* type,
                   int64_t* index);
