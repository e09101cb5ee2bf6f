// What the parser needs of the value module beyond its public operations: appending without
// the checks that a parsed tree always passes, and storing a member under a name that the
// parser has already collected (it is moved in, not copied).
#pragma once

#include "host_link/simple_json/json_value.h"

#include <string>

// Appends value (not null) to array (an Array).
void json_build_append(JsonValue& array, JsonPtr&& value);
// json_object_set of value (not null) under name into object (an Object).
void json_build_set(JsonValue& object, std::string&& name, JsonPtr&& value);
