// Fault injection over the recorded conversations: each conversation is replayed many times,
// each time with the k-th answer of the debugger changed, for every k and for every kind of
// fault a debugger can cause: a failure status, an error response, a truncated or garbled
// text, a missing member or one of the wrong kind, a client call nested before the answer
// (a target notification, a cleanup, commands), and no answer at all. Every call of the
// conversation must still get a complete JSON-RPC response with a status, the plug-in must not
// crash (the sanitizer build runs this too) and nothing may be left behind after the context
// is gone. Each run stops a few calls past the spoiled one, where a fault shows.
#include "host_link/jsonrpc.h"
#include "host_link/log_facility.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"
#include "osa/client_methods.h"
#include "plugin/plugin_registration.h"
#include "plugin/plugin_state.h"
#include "runtime/message_output.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// One call of the debugger and the answers it gave to the plug-in's requests meanwhile.
struct Exchange {
  std::string call;
  std::vector<std::string> answers;
};

// The message after the tag of a playback line, and whether the tag was TARNO.
bool split_line(const std::string& line, bool* from_debugger, std::string* message) {
  const std::size_t tarno = line.find("TARNO");
  const std::size_t plugin = line.find("PLUGIN");
  const std::size_t at = std::min(tarno, plugin);
  if (at == std::string::npos) {
    return false;
  }
  const std::size_t colon = line.find(':', at);
  if (colon == std::string::npos) {
    return false;
  }
  *from_debugger = at == tarno;
  *message = line.substr(colon + 1);
  return true;
}

bool is_request(const std::string& text) {
  std::string error;
  JsonPtr tree = json_parse(text.c_str(), error);
  return tree && json_object_find(tree.get(), "method") >= 0;
}

// The exchanges of a recording. Lines that are not messages are skipped: some recordings are
// deliberately broken for the playback tests, and their calls are still worth replaying.
std::vector<Exchange> read_exchanges(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<Exchange> exchanges;
  std::string line;
  int depth = 0; // plug-in requests waiting for their answer
  while (std::getline(in, line)) {
    bool from_debugger = false;
    std::string message;
    if (!split_line(line, &from_debugger, &message)) {
      continue;
    }
    const bool request = is_request(message);
    if (from_debugger && request && depth == 0) {
      exchanges.push_back({message, {}});
    } else if (!from_debugger && request) {
      ++depth;
    } else if (from_debugger && !request && depth > 0 && !exchanges.empty()) {
      exchanges.back().answers.push_back(message);
      --depth;
    }
  }
  return exchanges;
}

enum class Fault {
  FailureStatus,
  ErrorResponse,
  Truncated,
  Garbage,
  MemberMissing,
  WrongKinds,
  NestedNotify,
  NestedCleanup,
  NestedCommands,
  NoAnswer,
};
constexpr Fault kFaults[] = {Fault::FailureStatus, Fault::ErrorResponse, Fault::Truncated,
                             Fault::Garbage,       Fault::MemberMissing, Fault::WrongKinds,
                             Fault::NestedNotify,  Fault::NestedCleanup, Fault::NestedCommands,
                             Fault::NoAnswer};

// Every member of the answer's result but "return" turned into the other kind.
std::string with_wrong_kinds(const std::string& answer) {
  std::string error;
  JsonPtr tree = json_parse(answer.c_str(), error);
  const JsonValue* result = nullptr;
  if (!tree || !json_object_get(tree.get(), "result", &result) ||
      result->kind != JsonKind::Object) {
    return answer;
  }
  JsonPtr changed = json_new_object();
  for (const auto& member : result->members) {
    const JsonMember& m = *member;
    if (m.name == "return") {
      json_object_add(changed.get(), "return", json_new_string("0"));
    } else if (m.value->kind == JsonKind::String) {
      json_object_add(changed.get(), m.name.c_str(), json_new_integer(7));
    } else {
      json_object_add(changed.get(), m.name.c_str(), json_new_string("7"));
    }
  }
  return R"({"jsonrpc":"2.0","result":)" + json_to_text(*changed) + R"(,"id":0})";
}

