// JSON-RPC 2.0 in both directions.
//
// As a server the plug-in answers the debugger's requests: OSA_Client_CmdParser parses one
// request text, checks it, calls the handler bound to its method name and returns the
// response text. As a client it sends its own requests through a transport function with
// JrSendRequest. The transport, not this module, moves texts over the pipes (or replays them
// from a recording); requests that the debugger sends while the plug-in waits for an answer
// re-enter OSA_Client_CmdParser from inside the transport.
#pragma once

#include "host_link/simple_json/json_value.h"

#include <cstdint>
#include <string>

// A method handler: takes the request's "params" (borrowed; may be of any kind) and returns
// the result value, never null.
using JsonRpcHandler = JsonPtr (*)(const JsonValue* params);

// Creates the (empty) binding table; a second call keeps the existing table.
void jsonrpc_create_bindings();
// Binds name to handler, replacing an earlier binding of the same name. False when the table
// has not been created.
bool jsonrpc_bind(const char* name, JsonRpcHandler handler);

// The dispatcher, exported under this name. Never returns null; the returned text stays valid
// until the next call (a nested call replaces it).
extern "C" const char* OSA_Client_CmdParser(const char* request);

// Moves one request text to the debugger and returns its answer text (owned by the transport,
// valid until its next call), or null when no answer could be had.
using JrTransport = const char* (*)(const char* request);

struct JrService {
  JrTransport transport = nullptr;
  int64_t next_id = 0;
};

// The process's client record; created once, further calls return the same record.
JrService* jr_service_create(JrTransport transport);
// The record created by jr_service_create, or null before it.
JrService* jr_service();

// Sends one request. params is consumed. On success the response's "result" member (when it
// has one) is moved into *result_out, which the caller then owns.
bool JrSendRequest(JrService* service, const char* method, JsonPtr params, JsonPtr* result_out);

// Appends the text of a request's params (one JSON value, in the compact writer's form) to
// text; data is what the caller passed with it.
using JrParamsWriter = void (*)(std::string& text, const void* data);
// JrSendRequest with params written straight into the request text by write, for requests
// whose params are made of the caller's own values: they then cost no tree to build, write
// and free. The text sent must be what the tree would have given, byte for byte.
bool JrSendRequestWritten(JrService* service, const char* method, JrParamsWriter write,
                          const void* data, JsonPtr* result_out);

// Drops the binding table, the client record and the last response. Tests use it to start
// from a process's initial state.
void jsonrpc_reset_for_tests();
