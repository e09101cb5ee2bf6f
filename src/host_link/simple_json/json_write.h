// The compact JSON writer. Its output is what the debugger and every recorded conversation
// expect byte for byte: `{ "a" : 1, "b" : [ true, null ] }`.
#pragma once

#include "host_link/simple_json/json_value.h"

#include <string>

// Appends the compact text of value to out.
void json_write(std::string& out, const JsonValue& value);
// Appends text quoted and escaped; a null text is written as "(null)" in quotes. Bytes are
// never decoded: 0x7F..0xFF and control bytes become \u00xx, so any byte string survives a
// write and a parse unchanged.
void json_write_string(std::string& out, const char* text);
// The compact text of value.
std::string json_to_text(const JsonValue& value);
