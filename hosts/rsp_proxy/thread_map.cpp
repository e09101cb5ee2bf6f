#include "thread_map.h"

#include "target_description.h"

#include <algorithm>
#include <set>

namespace rsp {

namespace {

std::string task_extra(const TaskRow& task) {
  if (task.state.empty()) {
    return task.priority.empty() ? std::string() : "priority " + task.priority;
  }
  return task.priority.empty() ? task.state : task.state + ", priority " + task.priority;
}

// A stop reply: its signal and, for a "T" reply, its "key:value" fields as written.
struct StopFields {
  std::string signal;
  std::vector<std::string> fields;
};

bool split_stop_reply(std::string_view reply, StopFields& stop) {
  if (reply.size() < 3 || (reply[0] != 'T' && reply[0] != 'S')) {
    return false;
  }
  stop.signal = std::string(reply.substr(1, 2));
  if (reply[0] == 'S') {
    return true;
  }
  std::string_view rest = reply.substr(3);
  while (!rest.empty()) {
    const std::size_t semi = rest.find(';');
    stop.fields.emplace_back(rest.substr(0, semi));
    if (semi == std::string_view::npos) {
      break;
    }
    rest = rest.substr(semi + 1);
  }
  return true;
}

bool is_thread_field(const std::string& field) {
  return field.rfind("thread:", 0) == 0;
}

} // namespace

std::string thread_text(uint64_t id) {
  return hex_number(id);
}

ThreadMap ThreadMap::build(const ThreadInputs& in) {
  ThreadMap map;
  const std::vector<CoreInfo>& cores = in.cores;
  map.cores_ = cores;
  map.core_thread_.assign(cores.size(), 0);
  map.shows_tasks_ = in.tasks != nullptr && !in.tasks->empty();
  const std::vector<TaskRow> none;
  const std::vector<TaskRow>& tasks = map.shows_tasks_ ? *in.tasks : none;
  std::set<uint64_t> taken;
  for (const TaskRow& t : tasks) {
    taken.insert(static_cast<uint64_t>(t.id));
  }
  auto task_index = [&](int64_t id) -> int {
    for (std::size_t i = 0; i < tasks.size(); ++i) {
      if (tasks[i].id == id) {
        return static_cast<int>(i);
      }
    }
    return -1;
  };
  // Which task stands for which core. A thread GDB stepped keeps its core; otherwise a task
  // runs on one core at most: when several cores name the same task (a single-core ORTI file
  // on a multi-core target answers every core alike), the first one has it.
  std::vector<int> task_core(tasks.size(), -1);
  std::vector<bool> held(cores.size(), false);
  for (const auto& [core, id] : in.held) {
    if (core < 0 || static_cast<std::size_t>(core) >= cores.size()) {
      continue;
    }
    held[static_cast<std::size_t>(core)] = true;
    const int i = task_index(static_cast<int64_t>(id));
    if (i >= 0 && task_core[static_cast<std::size_t>(i)] < 0) {
      task_core[static_cast<std::size_t>(i)] = core;
    }
  }
  for (std::size_t k = 0; k < cores.size(); ++k) {
    const int i = held[k] ? -1 : task_index(k < in.running.size() ? in.running[k] : 0);
    if (i >= 0 && task_core[static_cast<std::size_t>(i)] < 0) {
      task_core[static_cast<std::size_t>(i)] = static_cast<int>(k);
    }
  }
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    const TaskRow& t = tasks[i];
    ThreadEntry e;
    e.kind = ThreadEntry::Task;
    e.id = static_cast<uint64_t>(t.id);
    e.task = t.id;
    e.core = task_core[i];
    e.name = t.name;
    e.state = t.state;
    e.priority = t.priority;
    e.extra = task_extra(t);
    if (e.core >= 0) {
      map.core_thread_[static_cast<std::size_t>(e.core)] = map.threads_.size();
    }
    map.threads_.push_back(std::move(e));
  }
  for (std::size_t k = 0; k < cores.size(); ++k) {
    const int core = static_cast<int>(k);
    if (std::find(task_core.begin(), task_core.end(), core) != task_core.end()) {
      continue;
    }
    ThreadEntry e;
    e.kind = ThreadEntry::Core;
    e.core = core;
    // Where tasks are threads, thread ids from 1 up are theirs, also at a stop where the
    // plug-in cannot answer: a core keeps an id above them, so that GDB never takes it for a
    // task it knew.
    uint64_t id = in.task_session ? kCoreThreadBase + k : cores[k].server_id.value_or(k + 1);
    const auto kept = in.held.find(core);
    if (kept != in.held.end()) {
      id = kept->second;
    }
    while (taken.count(id) != 0) {
      ++id;
    }
    taken.insert(id);
    e.id = id;
    e.name = cores[k].server_name;
    if (map.shows_tasks_) {
      e.extra = cores[k].server_extra.empty() ? "no task running"
                                              : cores[k].server_extra + ", no task running";
    } else {
      e.extra = cores[k].server_extra;
    }
    map.core_thread_[k] = map.threads_.size();
    map.threads_.push_back(std::move(e));
  }
  return map;
}

