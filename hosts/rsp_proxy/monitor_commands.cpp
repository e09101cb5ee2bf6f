// "monitor orti ...": the plug-in's views as text, for a GDB without Python.
#include "proxy.h"
#include "rsp_packet.h"
#include "text_table.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace rsp {

namespace {

const char kHelp[] =
    "monitor orti tasks         every task: thread id, name, state, priority, core ('*': running)\n"
    "monitor orti show [KIND]   every object of KIND (OS, TASK, ALARM, ..., a vendor kind's name\n"
    "                           or a kind id), or of every kind, with its attributes\n"
    "monitor orti stacks [NAME] how full each stack is (or the STACK object NAME), and the task\n"
    "                           whose STACK attribute names it\n"
    "monitor orti regs TASK     the registers of TASK (its name or thread id) from its saved\n"
    "                           context; the live ones for a running task\n"
    "monitor orti cmd TEXT      a plug-in command and what it shows (help, version, expr ...)\n"
    "monitor orti status        the program, the ORTI file, the plug-in and the last refresh\n"
    "monitor orti help          this text\n";

const char* const kKindNames[] = {"OS",    "TASK",     "CONTEXT",         "STACK",
                                  "ALARM", "RESOURCE", "MESSAGECONTAINER"};
// How many standard attributes (ids 3 and up) each kind has.
const int kStandardCounts[] = {7, 7, 2, 4, 5, 3, 5};
constexpr int kMaxVendorKinds = 64;
// The TASK's STACK among its standard attribute ids: the stack the task runs on.
constexpr int kTaskStackAttribute = 5;
constexpr std::size_t kMaxShown = 200;
// The column of the core in the rows of a kind shown per core; before every attribute id.
constexpr int kCoreColumn = 0;

std::string lower(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return text;
}

std::string first_word(const std::string& text, std::string& rest) {
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) {
    rest.clear();
    return {};
  }
  const std::size_t end = text.find(' ', start);
  const std::size_t next =
      end == std::string::npos ? std::string::npos : text.find_first_not_of(' ', end);
  rest = next == std::string::npos ? std::string() : text.substr(next);
  while (!rest.empty() && rest.back() == ' ') {
    rest.pop_back();
  }
  return text.substr(start, end == std::string::npos ? end : end - start);
}

// Notes that the proxy's own probing provokes: an attribute an object does not define, a
// vendor kind past the last one. They say nothing about the target.
bool is_probe_note(const std::string& text) {
  const bool attribute_failure =
      text.rfind("get_", 0) == 0 && text.find("_attribute(): Failure") != std::string::npos;
  const bool list_failure =
      text.rfind("ObjectListInit(", 0) == 0 && text.find(") Failed") != std::string::npos;
  return attribute_failure || list_failure;
}

// The tab-separated fields of one record line (its line feed dropped; empty fields kept).
std::vector<std::string> record_fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == '\t') {
      fields.emplace_back();
    } else if (c != '\n' && c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

void add_lines(std::vector<std::string>& out, const std::string& text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t nl = text.find('\n', start);
    out.push_back(text.substr(start, nl == std::string::npos ? nl : nl - start + 1));
    if (out.back().back() != '\n') {
      out.back() += '\n';
    }
    if (nl == std::string::npos) {
      break;
    }
    start = nl + 1;
  }
}

} // namespace

std::string Proxy::kind_name(int kind) const {
  const auto it = descriptions_.kinds.find(kind);
  if (it != descriptions_.kinds.end()) {
    return it->second.name;
  }
  if (kind >= 0 && kind < 7) {
    return kKindNames[kind];
  }
  return "kind " + std::to_string(kind);
}

void Proxy::monitor(const std::string& command) {
  const std::vector<std::string> lines = monitor_lines(command);
  flush_notes();
  std::string text;
  for (const std::string& line : lines) {
    text += line;
  }
  console(text);
  reply("OK");
}

std::vector<std::string> Proxy::monitor_lines(const std::string& command) {
  std::vector<std::string> out;
  std::string rest;
  const std::string word = first_word(command, rest);
  if (word.empty() || word == "help") {
    add_lines(out, kHelp);
    return out;
  }
  if (word == "status") {
    monitor_status(out);
    return out;
  }
  if (word != "tasks" && word != "show" && word != "stacks" && word != "regs" && word != "cmd") {
    out.push_back("orti-proxy: no command 'orti " + word + "'; see 'monitor orti help'\n");
    return out;
  }
  if (!osa_.usable()) {
    out.push_back("orti-proxy: the plug-in is not running (" + osa_.gone() + ")\n");
    return out;
  }
  // On several cores the plug-in answers for the core of GDB's selected thread, as it does for
  // a debugger that has a core selected. The threads are read first, for every core alike.
  refresh_if_stale();
  const int core = cores_.size() > 1 ? selected_core() : -1;
  CallsForCore for_core(osa_, core);
  services_.set_call_core(std::max(core, 0));
  struct CallCoreBack {
    ProxyServices& services;
    ~CallCoreBack() { services.set_call_core(0); }
  } back{services_};
  if (word == "cmd") {
    monitor_cmd(rest, out);
    return out;
  }
  if (!orti_loaded_) {
    out.push_back("orti-proxy: no ORTI file is loaded (" + load_problem_ + ")\n");
    return out;
  }
  if (word == "tasks") {
    monitor_tasks(out);
  } else if (word == "show") {
    monitor_show(rest, out);
  } else if (word == "stacks") {
    monitor_stacks(rest, out);
  } else {
    monitor_regs(rest, out);
  }
  return out;
}

