// A scripted stand-in for the debugger's side of the OSA_Service_* requests.
//
// Usage, in-process (the plug-in's requests never leave the test):
//
//   ScriptedDebugger dbg;                        // becomes the current instance
//   dbg.on("OSA_Service_RegisterRead").result(R"({"value": 5, "return": 0})");
//   dbg.on("OSA_Service_StringEval", R"({"input": "x"})").error(-32000, "no such symbol");
//   dbg.on("OSA_Service_CommandExec").nothing();  // the transport returns null
//   OSA_Client_CmdInit(0, nullptr, &ScriptedDebugger::transport);
//   ... call the plug-in ...
//   EXPECT_EQ(dbg.requests()[0].params_text, R"({ "context" : 7, ... })");
//
// Usage over pipes (a runner talks to the real executable): feed every request text that the
// executable writes to answer(); write each text of reply.inject to the executable first (and
// read its response, which record_injected_response() keeps), then write reply.answer unless
// reply.has_answer is false. answer() itself never calls into the plug-in.
//
// Script entries are consulted in the order they were added (newest first after
// prefer_newest(true)); the first entry whose method and params pattern match and that has uses
// left answers the request. A request that no entry
// matches is answered with the JSON-RPC error -32601 "not scripted" and counted in
// unscripted_count(), so that a test can insist that the plug-in asked nothing unexpected.
#pragma once

#include "host_link/simple_json/json_value.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

enum class ScriptAction {
  Result,  // {"jsonrpc":"2.0","result":<text>,"id":<request id>}
  Error,   // {"jsonrpc":"2.0","error":{"code":<code>,"message":<text>},"id":<request id>}
  Garbage, // the text as it is (need not be JSON); over pipes keep its braces balanced
  Nothing, // no answer at all: the in-process transport returns null
};

struct ScriptEntry {
  static constexpr int kForever = -1;

  std::string method; // the request method this entry answers; empty matches every method
  // JSON object text; every member of it must occur in the request's params with an equal
  // value (other members of the params are ignored). Empty matches any params.
  std::string params_match;
  ScriptAction action = ScriptAction::Result;
  std::string text; // Result: the result JSON text; Error: the message; Garbage: the raw text
  int64_t error_code = -32000;
  // Debugger requests (complete JSON-RPC request texts) delivered before the answer; they
  // reach the plug-in as nested OSA_Client_* calls.
  std::vector<std::string> inject;
  int uses = 1; // how many requests this entry answers; kForever for no limit

  ScriptEntry& result(std::string json_text);
  ScriptEntry& error(int64_t code, std::string message);
  ScriptEntry& garbage(std::string raw_text);
  ScriptEntry& nothing();
  ScriptEntry& inject_request(std::string request_text);
  ScriptEntry& times(int n);
  ScriptEntry& always();
};

// One request the plug-in sent, as the stand-in received it.
struct ReceivedRequest {
  std::string text;        // the whole request text
  bool parsed = false;     // it parsed as a JSON object
  std::string method;      // "method" when it is a String
  int64_t id = -1;         // "id" when it is an Integer
  JsonPtr params;          // "params" (null when absent)
  std::string params_text; // compact text of "params" (json_to_text), empty when absent
  bool scripted = false;   // some script entry answered it
};

struct ScriptReply {
  std::vector<std::string> inject; // debugger requests to deliver first, in order
  bool has_answer = true;          // false: the debugger stays silent
  std::string answer;              // the answer text
};

class ScriptedDebugger {
public:
  // The new instance becomes the current one (the target of transport()); the destructor
  // restores the one that was current before.
  ScriptedDebugger();
  ~ScriptedDebugger();
  ScriptedDebugger(const ScriptedDebugger&) = delete;
  ScriptedDebugger& operator=(const ScriptedDebugger&) = delete;

  // Adds a script entry answering one request of method (whose params match params_match)
  // with {"return": 0} until changed through the returned reference, which stays valid for the
  // lifetime of the stand-in.
  ScriptEntry& on(const std::string& method, const std::string& params_match = "");
  void clear_script();
  // Consult the newest entries first, so that a later entry overrides an earlier one (a test's
  // target image changing between two reads).
  void prefer_newest(bool on) { newest_first_ = on; }

  // The pure core: records the request and gives the scripted reply.
  ScriptReply answer(const std::string& request_text);

  // The JrTransport for in-process use: answers through the current instance, delivers the
  // injected requests through OSA_Client_CmdParser first (their responses are recorded), and
  // returns the answer text (valid until the next call) or null.
  static const char* transport(const char* request);
  static ScriptedDebugger* current();

  const std::vector<ReceivedRequest>& requests() const { return requests_; }
  // Requests of one method, in the order received.
  std::vector<const ReceivedRequest*> requests_of(const std::string& method) const;
  std::size_t count(const std::string& method) const;
  // The string member key of each request of method that has one, in order.
  std::vector<std::string> strings_of(const std::string& method, const char* key) const;
  // The texts the plug-in showed with OSA_Service_MessageDisplay of this message type.
  std::vector<std::string> displayed(int64_t message_type) const;

  // A target image for the evaluations: expression gives number, a StringEval of input gives
  // text, expression is refused. Each answers every time (newest entries first when
  // prefer_newest is on).
  void answer_value(const std::string& expression, int64_t number);
  void answer_text(const std::string& input, const std::string& text);
  void refuse_value(const std::string& expression);
  // Target memory: a MemoryRead that lies wholly inside a region added here and that no script
  // entry answers gets the region's bytes (a later region over the same addresses wins); one
  // that leaves every region is unscripted.
  void answer_memory(uint64_t address, std::vector<uint8_t> bytes);
  // How many ExpressionEval requests carried this expression.
  std::size_t asked(const std::string& expression) const;

  // text as a JSON string.
  static std::string json_quote(const std::string& text);
  std::size_t unscripted_count() const { return unscripted_; }
  // Script entries that still have uses left (entries with kForever never count).
  std::size_t unused_entries() const;

  // The plug-in's responses to injected requests, in the order they were given.
  const std::vector<std::string>& injected_responses() const { return injected_responses_; }
  void record_injected_response(const std::string& text) { injected_responses_.push_back(text); }

  void clear_record();

  // A complete JSON-RPC request text for a debugger request (for ScriptEntry::inject_request).
  static std::string client_request(const std::string& method, const std::string& params_json,
                                    int64_t id);

private:
  struct MemoryRegion {
    uint64_t address = 0;
    std::vector<uint8_t> bytes;
  };
  bool answer_from_memory(const ReceivedRequest& request, std::string* result) const;

  std::deque<ScriptEntry> script_;
  std::vector<MemoryRegion> memory_;
  std::vector<ReceivedRequest> requests_;
  std::vector<std::string> injected_responses_;
  std::size_t unscripted_ = 0;
  bool newest_first_ = false;
  std::string last_answer_;
  ScriptedDebugger* previous_ = nullptr;
};
