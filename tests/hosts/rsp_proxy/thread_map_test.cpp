// Which threads GDB sees for which tasks and cores, and how stop replies name them.
#include "thread_map.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using rsp::CoreInfo;
using rsp::TaskRow;
using rsp::ThreadEntry;
using rsp::ThreadMap;

std::vector<TaskRow> demo_tasks(int count) {
  std::vector<TaskRow> tasks;
  for (int i = 1; i <= count; ++i) {
    tasks.push_back(
        TaskRow{i, "Task_" + std::to_string(i), i == 2 ? "RUNNING" : "READY", std::to_string(i)});
  }
  return tasks;
}

CoreInfo core(uint64_t id, std::string extra = "") {
  CoreInfo c;
  c.server_id = id;
  c.server_extra = std::move(extra);
  return c;
}

// "id:core" per thread, in list order: core -1 for a task that is not running, "c" before
// the id for a core that stands for itself.
std::string layout(const ThreadMap& map) {
  std::string out;
  for (const ThreadEntry& t : map.threads()) {
    out += (t.kind == ThreadEntry::Core ? "c" : "") + std::to_string(t.id) + ":" +
           std::to_string(t.core) + " ";
  }
  return out;
}

struct MappingCase {
  const char* name;
  std::vector<CoreInfo> cores;
  int tasks; // -1: the plug-in gave no answer
  std::vector<int64_t> running;
  bool task_session;
  std::map<int, uint64_t> held;
  std::string expected;
};

ThreadMap build(const std::vector<CoreInfo>& cores, const std::vector<TaskRow>* tasks,
                std::vector<int64_t> running, bool task_session = true,
                std::map<int, uint64_t> held = {}) {
  return ThreadMap::build(
      rsp::ThreadInputs{cores, tasks, std::move(running), task_session, std::move(held)});
}

// Invariant: every task is a thread with its task id; a task runs on at most one core and
// then stands for it; every other core is a thread of its own whose id no task has.
TEST(ThreadMap, TasksTakeThePlaceOfTheCoresTheyRunOn) {
  const std::vector<MappingCase> cases = {
      {"the running task stands for the core", {core(1)}, 3, {2}, true, {}, "1:-1 2:0 3:-1 "},
      {"no task runs: the core keeps its place, above the task ids",
       {core(1)},
       3,
       {0},
       true,
       {},
       "1:-1 2:-1 3:-1 c65536:0 "},
      {"a running task the plug-in does not list leaves the core alone",
       {core(1)},
       3,
       {7},
       true,
       {},
       "1:-1 2:-1 3:-1 c65536:0 "},
      {"two cores, two running tasks",
       {core(1), core(2)},
       4,
       {2, 4},
       true,
       {},
       "1:-1 2:0 3:-1 4:1 "},
      {"two cores naming the same task: the first has it",
       {core(1), core(2)},
       3,
       {2, 2},
       true,
       {},
       "1:-1 2:0 3:-1 c65537:1 "},
      {"a server without threads", {CoreInfo{}}, 2, {1}, true, {}, "1:0 2:-1 "},
      {"no plug-in answer in a task session: cores stay above the task ids",
       {core(1), core(2)},
       -1,
       {0, 0},
       true,
       {},
       "c65536:0 c65537:1 "},
      {"no tasks to show at all: the server's cores as they are",
       {core(1), core(2)},
       -1,
       {0, 0},
       false,
       {},
       "c1:0 c2:1 "},
      {"no tasks, server without threads", {CoreInfo{}}, -1, {0}, false, {}, "c1:0 "},
      {"the stepped task keeps its core although another one runs now",
       {core(1)},
       3,
       {3},
       true,
       {{0, 2}},
       "1:-1 2:0 3:-1 "},
      {"the stepped task keeps its core when the plug-in no longer answers",
       {core(1)},
       -1,
       {0},
       true,
       {{0, 2}},
       "c2:0 "},
      {"a stepped core keeps its id when a task runs there now",
       {core(1)},
       3,
       {1},
       true,
       {{0, 65536}},
       "1:-1 2:-1 3:-1 c65536:0 "},
  };
  for (const MappingCase& c : cases) {
    const std::vector<TaskRow> tasks = demo_tasks(c.tasks < 0 ? 0 : c.tasks);
    const ThreadMap map =
        build(c.cores, c.tasks < 0 ? nullptr : &tasks, c.running, c.task_session, c.held);
    EXPECT_EQ(layout(map), c.expected) << c.name;
    EXPECT_EQ(map.shows_tasks(), c.tasks > 0) << c.name;
    for (std::size_t k = 0; k < c.cores.size(); ++k) {
      const ThreadEntry* t = map.for_core(static_cast<int>(k));
      ASSERT_NE(t, nullptr) << c.name;
      EXPECT_EQ(t->core, static_cast<int>(k)) << c.name;
    }
  }
}