void Proxy::monitor_status(std::vector<std::string>& out) {
  std::string family = family_ != nullptr ? family_->name : "an unknown processor";
  out.push_back("program:   " + options_.elf + " (" + family + ", " +
                (elf_.big_endian ? "big" : "little") + "-endian, " +
                (evaluator_ ? "debug information read" : evaluator_problem_) + ")\n");
  out.push_back("ORTI file: " + options_.orti + " (" +
                (orti_loaded_ ? std::string("loaded") : "not loaded: " + load_problem_) + ")\n");
  out.push_back(
      "plug-in:   " + options_.plugin + " (" +
      (osa_.usable() ? "pid " + std::to_string(osa_.pid()) : "not running: " + osa_.gone()) +
      ")\n");
  std::string server = "server:    " + describe(options_.remote) + ", " +
                       std::to_string(cores_.size()) + (cores_.size() == 1 ? " core" : " cores");
  out.push_back(server + ", " + std::to_string(layout_.registers.size()) + " registers\n");
  refresh_if_stale();
  std::size_t tasks = 0;
  for (const ThreadEntry& t : map_.threads()) {
    tasks += t.kind == ThreadEntry::Task ? 1 : 0;
  }
  out.push_back("threads:   " + std::to_string(map_.threads().size()) + " (" +
                std::to_string(tasks) + " tasks)\n");
  const RefreshFigures& f = last_refresh_;
  const auto own = f.total - f.plugin - f.server;
  char line[256];
  std::snprintf(line, sizeof line,
                "last refresh: %zu tasks in %s: plug-in %s (%llu calls, %llu requests), "
                "server %s (%llu packets), proxy %s\n",
                f.tasks, milliseconds_text(f.total).c_str(), milliseconds_text(f.plugin).c_str(),
                static_cast<unsigned long long>(f.plugin_calls),
                static_cast<unsigned long long>(f.plugin_requests),
                milliseconds_text(f.server).c_str(),
                static_cast<unsigned long long>(f.server_packets), milliseconds_text(own).c_str());
  out.push_back(line);
}

void Proxy::monitor_tasks(std::vector<std::string>& out) {
  refresh_if_stale();
  std::vector<std::vector<std::string>> rows;
  for (const ThreadEntry& t : map_.threads()) {
    if (t.kind != ThreadEntry::Task) {
      continue;
    }
    rows.push_back({t.core >= 0 ? "*" : "", std::to_string(t.id), t.name, t.state, t.priority,
                    t.core >= 0 ? std::to_string(t.core) : ""});
  }
  if (rows.empty()) {
    out.push_back("orti-proxy: the plug-in lists no task\n");
    return;
  }
  add_lines(out, format_table({"", "THREAD", "NAME", "STATE", "PRIORITY", "CORE"}, rows));
}

void Proxy::monitor_regs(const std::string& task, std::vector<std::string>& out) {
  if (task.empty()) {
    out.push_back("orti-proxy: usage: monitor orti regs TASK (its name or thread id)\n");
    return;
  }
  refresh_if_stale();
  const ThreadEntry* found = nullptr;
  for (int pass = 0; pass < 3 && found == nullptr; ++pass) {
    for (const ThreadEntry& t : map_.threads()) {
      if (t.kind != ThreadEntry::Task) {
        continue;
      }
      const bool match = pass == 0   ? t.name == task
                         : pass == 1 ? lower(t.name) == lower(task)
                                     : std::to_string(t.id) == task;
      if (match) {
        found = &t;
        break;
      }
    }
  }
  if (found == nullptr) {
    out.push_back("orti-proxy: no task '" + task + "'\n");
    return;
  }
  if (family_ == nullptr) {
    out.push_back("orti-proxy: the proxy knows no register names of this processor\n");
    return;
  }
  out.push_back(found->name + (found->core >= 0 ? " (running: live registers)" : "") + "\n");
  std::vector<std::string> lines;
  std::vector<std::vector<std::string>> rows;
  capture_ = &lines;
  for (const RegisterInfo& r : layout_.registers) {
    const int id = family_->register_id(r.name);
    if (id < 0) {
      continue;
    }
    uint64_t value = 0;
    const int status = osa_.task_register(found->task, id, found->core, value);
    if (status == 0) {
      char text[24];
      std::snprintf(
          text, sizeof text, "0x%0*llx", static_cast<int>(r.bits / 4),
          static_cast<unsigned long long>(r.bits >= 64 ? value : value & ((1ull << r.bits) - 1)));
      rows.push_back({r.name, text});
    } else {
      rows.push_back({r.name, status == 2 ? "not saved" : "unreadable"});
    }
  }
  capture_ = nullptr;
  for (const std::string& line : lines) {
    add_lines(out, line);
  }
  add_lines(out, format_table({"REGISTER", "VALUE"}, rows));
}