// The one run in progress: where in the conversation it is and which answer it spoils.
struct Run {
  const std::vector<Exchange>* exchanges = nullptr;
  std::size_t exchange = 0;
  std::size_t answer = 0;  // within the exchange
  std::size_t counter = 0; // over the whole run
  std::size_t spoil = 0;
  Fault fault = Fault::FailureStatus;
  std::string last;
  std::vector<std::string> problems;
};
Run g_run;

void check_response(const std::string& what, const char* response) {
  std::string error;
  JsonPtr tree = json_parse(response != nullptr ? response : "", error);
  const JsonValue* result = nullptr;
  int64_t status = -1;
  const bool answered = tree && (json_object_find(tree.get(), "error") >= 0 ||
                                 (json_object_get(tree.get(), "result", &result) &&
                                  json_object_get_integer(result, "return", &status)));
  if (!answered) {
    g_run.problems.push_back(
        what + " got no complete response: " + (response != nullptr ? response : "(null)"));
  }
}

void nested(const std::string& method, const std::string& params) {
  static int64_t id = 1000000;
  const std::string request = "{\"jsonrpc\":\"2.0\",\"method\":\"" + method +
                              "\",\"params\":" + params + ",\"id\":" + std::to_string(++id) + "}";
  check_response("nested " + method, OSA_Client_CmdParser(request.c_str()));
}

const char* transport(const char* /*request*/) {
  const Exchange& exchange = (*g_run.exchanges)[g_run.exchange];
  const bool recorded = g_run.answer < exchange.answers.size();
  std::string answer = recorded ? exchange.answers[g_run.answer]
                                : std::string(R"({"jsonrpc":"2.0","result":{"return":1},"id":0})");
  ++g_run.answer;
  if (g_run.counter++ != g_run.spoil) {
    g_run.last = std::move(answer);
    return g_run.last.c_str();
  }
  switch (g_run.fault) {
  case Fault::FailureStatus:
    answer = R"({"jsonrpc":"2.0","result":{"return":1},"id":0})";
    break;
  case Fault::ErrorResponse:
    answer = R"({"jsonrpc":"2.0","error":{"code":-32000,"message":"refused"},"id":0})";
    break;
  case Fault::Truncated:
    answer = answer.substr(0, answer.size() / 2);
    break;
  case Fault::Garbage:
    answer = "{\"jsonrpc\":\"2.0\",\"result\":[1,2,\x01\xff]}";
    break;
  case Fault::MemberMissing:
    answer = R"({"jsonrpc":"2.0","result":{"return":0},"id":0})";
    break;
  case Fault::WrongKinds:
    answer = with_wrong_kinds(answer);
    break;
  case Fault::NestedNotify:
    nested("OSA_Client_TargetNotify", R"({"context":1,"notice":1})");
    break;
  case Fault::NestedCleanup:
    nested("OSA_Client_OsaCleanup", R"({"context":1})");
    break;
  case Fault::NestedCommands:
    for (const char* command : {"clearcache", "togglesymbols", "quiet help", "set debuglevel 100",
                                "load_orti examples/demo_os.ort", "togglesymbols"}) {
      nested("OSA_Client_OsaCmd_Execute", std::string(R"({"context":1,"command":)") +
                                              json_to_text(*json_new_string(command)) + "}");
    }
    break;
  case Fault::NoAnswer:
    return nullptr;
  }
  g_run.last = std::move(answer);
  return g_run.last.c_str();
}

std::size_t count_answers(const std::vector<Exchange>& exchanges) {
  std::size_t n = 0;
  for (const Exchange& e : exchanges) {
    n += e.answers.size();
  }
  return n;
}

// A fault shows in the call whose answer it spoils and in the calls soon after it (a cache
// filled from a bad answer is read again by the next views); replaying every conversation to
// its end for every fault made the run grow with the square of the conversation's length.
constexpr std::size_t kCallsAfterFault = 6;

