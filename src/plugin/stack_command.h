// stackusage [--records] [NAME]: how full each stack is (see awareness/stack_usage.h for how it
// is measured), for every STACK object or those named NAME.
//
// For users, a table: a header line, then one line per stack with its size, base address,
// direction, fill pattern, the bytes used and never used, the share used, and a note that says
// why a stack could not be measured or that it probably overflowed. Values that could not be
// read are "-".
//
// For hosts (--records), one tab-separated record per stack, made to be read by programs:
//
//   stack<TAB>NAME<TAB>STATUS<TAB>SIZE<TAB>BASE<TAB>DIRECTION<TAB>PATTERN<TAB>USED<TAB>FREE<TAB>
//   PERCENT<TAB>NOTE
//
// STATUS is ok, overflow or unmeasured; SIZE, USED, FREE and PERCENT are decimal, BASE and
// PATTERN hexadecimal with "0x" (the pattern with two digits per byte of its width), DIRECTION
// UP or DOWN. A value that could not be read is an empty field, and so are USED, FREE and
// PERCENT of an unmeasured stack. Tabs and line breaks in texts become blanks.
//
// Every line is one message of type 0. Without a model, or when no STACK object is named NAME,
// one line of type 2 and false.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <string>

bool command_stackusage(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);