struct StopCase {
  const char* name;
  std::string reply;
  std::string expected;
};

// Invariant: a stop reply names the thread that stands for the core that stopped; every
// other field stays as the server wrote it.
TEST(ThreadMap, StopRepliesNameTheThreadOfTheCoreThatStopped) {
  const std::vector<TaskRow> tasks = demo_tasks(4);
  const ThreadMap map = build({core(1), core(2)}, &tasks, {3, 0});
  const std::vector<StopCase> cases = {
      {"thread of core 0", "T05thread:1;", "T05thread:3;"},
      {"thread of core 1 stands alone", "T05thread:2;core:1;", "T05thread:10001;core:1;"},
      {"fields kept around it", "T05swbreak:;thread:01;0f:04110000;",
       "T05swbreak:;thread:3;0f:04110000;"},
      {"multiprocess form", "T02thread:p1.1;", "T02thread:3;"},
      {"S reply gains a thread", "S05", "T05thread:3;"},
      {"T reply without thread gains one", "T0516:00000000;", "T0516:00000000;thread:3;"},
      {"exit replies are left alone", "W00", "W00"},
      {"signal replies without pairs", "T05", "T05thread:3;"},
  };
  for (const StopCase& c : cases) {
    EXPECT_EQ(map.rewrite_stop_reply(c.reply), c.expected) << c.name;
  }
  // Without tasks the core keeps the server's id, and the reply says so too.
  const ThreadMap plain = build({core(1)}, nullptr, {0}, false);
  EXPECT_EQ(plain.rewrite_stop_reply("S05"), "T05thread:1;");
  EXPECT_EQ(plain.rewrite_stop_reply("T05thread:1;"), "T05thread:1;");
  // Where tasks were shown, a core that stands alone is named with its own id.
  const ThreadMap fallback = build({core(1)}, nullptr, {0}, true);
  EXPECT_EQ(fallback.rewrite_stop_reply("T05thread:01;"), "T05thread:10000;");
}

TEST(ThreadMap, ListsAndDescribesTheThreadsForGdb) {
  std::vector<TaskRow> tasks = {{1, "Idle <low>", "READY", "0"}, {10, "A&B", "RUNNING", "3"}};
  const ThreadMap map = build({core(1, "CPU#0 [halted ]")}, &tasks, {10});
  EXPECT_EQ(map.thread_list(), "m1,a");
  EXPECT_EQ(map.threads_xml(),
            "<?xml version=\"1.0\"?>\n<threads>\n"
            "<thread id=\"1\" name=\"Idle &lt;low&gt;\">READY, priority 0</thread>\n"
            "<thread id=\"a\" core=\"0\" name=\"A&amp;B\">RUNNING, priority 3</thread>\n"
            "</threads>\n");
  const ThreadMap idle = build({core(1, "CPU#0 [halted ]")}, &tasks, {0});
  const ThreadEntry* c = idle.for_core(0);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->extra, "CPU#0 [halted ], no task running");
  EXPECT_EQ(build({}, nullptr, {}).thread_list(), "l");
}

} // namespace