// The plug-in measures the stacks (its stackusage records: name, status, size, base,
// direction, pattern, used, free, percent, note); the owners are the tasks whose STACK label is
// a stack's name (letter case aside).
void Proxy::monitor_stacks(const std::string& name, std::vector<std::string>& out) {
  refresh_if_stale();
  std::vector<std::string> lines;
  std::vector<OsaSession::Object> tasks;
  bool cut = false;
  capture_ = &lines;
  const int status = osa_.command("stackusage --records" + (name.empty() ? "" : " " + name));
  const std::size_t measured = lines.size();
  osa_.walk(1, {2, kTaskStackAttribute}, false, kMaxShown, tasks, cut);
  capture_ = nullptr;
  std::vector<std::vector<std::string>> records;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::vector<std::string> fields = record_fields(lines[i]);
    if (i < measured && fields.size() == 11 && fields[0] == "stack") {
      records.push_back(fields);
    } else if (!is_probe_note(lines[i])) {
      add_lines(out, lines[i]);
    }
  }
  if (status != 0) {
    out.push_back("orti-proxy: the plug-in could not measure the stacks (return " +
                  std::to_string(status) + ")\n");
    return;
  }
  if (records.empty()) {
    out.push_back("orti-proxy: the ORTI file describes no stacks\n");
    return;
  }
  std::vector<std::vector<std::string>> rows;
  for (const std::vector<std::string>& r : records) {
    std::string owners;
    for (const OsaSession::Object& task : tasks) {
      std::string task_name;
      std::string label;
      for (const auto& [id, value] : task.values) {
        if (id == 2) {
          task_name = value;
        } else if (id == kTaskStackAttribute) {
          label = value;
        }
      }
      if (!label.empty() && lower(label) == lower(r[1])) {
        owners += (owners.empty() ? "" : ", ") + task_name;
      }
    }
    const bool measured_row = r[2] == "ok" || r[2] == "overflow";
    const uint64_t size = std::strtoull(r[3].c_str(), nullptr, 10);
    const uint64_t used = std::strtoull(r[7].c_str(), nullptr, 10);
    rows.push_back({r[1], owners, r[3], r[7], r[8], r[9].empty() ? "" : r[9] + "%",
                    measured_row ? usage_bar(used, size, r[2] == "overflow") : "", r[10]});
  }
  add_lines(out,
            format_table({"STACK", "TASK", "SIZE", "USED", "FREE", "USED%", "", "NOTE"}, rows));
}

void Proxy::monitor_cmd(const std::string& text, std::vector<std::string>& out) {
  if (text.empty()) {
    out.push_back("orti-proxy: usage: monitor orti cmd TEXT\n");
    return;
  }
  std::vector<std::string> lines;
  capture_ = &lines;
  const int status = osa_.command(text);
  capture_ = nullptr;
  std::string joined;
  for (const std::string& line : lines) {
    joined += line;
  }
  add_lines(out, joined);
  if (status != 0) {
    out.push_back("orti-proxy: the plug-in could not run '" + text + "' (return " +
                  std::to_string(status) + ")\n");
  }
  // A command may change what the plug-in answers (a formula, a register map).
  stale_ = true;
  task_registers_.clear();
}

std::vector<int> Proxy::kinds_for_show() {
  std::vector<int> kinds;
  if (have_descriptions_ && !descriptions_.kinds.empty()) {
    for (const auto& [kind, description] : descriptions_.kinds) {
      kinds.push_back(kind);
    }
    return kinds;
  }
  for (int kind = 0; kind < 7; ++kind) {
    kinds.push_back(kind);
  }
  std::vector<std::string> ignored;
  capture_ = &ignored;
  for (int kind = 100; kind < 100 + kMaxVendorKinds; ++kind) {
    JsonPtr params = json_new_object();
    json_object_add_integer(params.get(), "objTypeId", kind);
    json_object_add_integer(params.get(), "showAllObjects", 1);
    const int status = osa_.call_status("OSA_Client_ObjectListInit", std::move(params));
    JsonPtr cleanup = json_new_object();
    json_object_add_integer(cleanup.get(), "objTypeId", kind);
    osa_.call("OSA_Client_ObjectListCleanup", std::move(cleanup));
    if (status == 1 || status < 0) {
      break;
    }
    kinds.push_back(kind);
  }
  capture_ = nullptr;
  return kinds;
}

