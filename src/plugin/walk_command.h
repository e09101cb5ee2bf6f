// walk [--notes] TYPEID MAX [ATTRID...]: one object list walked in one call, for hosts that
// would otherwise make an ObjectListInit, ObjectListAttribute and ObjectListNext exchange for
// every value of a table. It reads what those calls read, in their order and with their
// value types, and answers with records:
//
//   object                          an object became current (the walk's next object)
//   value<TAB>ATTRID<TAB>n<TAB>N     an attribute read as the number N (base 10, signed)
//   value<TAB>ATTRID<TAB>s<TAB>TEXT  an attribute read as TEXT ("\\", tab, line feed and
//                                   carriage return written as \\ \t \n \r)
//   end<TAB>done                    the walk reached its last object
//   end<TAB>cut                     it stopped at MAX objects (the OS, having one, ends done)
//
// For each object, id 1 (the object number) is read as an unsigned 64-bit number, then id 2
// (the name) and the ATTRIDs as texts; a read that fails gives no value record. The notes a
// read shows go out after it, like a debugger's call's would, when the read succeeds; with
// --notes those of failed reads too. The records come in messages of type 0 that a host joins
// (a message ends anywhere, never inside a UTF-8 sequence). The debugger's own walk of the type,
// if one is in progress, goes on where it was.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <string>

// Usage errors and a missing model: one line of type 2 and false.
bool command_walk(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
