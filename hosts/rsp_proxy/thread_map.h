// The threads GDB is shown after a stop: every task the plug-in lists, with the task id as
// thread id; the running task of a core takes that core's place, and a core that runs no
// task stays a thread of its own. Without tasks (no plug-in answer) the threads are the
// server's cores as the server gives them.
#pragma once

#include "osa_session.h"
#include "rsp_packet.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rsp {

// One core as the server shows it.
struct CoreInfo {
  std::optional<uint64_t> server_id; // none for a server without threads
  std::string server_name;           // from the server's qXfer:threads:read, if any
  std::string server_extra;          // its qThreadExtraInfo text, if any
};

struct ThreadEntry {
  enum Kind { Task, Core } kind = Core;
  uint64_t id = 0;  // the thread id GDB sees
  int core = -1;    // the core it runs on; -1 for a task that is not running
  int64_t task = 0; // the plug-in's task id (Task only)
  std::string name;
  std::string state;    // Task only
  std::string priority; // Task only
  std::string extra;    // qThreadExtraInfo and the text of the qXfer:threads:read element
};

// Thread ids for cores that stand on their own when their server id is a task's id too.
inline constexpr uint64_t kCoreThreadBase = 0x10000;

// What the threads are made of at one stop.
struct ThreadInputs {
  const std::vector<CoreInfo>& cores;
  // The plug-in's tasks; null when it gave no answer (only the cores are shown then).
  const std::vector<TaskRow>* tasks = nullptr;
  // running[k]: the task id that runs on core k (0: none).
  std::vector<int64_t> running;
  // The session shows tasks (a program with debug information and an ORTI file that loaded):
  // cores that stand for themselves keep ids above the task ids. Otherwise they keep the
  // server's ids.
  bool task_session = false;
  // core -> the thread that must stand for it: the one GDB stepped there. GDB takes the stop
  // of a step for that thread's own, whatever ran on the core meanwhile.
  std::map<int, uint64_t> held;
};

class ThreadMap {
public:
  static ThreadMap build(const ThreadInputs& inputs);

  const std::vector<ThreadEntry>& threads() const { return threads_; }
  bool shows_tasks() const { return shows_tasks_; }
  const ThreadEntry* find(uint64_t id) const;
  // The thread that stands for core k (its running task, or the core itself).
  const ThreadEntry* for_core(int core) const;
  // The core whose server id is id; -1 when none is.
  int core_of_server_id(uint64_t id) const;

  // "m1,2,3": the whole list in one qfThreadInfo answer.
  std::string thread_list() const;
  std::string threads_xml() const;
  // A stop reply of the server with its thread named as GDB sees it: "thread:" gets the id of
  // the thread that stands for the core that stopped, and an "S" reply becomes a "T" reply
  // that names it. Other replies and fields are kept as they are.
  std::string rewrite_stop_reply(std::string_view reply) const;
  // The core a stop reply of the server is about (0 when it names none).
  int stop_core(std::string_view reply) const;

private:
  std::vector<ThreadEntry> threads_;
  std::vector<CoreInfo> cores_;
  std::vector<std::size_t> core_thread_; // per core: index into threads_
  bool shows_tasks_ = false;
};

// The thread id as packets write it.
std::string thread_text(uint64_t id);

} // namespace rsp