void Proxy::monitor_show(const std::string& kind_text, std::vector<std::string>& out) {
  std::vector<int> kinds;
  if (kind_text.empty()) {
    kinds = kinds_for_show();
  } else {
    char* end = nullptr;
    const long number = std::strtol(kind_text.c_str(), &end, 0);
    if (end != kind_text.c_str() && *end == '\0') {
      if ((number < 0 || number > 6) && number < 100) {
        out.push_back("orti-proxy: no object kind " + kind_text + " (0-6, 100 and up)\n");
        return;
      }
      kinds.push_back(static_cast<int>(number));
    } else {
      for (int kind : kinds_for_show()) {
        if (lower(kind_name(kind)) == lower(kind_text)) {
          kinds.push_back(kind);
          break;
        }
      }
      if (kinds.empty()) {
        out.push_back("orti-proxy: no object kind '" + kind_text + "'\n");
        return;
      }
    }
  }
  refresh_if_stale();
  for (std::size_t n = 0; n < kinds.size(); ++n) {
    const int kind = kinds[n];
    if (n != 0) {
      out.push_back("\n");
    }
    std::vector<int> ids = {1, 2};
    bool probe = true;
    if (have_descriptions_) {
      const auto it = descriptions_.attributes.find(kind);
      if (it != descriptions_.attributes.end()) {
        ids.insert(ids.end(), it->second.begin(), it->second.end());
      }
      probe = false;
    } else if (kind >= 0 && kind < 7) {
      for (int id = 3; id < 3 + kStandardCounts[kind]; ++id) {
        ids.push_back(id);
      }
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::vector<std::string> lines;
    std::vector<OsaSession::Object> objects;
    bool cut = false;
    // The OS is one per core: each core's values (array elements, or the OS object of the
    // core), in a row of its own.
    const std::size_t per_core = kind == 0 && cores_.size() > 1 ? cores_.size() : 0;
    capture_ = &lines;
    for (std::size_t core = 0; core < std::max<std::size_t>(per_core, 1); ++core) {
      std::vector<OsaSession::Object> some;
      CallsForCore for_core(osa_, per_core != 0 ? static_cast<int>(core) : osa_.host_core());
      osa_.walk(kind, ids, probe, kMaxShown, some, cut);
      for (OsaSession::Object& o : some) {
        if (per_core != 0) {
          o.values.emplace_back(kCoreColumn, std::to_string(core));
        }
        objects.push_back(std::move(o));
      }
    }
    capture_ = nullptr;
    for (const std::string& line : lines) {
      if (!is_probe_note(line)) {
        add_lines(out, line);
      }
    }
    if (objects.empty()) {
      out.push_back(kind_name(kind) + ": no objects\n");
      continue;
    }
    std::vector<int> columns;
    for (const OsaSession::Object& o : objects) {
      for (const auto& [id, value] : o.values) {
        if (std::find(columns.begin(), columns.end(), id) == columns.end()) {
          columns.push_back(id);
        }
      }
    }
    std::sort(columns.begin(), columns.end());
    std::vector<std::string> headers;
    for (int id : columns) {
      const auto named = descriptions_.attribute_names.find({kind, id});
      headers.push_back(id == kCoreColumn                              ? "CORE"
                        : id == 1                                      ? "#"
                        : id == 2                                      ? "NAME"
                        : named != descriptions_.attribute_names.end() ? named->second
                                                                       : std::to_string(id));
    }
    std::vector<std::vector<std::string>> rows;
    for (const OsaSession::Object& o : objects) {
      std::vector<std::string> row;
      for (int id : columns) {
        std::string cell;
        for (const auto& [vid, value] : o.values) {
          if (vid == id) {
            cell = value;
          }
        }
        row.push_back(cell);
      }
      rows.push_back(std::move(row));
    }
    const auto described = descriptions_.kinds.find(kind);
    const std::string about =
        described != descriptions_.kinds.end() && !described->second.description.empty()
            ? " (" + described->second.description + ")"
            : "";
    out.push_back(kind_name(kind) + about + ": " + std::to_string(objects.size()) +
                  (objects.size() == 1 ? " object\n" : " objects\n"));
    add_lines(out, format_table(headers, rows));
    if (cut) {
      out.push_back("orti-proxy: stopped after " + std::to_string(kMaxShown) + " objects\n");
    }
  }
}

} // namespace rsp