// The exchange that holds the k-th answer of the conversation.
std::size_t exchange_of_answer(const std::vector<Exchange>& exchanges, std::size_t k) {
  for (std::size_t i = 0; i < exchanges.size(); ++i) {
    if (k < exchanges[i].answers.size()) {
      return i;
    }
    k -= exchanges[i].answers.size();
  }
  return exchanges.size();
}

// Replays the conversation with one fault, up to a few calls past the spoiled one; problems
// collects what went wrong.
void run_once(const std::vector<Exchange>& exchanges, std::size_t spoil, Fault fault) {
  osa_reset_for_tests();
  log_reset_for_tests();
  g_run = Run{};
  g_run.exchanges = &exchanges;
  g_run.spoil = spoil;
  g_run.fault = fault;
  osa_set_plugin_registration(plugin_register_handlers);
  OSA_Client_CmdInit(0, nullptr, transport);
  const std::size_t end =
      std::min(exchanges.size(), exchange_of_answer(exchanges, spoil) + 1 + kCallsAfterFault);
  for (std::size_t i = 0; i < end; ++i) {
    g_run.exchange = i;
    g_run.answer = 0;
    check_response("call " + std::to_string(i), OSA_Client_CmdParser(exchanges[i].call.c_str()));
  }
  osa_reset_for_tests();
  if (plugin_states_retired() != 0) {
    g_run.problems.push_back("a retired plug-in state outlived its context");
  }
}

// The recordings whose debugger answers something: the playback tests' broken files without
// any answer have nothing to spoil.
std::vector<fs::path> recorded_conversations() {
  const fs::path root(OSA_SOURCE_DIR);
  std::vector<fs::path> found;
  for (const fs::path& dir :
       {root / "examples", root / "tests/data/playback", root / "tests/data/playback/gdb"}) {
    if (!fs::is_directory(dir)) {
      continue;
    }
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() == ".play" && count_answers(read_exchanges(entry.path())) > 0) {
        found.push_back(entry.path());
      }
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// One test per conversation, so that the conversations are spoiled side by side.
class FaultInjection : public ::testing::TestWithParam<fs::path> {
protected:
  void SetUp() override {
    // The conversations name their files relative to the repository's root, and one of them
    // saves a configuration into the current folder: they run in a folder of the test's own
    // that holds a copy of examples/, as a fresh clone has it.
    saved_ = fs::current_path();
    fs::copy(fs::path(OSA_SOURCE_DIR) / "examples", folder_.path() / "examples",
             fs::copy_options::recursive);
    fs::current_path(folder_.path());
    set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
  }
  void TearDown() override {
    reset_message_sink();
    osa_reset_for_tests();
    osa_set_plugin_registration(nullptr);
    fs::current_path(saved_);
  }
  TempFolder folder_{"fault_injection"};
  fs::path saved_;
};

TEST_P(FaultInjection, EveryAnswerSpoiledEveryWay) {
  const fs::path& path = GetParam();
  const std::vector<Exchange> exchanges = read_exchanges(path);
  const std::size_t answers = count_answers(exchanges);
  std::size_t runs = 0;
  for (std::size_t k = 0; k < answers; ++k) {
    for (const Fault fault : kFaults) {
      run_once(exchanges, k, fault);
      ++runs;
      for (const std::string& problem : g_run.problems) {
        ADD_FAILURE() << path.filename().string() << ", answer " << k << ", fault "
                      << static_cast<int>(fault) << ": " << problem;
      }
    }
  }
  std::cout << "fault injection: " << runs << " runs over " << path.filename().string() << " ("
            << answers << " debugger answers, " << std::size(kFaults) << " faults each)\n";
  EXPECT_GT(runs, 0u);
}

TEST(FaultInjectionSet, FindsTheRecordedConversations) {
  EXPECT_GE(recorded_conversations().size(), 3u);
}

std::string conversation_name(const ::testing::TestParamInfo<fs::path>& info) {
  std::string name =
      info.param.parent_path().filename().string() + "_" + info.param.stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) {
      c = '_';
    }
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Recorded, FaultInjection, ::testing::ValuesIn(recorded_conversations()),
                         conversation_name);

} // namespace
