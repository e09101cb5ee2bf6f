// osa-record: runs the plug-in through a scripted debugging session without a debugger and
// writes the whole conversation as a playback file.
//
// The session script names the debugger's calls and what the target answers: the values of
// expressions, printed texts, registers, where the debugger finds a file. The plug-in runs
// in-process, exactly as it runs under a debugger; every request it sends is answered from the
// script. The result plays back with `osa_orti_plugin -file`, so a user can check an ORTI file
// against a memory image of their target, and the project keeps its example conversations
// reproducible.
#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"
#include "osa/client_methods.h"
#include "plugin/plugin_registration.h"
#include "runtime/platform.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <utility>

namespace {

const char kUsage[] =
    "usage: osa-record SESSION [OUTPUT]\n"
    "\n"
    "Runs the plug-in through the calls of the session script SESSION, answers its requests\n"
    "from the script, and writes the conversation as a playback file to OUTPUT (standard\n"
    "output when absent). Lines of SESSION (blank lines and lines beginning with # are\n"
    "skipped):\n"
    "  call METHOD PARAMS            a call of the debugger; PARAMS is a JSON object\n"
    "  raw TEXT                      TEXT sent to the plug-in as it stands (malformed\n"
    "                                requests)\n"
    "  value EXPRESSION := NUMBER    the value of an expression (ExpressionEval)\n"
    "  text INPUT := TEXT            the answer to a StringEval of INPUT (as sent, with its\n"
    "                                print command)\n"
    "  fail EXPRESSION               the debugger cannot evaluate EXPRESSION\n"
    "  register ID := NUMBER         the live value of register ID (RegisterRead)\n"
    "  register ID core N := NUMBER  the same on core N alone (a RegisterRead whose coreId\n"
    "                                is N, counted from 1 as on the wire); other cores\n"
    "                                read the value without a core\n"
    "  search NAME := PATH           where the debugger's file search finds NAME\n"
    "A later line for the same expression, register or name replaces the earlier answer.\n"
    "Expressions the script does not know fail; every other request succeeds.\n"
    "\n"
    "Exit status: 0 when the session ran, 1 for a script that cannot be read or parsed,\n"
    "2 for a usage error.\n";

// The target as the script describes it.
struct TargetImage {
  std::map<std::string, int64_t> values;
  std::map<std::string, std::string> texts;
  // By core (the request's coreId; 0 for a value of every core) and register id.
  std::map<std::pair<int64_t, int64_t>, int64_t> registers;
  std::map<std::string, std::string> files;
};

// The one recording of this process: where lines go and what answers the plug-in.
struct Recording {
  TargetImage image;
  std::ostream* out = &std::cout;
  int64_t answer_id = 0;
  std::string last_answer;
};
Recording g_recording;

std::string quoted(const std::string& text) {
  return json_to_text(*json_new_string(text.c_str()));
}

std::string string_param(const JsonValue* params, const char* key) {
  const char* text = nullptr;
  return json_object_get_string(params, key, &text) ? std::string(text) : std::string();
}

// The result object of the debugger's answer to one request.
std::string answer_for(const std::string& method, const JsonValue* params) {
  const TargetImage& image = g_recording.image;
  if (method == "OSA_Service_ExpressionEval") {
    auto found = image.values.find(string_param(params, "expression"));
    if (found == image.values.end()) {
      return R"({"return":1})";
    }
    return "{\"output\":" + std::to_string(found->second) + ",\"return\":0}";
  }
  if (method == "OSA_Service_StringEval") {
    auto found = image.texts.find(string_param(params, "input"));
    if (found == image.texts.end()) {
      return R"({"return":1})";
    }
    return "{\"value\":" + quoted(found->second) + ",\"return\":0}";
  }
  if (method == "OSA_Service_RegisterRead") {
    int64_t reg = 0;
    int64_t core = 0;
    json_object_get_integer(params, "register", &reg);
    json_object_get_integer(params, "coreId", &core);
    auto found = image.registers.find({core, reg});
    if (found == image.registers.end()) {
      found = image.registers.find({0, reg});
    }
    if (found == image.registers.end()) {
      return R"({"return":1})";
    }
    return "{\"value\":" + std::to_string(found->second) + ",\"return\":0}";
  }
  if (method == "OSA_Service_ConfigFileSearch") {
    auto found = image.files.find(string_param(params, "fileName"));
    if (found == image.files.end()) {
      return R"({"return":1})";
    }
    return "{\"filePath\":" + quoted(found->second) + ",\"return\":0}";
  }
  if (method == "OSA_Service_CommandExec") {
    return R"({"output":"","return":0})";
  }
  return R"({"return":0})";
}

const char* recording_transport(const char* request) {
  *g_recording.out << "PLUGIN: " << request << '\n';
  std::string error;
  JsonPtr tree = json_parse(request, error);
  std::string method;
  const JsonValue* params = nullptr;
  int64_t id = 0;
  if (tree) {
    method = string_param(tree.get(), "method");
    json_object_get(tree.get(), "params", &params);
    json_object_get_integer(tree.get(), "id", &id);
  }
  g_recording.last_answer = "{\"jsonrpc\":\"2.0\",\"result\":" + answer_for(method, params) +
                            ",\"id\":" + std::to_string(id) + "}";
  *g_recording.out << "TARNO: " << g_recording.last_answer << '\n';
  return g_recording.last_answer.c_str();
}

// The text after "WORD " up to " := ", and after it.
bool split_assignment(const std::string& rest, std::string* key, std::string* value) {
  const std::size_t at = rest.find(" := ");
  if (at == std::string::npos) {
    return false;
  }
  *key = rest.substr(0, at);
  *value = rest.substr(at + 4);
  return true;
}

bool parse_integer(const std::string& text, int64_t* out) {
  char* end = nullptr;
  const long long n = std::strtoll(text.c_str(), &end, 0);
  if (end == text.c_str() || *end != '\0') {
    // Values above the signed range are written as the debugger would send them.
    const unsigned long long u = std::strtoull(text.c_str(), &end, 0);
    if (end == text.c_str() || *end != '\0') {
      return false;
    }
    *out = static_cast<int64_t>(u);
    return true;
  }
  *out = n;
  return true;
}

int fail_line(int line, const std::string& why) {
  std::cerr << "osa-record: line " << line << ": " << why << '\n';
  return 1;
}

int run(std::istream& script) {
  osa_set_plugin_registration(plugin_register_handlers);
  OSA_Client_CmdInit(0, nullptr, recording_transport);
  int64_t next_id = 1;
  std::string text;
  int line = 0;
  while (std::getline(script, text)) {
    ++line;
    if (!text.empty() && text.back() == '\r') {
      text.pop_back();
    }
    if (text.empty() || text[0] == '#') {
      continue;
    }
    const std::size_t space = text.find(' ');
    const std::string word = text.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : text.substr(space + 1);
    std::string key;
    std::string value;
    int64_t number = 0;
    TargetImage& image = g_recording.image;
    if (word == "call") {
      const std::size_t params_at = rest.find(' ');
      const std::string method = rest.substr(0, params_at);
      const std::string params = params_at == std::string::npos ? "{}" : rest.substr(params_at + 1);
      std::string error;
      JsonPtr parsed = json_parse(params.c_str(), error);
      if (!parsed || parsed->kind != JsonKind::Object) {
        return fail_line(line, "PARAMS is not a JSON object");
      }
      const std::string request = "{\"jsonrpc\":\"2.0\",\"method\":" + quoted(method) +
                                  ",\"params\":" + json_to_text(*parsed) +
                                  ",\"id\":" + std::to_string(next_id++) + "}";
      *g_recording.out << "TARNO: " << request << '\n';
      const std::string response = OSA_Client_CmdParser(request.c_str());
      *g_recording.out << "PLUGIN: " << response << '\n';
    } else if (word == "raw") {
      *g_recording.out << "TARNO: " << rest << '\n';
      const std::string response = OSA_Client_CmdParser(rest.c_str());
      *g_recording.out << "PLUGIN: " << response << '\n';
    } else if (word == "value" && split_assignment(rest, &key, &value) &&
               parse_integer(value, &number)) {
      image.values[key] = number;
    } else if (word == "text" && split_assignment(rest, &key, &value)) {
      image.texts[key] = value;
    } else if (word == "fail" && !rest.empty()) {
      image.values.erase(rest);
      image.texts.erase(rest);
    } else if (word == "register" && split_assignment(rest, &key, &value)) {
      int64_t core = 0;
      const std::size_t on_core = key.find(" core ");
      if (on_core != std::string::npos) {
        if (!parse_integer(key.substr(on_core + 6), &core) || core < 1) {
          return fail_line(line, "the core is not a number from 1");
        }
        key.resize(on_core);
      }
      int64_t v = 0;
      if (!parse_integer(key, &number)) {
        return fail_line(line, "not a session line: " + text);
      }
      if (!parse_integer(value, &v)) {
        return fail_line(line, "the register value is not a number");
      }
      image.registers[{core, number}] = v;
    } else if (word == "search" && split_assignment(rest, &key, &value)) {
      image.files[key] = value;
    } else {
      return fail_line(line, "not a session line: " + text);
    }
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || std::string(argv[1]) == "--help") {
    std::fputs(kUsage, argc >= 2 && std::string(argv[1]) == "--help" ? stdout : stderr);
    return argc >= 2 && std::string(argv[1]) == "--help" ? 0 : 2;
  }
  std::ifstream script(argv[1], std::ios::binary);
  if (!script || platform_is_directory(argv[1])) {
    std::cerr << "osa-record: cannot read " << argv[1] << '\n';
    return 1;
  }
  std::ofstream file;
  if (argc == 3) {
    file.open(argv[2], std::ios::binary | std::ios::trunc);
    if (!file) {
      std::cerr << "osa-record: cannot write " << argv[2] << '\n';
      return 1;
    }
    g_recording.out = &file;
  }
  const int status = run(script);
  g_recording.out->flush();
  return status;
}
