// The OSA_Service_* requests: what the plug-in asks of the debugger while it serves a call.
//
// One wrapper per request. Each builds the parameter object ("context" first, then the
// request's keys in their fixed order; "coreId" = core + 1 only for a core other than kNoCore,
// "taskId" only when nonzero), sends it through the process's request service, and turns the
// result object into outputs and a status: 0 success, 1 for a failed exchange, a missing
// "return" or a missing/wrong-kind output that the caller asked for, else the "return" the
// debugger gave. Outputs are written only when they were read; text outputs are copies. While
// a wrapper waits, nested client calls may run, so no wrapper keeps pointers into the record's
// call links across the exchange.
#pragma once

#include "host_link/log_facility.h"
#include "osa/service_context.h"
#include "osa/typed_value.h"
#include "runtime/format.h"

#include <cstdarg>
#include <cstdint>
#include <string>

// The interval category of the timed requests.
LogIntervalCategory& osa_plugin_time_category();

int32_t OSA_Service_RegisterRead(OSA_ServiceCntx* ctx, uint64_t core, int64_t reg, int32_t width,
                                 uint64_t* value, int32_t fromDebugger, uint64_t taskId);
int32_t OSA_Service_RegisterWrite(OSA_ServiceCntx* ctx, uint64_t core, int64_t reg, int32_t width,
                                  uint64_t value, int32_t forMemoryAccess, int32_t fromDebugger,
                                  uint64_t taskId);
int32_t OSA_Service_ThreadRegisterRead(OSA_ServiceCntx* ctx, uint64_t threadId, int64_t reg,
                                       uint64_t* value, uint64_t core);
int32_t OSA_Service_ThreadRegisterWrite(OSA_ServiceCntx* ctx, uint64_t threadId, int64_t reg,
                                        uint64_t value, uint64_t core);
// count elements of size bytes each; buffer receives count * size bytes in host order.
int32_t OSA_Service_MemoryRead(OSA_ServiceCntx* ctx, int32_t memorySpace, uint64_t address,
                               uint64_t count, uint64_t size, uint8_t* buffer, uint64_t taskId,
                               uint64_t core);
int32_t OSA_Service_MemoryWrite(OSA_ServiceCntx* ctx, int32_t memorySpace, uint64_t address,
                                uint64_t count, uint64_t size, const uint8_t* data, uint64_t core);
int32_t OSA_Service_MemoryPreFetch(OSA_ServiceCntx* ctx, int32_t memorySpace, uint64_t address,
                                   uint64_t count, uint64_t size, uint64_t stride, uint64_t core);
// Converts "output" by value->code (see the code list of TypedValue).
int32_t OSA_Service_ExpressionEval(OSA_ServiceCntx* ctx, const char* expression, TypedValue* value,
                                   int64_t searchFlag = 0, uint64_t core = kNoCore);
int32_t OSA_Service_StringEval(OSA_ServiceCntx* ctx, const char* input, std::string* value,
                               uint64_t core = kNoCore);
int32_t OSA_Service_CommandExec(OSA_ServiceCntx* ctx, const char* command, int64_t outputMask,
                                std::string* output, int64_t searchFlag = 0,
                                uint64_t core = kNoCore);
int32_t OSA_Service_SymbolLookup(OSA_ServiceCntx* ctx, const char* name, uint64_t* address,
                                 uint32_t* storageClass, uint64_t core = kNoCore);
int32_t OSA_Service_SymbolFromAddress(OSA_ServiceCntx* ctx, uint64_t address, int64_t symbolType,
                                      std::string* name, uint64_t core = kNoCore);
int32_t OSA_Service_StructFieldSearch(OSA_ServiceCntx* ctx, const char* structName,
                                      const char* fieldName, int32_t useOsaSym, int32_t* byteOffset,
                                      int32_t* byteWidth, int32_t* bitOffset, int32_t* bitWidth,
                                      uint64_t core = kNoCore);
int32_t OSA_Service_MacroGet(OSA_ServiceCntx* ctx, const char* macroName, int32_t useOsaSym,
                             std::string* value, uint64_t core = kNoCore);
// MacroGet into a value: code 0 takes the text, any other code the text read as an unsigned
// number (base prefix allowed, trailing suffixes such as "u" ignored; no digits gives 1).
int32_t osa_macro_get_value(OSA_ServiceCntx* ctx, const char* macroName, int32_t useOsaSym,
                            TypedValue* value, uint64_t core = kNoCore);
int32_t OSA_Service_EnumValueGet(OSA_ServiceCntx* ctx, const char* enumName,
                                 const char* enumMemberName, int32_t useOsaSym, int64_t* value,
                                 uint64_t core = kNoCore);
int32_t OSA_Service_StructSizeGet(OSA_ServiceCntx* ctx, const char* name, int32_t useOsaSym,
                                  int32_t* size, uint64_t core = kNoCore);
int32_t OSA_Service_TargetStatus(OSA_ServiceCntx* ctx, int32_t* status, uint64_t core = kNoCore);
// A null format sends nothing and gives 0; a message the context holds back (held_messages)
// is kept there and gives 0.
int32_t OSA_Service_MessageDisplay(OSA_ServiceCntx* ctx, int32_t messageType, const char* format,
                                   ...) OSA_PRINTF_LIKE(3, 4);
int32_t OSA_Service_MessageDisplayV(OSA_ServiceCntx* ctx, int32_t messageType, const char* format,
                                    std::va_list args);
// OSA_Service_MessageDisplay of a text as it is (up to its NUL), without formatting; a null
// text sends nothing and gives 0.
int32_t osa_message_display_text(OSA_ServiceCntx* ctx, int32_t messageType, const char* text);
// *choice is sent as the default and replaced by the answer.
int32_t OSA_Service_YesNoChoose(OSA_ServiceCntx* ctx, int32_t* choice, const char* format, ...)
    OSA_PRINTF_LIKE(3, 4);
int32_t OSA_Service_ConfigFileSearch(OSA_ServiceCntx* ctx, const char* fileName, int64_t permission,
                                     int32_t onlySearchDistDir, std::string* filePath);
int32_t OSA_Service_CpuModeGet(OSA_ServiceCntx* ctx, uint64_t core, uint32_t* inUserMode);

// Formatted evaluation: the text (at most 2048 characters) is evaluated into value by its
// code: code 0 through StringEval of "print /a <text>+0", any other code through
// ExpressionEval with searchFlag 0 and no core.
int32_t osa_eval_formatted(OSA_ServiceCntx* ctx, TypedValue* value, const char* format, ...)
    OSA_PRINTF_LIKE(3, 4);
int32_t osa_eval_formatted_v(OSA_ServiceCntx* ctx, TypedValue* value, const char* format,
                             std::va_list args);

// Whether core (0-based, kNoCore for none) runs in user mode, asking the debugger at most once
// per core and keeping the answer in the record's CpuModeCache.
bool osa_core_in_user_mode(OSA_ServiceCntx* ctx, uint64_t core);

// The debugger's version: from TargetInit when it gave a major version of at least 1, else
// asked once through CommandExec and kept in the record. False when a query failed.
bool osa_host_version(OSA_ServiceCntx* ctx, int32_t* major, int32_t* minor, int32_t* micro);
// The debug mode (0 or 1): TargetInit's "debugMode" when it was given, else computed once from
// the debugger's runtime-service version, target OS and system-dump variables. -1 when a query
// failed; nothing is stored then, so a later call asks again.
int32_t osa_debug_mode(OSA_ServiceCntx* ctx);