const ThreadEntry* ThreadMap::find(uint64_t id) const {
  for (const ThreadEntry& e : threads_) {
    if (e.id == id) {
      return &e;
    }
  }
  return nullptr;
}

const ThreadEntry* ThreadMap::for_core(int core) const {
  if (core < 0 || static_cast<std::size_t>(core) >= core_thread_.size()) {
    return nullptr;
  }
  return &threads_[core_thread_[static_cast<std::size_t>(core)]];
}

int ThreadMap::core_of_server_id(uint64_t id) const {
  for (std::size_t k = 0; k < cores_.size(); ++k) {
    if (cores_[k].server_id && *cores_[k].server_id == id) {
      return static_cast<int>(k);
    }
  }
  return -1;
}

std::string ThreadMap::thread_list() const {
  if (threads_.empty()) {
    return "l";
  }
  std::string out = "m";
  for (std::size_t i = 0; i < threads_.size(); ++i) {
    if (i != 0) {
      out += ',';
    }
    out += thread_text(threads_[i].id);
  }
  return out;
}

std::string ThreadMap::threads_xml() const {
  std::string out = "<?xml version=\"1.0\"?>\n<threads>\n";
  for (const ThreadEntry& e : threads_) {
    out += "<thread id=\"" + thread_text(e.id) + "\"";
    if (e.core >= 0) {
      out += " core=\"" + std::to_string(e.core) + "\"";
    }
    if (!e.name.empty()) {
      out += " name=\"" + xml_escape(e.name) + "\"";
    }
    out += ">" + xml_escape(e.extra) + "</thread>\n";
  }
  out += "</threads>\n";
  return out;
}

int ThreadMap::stop_core(std::string_view reply) const {
  StopFields stop;
  if (!split_stop_reply(reply, stop)) {
    return 0;
  }
  for (const std::string& field : stop.fields) {
    if (is_thread_field(field)) {
      const std::optional<ThreadId> t = parse_thread_id(std::string_view(field).substr(7));
      if (t && t->kind == ThreadId::Id) {
        const int core = core_of_server_id(t->id);
        return core < 0 ? 0 : core;
      }
    }
  }
  return 0;
}

std::string ThreadMap::rewrite_stop_reply(std::string_view reply) const {
  StopFields stop;
  const ThreadEntry* thread = for_core(stop_core(reply));
  if (thread == nullptr || !split_stop_reply(reply, stop)) {
    return std::string(reply);
  }
  const std::string named = "thread:" + thread_text(thread->id) + ";";
  std::string out = "T" + stop.signal;
  bool done = false;
  for (const std::string& field : stop.fields) {
    if (field.empty()) {
      continue;
    }
    if (is_thread_field(field)) {
      out += named;
      done = true;
    } else {
      out += field + ";";
    }
  }
  if (!done) {
    out += named;
  }
  return out;
}

} // namespace rsp
