// Soak run: one plug-in process serves a long, realistic debugging session over its pipes, and
// its resident memory must stay flat.
//
// The session repeats what a debugger does at every target stop: a target notification, the
// task list (the running task, every task's name and state, a saved register), an OSA
// Explorer refresh of every kind of examples/demo_os.ort with a dynamic list and a reference
// walk, and now and then a user command. Every service request is answered at once by a
// stand-in debugger. The resident memory is read after the warm-up (the first quarter of the
// session, which also fills the event log's bounded history) and at the end; it may not grow
// by more than the allocator's slack.
//
//   soak_run PLUGIN_EXE [CALLS]      ($OSA_SOAK_CALLS, when set, wins; without both: 1000000)
#include <fcntl.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr long kSlackKiB = 256;

struct Plugin {
  pid_t pid = -1;
  int to = -1;
  int from = -1;
  std::string pending; // bytes read beyond the last message
};

bool start(Plugin& p, const char* exe) {
  int in[2];
  int out[2];
  if (pipe(in) != 0 || pipe(out) != 0) {
    return false;
  }
  p.pid = fork();
  if (p.pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    close(in[1]);
    close(out[0]);
    execl(exe, exe, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  p.to = in[1];
  p.from = out[0];
  return p.pid > 0;
}

bool send(Plugin& p, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(p.to, text.data() + done, text.size() - done);
    if (n <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The next brace-balanced message from the plug-in.
bool receive(Plugin& p, std::string* message) {
  int depth = 0;
  bool in_string = false;
  bool escaped = false;
  std::size_t i = 0;
  for (;;) {
    for (; i < p.pending.size(); ++i) {
      const char c = p.pending[i];
      if (in_string) {
        if (escaped) {
          escaped = false;
        } else if (c == '\\') {
          escaped = true;
        } else if (c == '"') {
          in_string = false;
        }
      } else if (c == '"') {
        in_string = true;
      } else if (c == '{') {
        ++depth;
      } else if (c == '}' && --depth == 0) {
        *message = p.pending.substr(0, i + 1);
        p.pending.erase(0, i + 1);
        return true;
      }
    }
    char buffer[65536];
    const ssize_t n = read(p.from, buffer, sizeof buffer);
    if (n <= 0) {
      return false;
    }
    p.pending.append(buffer, static_cast<std::size_t>(n));
  }
}

int occurrences(const std::string& text, const char* pattern) {
  int n = 0;
  for (std::size_t at = text.find(pattern); at != std::string::npos;
       at = text.find(pattern, at + 1)) {
    ++n;
  }
  return n;
}

// The stand-in debugger's answer: every number 1 (a dynamic list ends after its third node,
// a register reads 0x100), every text "x", every file found where it is.
std::string answer_for(const std::string& request) {
  if (request.find("OSA_Service_ConfigFileSearch") != std::string::npos) {
    return R"({"jsonrpc":"2.0","result":{"filePath":"examples/demo_os.ort","return":0},"id":0})";
  }
  if (request.find("!= 0") != std::string::npos && occurrences(request, "->next") >= 3) {
    return R"({"jsonrpc":"2.0","result":{"output":0,"return":0},"id":0})";
  }
  return R"({"jsonrpc":"2.0","result":{"output":1,"value":"x","return":0},"id":0})";
}

uint64_t g_calls = 0;

// One call and the plug-in's service requests on the way; false when the plug-in failed.
bool call(Plugin& p, const std::string& method, const std::string& params) {
  const std::string request = "{\"jsonrpc\":\"2.0\",\"method\":\"" + method +
                              "\",\"params\":{\"context\":1" + params +
                              "},\"id\":" + std::to_string(++g_calls) + "}";
  if (!send(p, request)) {
    return false;
  }
  for (;;) {
    std::string message;
    if (!receive(p, &message)) {
      return false;
    }
    if (message.find("\"method\"") == std::string::npos) {
      return message.find("\"return\"") != std::string::npos ||
             message.find("\"error\"") != std::string::npos;
    }
    if (!send(p, answer_for(message))) {
      return false;
    }
  }
}

bool stop_of_the_target(Plugin& p, uint64_t stop) {
  bool ok = call(p, "OSA_Client_TargetNotify", ",\"notice\":1");
  ok = ok && call(p, "OSA_Client_CurrentTaskGet", ",\"checkInKernel\":1");
  for (int task = 1; task <= 3 && ok; ++task) {
    ok = call(p, "OSA_Client_TaskNameGet", ",\"taskId\":" + std::to_string(task)) &&
         call(p, "OSA_Client_TaskStatusGet", ",\"taskId\":" + std::to_string(task));
  }
  ok = ok && call(p, "OSA_Client_TaskRegisterRead", ",\"taskId\":1,\"register\":15");
  for (const int type : {0, 1, 2, 3, 4, 5, 6, 100, 101, 102}) {
    const std::string t = ",\"objTypeId\":" + std::to_string(type);
    ok = ok && call(p, "OSA_Client_ObjectListInit", t);
    for (int element = 0; element < 4 && ok; ++element) {
      for (const int id : {1, 2, 3, 4, 100}) {
        ok = ok && call(p, "OSA_Client_ObjectListAttribute",
                        t + ",\"objAtrId\":" + std::to_string(id) + ",\"valueType\":0");
      }
      ok = ok && call(p, "OSA_Client_ObjectListNext", t);
    }
  }
  ok = ok && call(p, "OSA_Client_ObjectListInit",
                  ",\"objTypeId\":3,\"parentObjTypeId\":1,\"parentObjId\":1,\"parentObjListId\":5");
  if (stop % 16 == 0) {
    for (const char* command : {"version", "clearcache", "expr Task_Init.STATE", "regname 13"}) {
      ok = ok &&
           call(p, "OSA_Client_OsaCmd_Execute", std::string(",\"command\":\"") + command + "\"");
    }
  }
  return ok;
}

long resident_kib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) {
      return std::strtol(line.c_str() + 6, nullptr, 10);
    }
  }
  return -1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: soak_run PLUGIN_EXE [CALLS]\n");
    return 2;
  }
  const char* env = std::getenv("OSA_SOAK_CALLS");
  const uint64_t total = env != nullptr ? std::strtoull(env, nullptr, 10)
                         : argc > 2     ? std::strtoull(argv[2], nullptr, 10)
                                        : 1000000ull;
  signal(SIGPIPE, SIG_IGN);
  Plugin p;
  if (!start(p, argv[1])) {
    std::fprintf(stderr, "soak: cannot start %s\n", argv[1]);
    return 1;
  }
  const auto begin = std::chrono::steady_clock::now();
  bool ok = call(p, "OSA_Client_OsaInit", "") &&
            call(p, "OSA_Client_TargetInit",
                 ",\"majorCpuType\":24,\"minorCpuType\":0,"
                 "\"bigEndianTarget\":0,\"bigEndianHost\":0") &&
            call(p, "OSA_Client_OsaCmd_Execute", ",\"command\":\"load_orti demo_os.ort\"");
  // Warm-up: the first stops, until the event log's bounded history has filled and the
  // allocator has settled (a quarter of the session, at least 64 stops).
  uint64_t stop = 0;
  while (ok && (stop < 64 || g_calls < total / 4) && g_calls < total) {
    ok = stop_of_the_target(p, ++stop);
  }
  const long warm = resident_kib(p.pid);
  while (ok && g_calls < total) {
    ok = stop_of_the_target(p, ++stop);
  }
  const long end = resident_kib(p.pid);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  call(p, "OSA_Client_OsaCleanup", "");
  call(p, "OSA_Client_Exit", "");
  close(p.to);
  int status = 0;
  waitpid(p.pid, &status, 0);
  std::printf("soak: %llu calls in %llu stops, %.1f s; resident memory %ld KiB after the warm-up, "
              "%ld KiB at the end\n",
              static_cast<unsigned long long>(g_calls), static_cast<unsigned long long>(stop),
              seconds, warm, end);
  if (!ok) {
    std::fprintf(stderr, "soak: the plug-in stopped answering after %llu calls\n",
                 static_cast<unsigned long long>(g_calls));
    return 1;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "soak: the plug-in did not exit with 0\n");
    return 1;
  }
  if (warm < 0 || end < 0 || end > warm + kSlackKiB) {
    std::fprintf(stderr, "soak: resident memory grew from %ld KiB to %ld KiB\n", warm, end);
    return 1;
  }
  return 0;
}
