// Objects and attributes found by the names the user types (the expr command).
//
// Both lookups compare names exactly, letter case included; an object or attribute without a
// name counts as one named by the empty text. Objects are searched kind by kind in the order
// of the debugger's type ids (the OS, TASK, CONTEXT, STACK, ALARM, RESOURCE, MESSAGECONTAINER,
// then the vendor-specific kinds in model order), each kind in index order, and the search
// stops at kMaxObjectMatches. A match carries its type id and index, so the caller can select
// it without searching again.
//
// An object's attributes are searched through its kind's standard attributes (the debugger's
// ids 3 and up, without the OS's _RUNNINGTASK and the TASK's TASK_ID, which the plug-in uses
// for its own bookkeeping), then its custom attributes in file order. A CONTEXT object is
// searched like the others: ADDRESS, SIZE, then its custom attributes, among them the "_CPU_"
// register locations.
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"

#include <cstdint>
#include <vector>

inline constexpr std::size_t kMaxObjectMatches = 10;

struct ObjectMatch {
  int32_t type = 0;  // object type id (0 to 6, 100 + n)
  int64_t index = 0; // among the objects of the type (for the OS: the core its object serves)
  // The index among the objects of its type, set only for a vendor-specific object (0 else).
  uint32_t vendor_index = 0;
};

// Every object named name, at most kMaxObjectMatches, in search order. True when at least one
// matched. A null name is the empty text.
bool getobj(AwarenessState& state, OSA_ServiceCntx* ctx, const char* name,
            std::vector<ObjectMatch>* matches);

// The first attribute of the object (of the given type id) named name, or null. attr_id
// receives the attribute's id for the per-kind accessors (3 to 9, 100 + n).
AttributeDecl* find_attribute_by_name(const OrtiObject& object, int32_t type, const char* name,
                                      int32_t* attr_id = nullptr);
