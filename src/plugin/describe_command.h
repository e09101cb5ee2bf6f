// describe [KIND]: the loaded model as hosts read it, one record per line, so that a host names
// kinds and attributes from the model instead of from the text of other commands.
//
//   kind<TAB>TYPEID<TAB>TYPENAME<TAB>OBJECTCOUNT<TAB>DESCRIPTION
//   attr<TAB>TYPEID<TAB>OBJ<TAB>ATTRID<TAB>NAME<TAB>TYPE<TAB>ELEMENTS<TAB>DESCRIPTION
//
// One kind record per object type in type-id order (every standard kind, with count 0 when it
// has no objects, then the vendor kinds), each followed by its attribute records in attribute-id
// order. The generated ids 1 and 2 are not listed. OBJ is "*" when every object of the kind that
// has the attribute gives it the same name and type, else there is one record per object that
// has it, OBJ being the object's 0-based index in the kind. TYPE is CTYPE, ENUM or STRING;
// ELEMENTS the number of per-core elements (1 for a plain attribute; for the OS with one OS
// object per core, at least the number of OS objects; the OS record lists the attributes of the
// first OS object). Absent texts are empty fields; tabs and line breaks in texts become blanks.
// Each record is one message of type 0.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <string>

// KIND: a type name (standard or vendor, letter case ignored) or a type id. Without a model or
// for a kind that does not exist: one line of type 2 and false.
bool command_describe(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
