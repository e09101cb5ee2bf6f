// The proxy in-process between a GDB stand-in and a server stand-in, with the real plug-in
// and a small ORTI file whose formulas read bytes and words of the server's memory: threads
// from tasks, the registers of switched-out tasks, stepping refused, stop replies, the
// monitor command, and what happens when the plug-in, the server or the packets go wrong.
#include "formula_evaluator.h"
#include "proxy.h"
#include "rsp_link.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr uint64_t kRunning = 0x20000000;  // u8: the running task's index, 0xff for none
constexpr uint64_t kTasks = 0x20000010;    // per task 16 bytes: priority, state, context
constexpr uint64_t kContexts = 0x20000100; // per context 16 bytes: pc, sp, r7

const char kOrti[] = R"(VERSION {
    KOIL = "2.2";
    OSSEMANTICS = "ORTI", "2.2";
};
IMPLEMENTATION Test_ORTI {
    OS {
        ENUM "unsigned char" [ "NO_TASK" = 0xFF, "TaskA" = 0, "TaskB" = 1, "TaskC" = 2 ]
            RUNNINGTASK, "Running task";
    }, "OS";
    TASK {
        CTYPE "unsigned char" PRIORITY, "Priority";
        ENUM "unsigned char" [ "SUSPENDED" = 0, "READY" = 1, "RUNNING" = 3 ] STATE, "State";
        ENUM "unsigned char" [ "NO_CONTEXT" = 0, "CtxA" : CtxA = 1, "CtxB" : CtxB = 2,
                               "CtxC" : CtxC = 3 ] CONTEXT, "Context";
        ENUM "unsigned char" [ "Stack_A" : Stack_A = 0, "Stack_B" : Stack_B = 1 ] STACK, "Stack";
    }, "Tasks";
    STACK {
        CTYPE "unsigned int" SIZE, "Size";
        CTYPE "unsigned int" BASEADDRESS, "Base";
        STRING STACKDIRECTION, "Direction";
        CTYPE "unsigned int" FILLPATTERN, "Fill pattern";
    }, "Stacks";
    CONTEXT {
        CTYPE "unsigned int" _CPU_PC, "pc";
        CTYPE "unsigned int" _CPU_SP, "sp";
        CTYPE "unsigned int" _CPU_R7, "r7";
    }, "Contexts";
};
OS TestOs { RUNNINGTASK = "u8@20000000"; };
TASK TaskA { PRIORITY = "u8@20000010"; STATE = "u8@20000011"; CONTEXT = "u8@20000012";
             STACK = "u8@20000013"; };
TASK TaskB { PRIORITY = "u8@20000020"; STATE = "u8@20000021"; CONTEXT = "u8@20000022";
             STACK = "u8@20000023"; };
TASK TaskC { PRIORITY = "u8@20000030"; STATE = "u8@20000031"; CONTEXT = "u8@20000032"; };
CONTEXT CtxA { _CPU_PC = "u32@20000100"; _CPU_SP = "u32@20000104"; _CPU_R7 = "u32@20000108"; };
CONTEXT CtxB { _CPU_PC = "u32@20000110"; _CPU_SP = "u32@20000114"; _CPU_R7 = "u32@20000118"; };
CONTEXT CtxC { _CPU_PC = "u32@20000120"; _CPU_SP = "u32@20000124"; _CPU_R7 = "u32@20000128"; };
STACK Stack_A { SIZE = "64"; BASEADDRESS = "0x20000400"; STACKDIRECTION = "DOWN";
                FILLPATTERN = "0xAAAAAAAA"; };
STACK Stack_B { SIZE = "32"; BASEADDRESS = "0x20000440"; STACKDIRECTION = "DOWN";
                FILLPATTERN = "0xAAAAAAAA"; };
)";

const char kTargetXml[] = "<?xml version=\"1.0\"?><target><architecture>arm</architecture>"
                          "<feature name=\"org.gnu.gdb.arm.m-profile\">"
                          "<reg name=\"r0\" bitsize=\"32\"/><reg name=\"r1\" bitsize=\"32\"/>"
                          "<reg name=\"r2\" bitsize=\"32\"/><reg name=\"r3\" bitsize=\"32\"/>"
                          "<reg name=\"r4\" bitsize=\"32\"/><reg name=\"r5\" bitsize=\"32\"/>"
                          "<reg name=\"r6\" bitsize=\"32\"/><reg name=\"r7\" bitsize=\"32\"/>"
                          "<reg name=\"r8\" bitsize=\"32\"/><reg name=\"r9\" bitsize=\"32\"/>"
                          "<reg name=\"r10\" bitsize=\"32\"/><reg name=\"r11\" bitsize=\"32\"/>"
                          "<reg name=\"r12\" bitsize=\"32\"/><reg name=\"sp\" bitsize=\"32\"/>"
                          "<reg name=\"lr\" bitsize=\"32\"/><reg name=\"pc\" bitsize=\"32\"/>"
                          "<reg name=\"xpsr\" bitsize=\"32\" regnum=\"25\"/></feature></target>";

// Formulas of the form "u8@HEX" and "u32@HEX" (little-endian), numbers, and the plug-in's
// assignments "(FORMULA)=DECIMAL" to memory; nothing else.
class MemoryFormulas : public rsp::FormulaEvaluator {
public:
  EvalOutcome evaluate(std::string_view expression, TargetMemory& memory) override {
    EvalOutcome out;
    const std::size_t assign = expression.find(")=");
    if (!expression.empty() && expression[0] == '(' && assign != std::string_view::npos) {
      const std::string_view target = expression.substr(1, assign - 1);
      const auto value = static_cast<uint32_t>(
          std::strtol(std::string(expression.substr(assign + 2)).c_str(), nullptr, 10));
      uint64_t address = 0;
      if (!rsp::parse_hex(target.substr(target.find('@') + 1), address)) {
        out.error = "bad assignment";
        return out;
      }
      const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                static_cast<uint8_t>(value >> 16),
                                static_cast<uint8_t>(value >> 24)};
      out.ok = memory.write(address, bytes, target.substr(0, 2) == "u8" ? 1 : 4, out.error);
      out.value = value;
      return out;
    }
    const std::string text(expression);
    char* end = nullptr;
    const uint64_t number = std::strtoull(text.c_str(), &end, 0);
    if (!text.empty() && *end == '\0') {
      out.ok = true;
      out.value = static_cast<int64_t>(number);
      return out;
    }
    const std::size_t at = expression.find('@');
    const std::string_view width = expression.substr(0, at);
    uint64_t address = 0;
    if (at == std::string_view::npos || (width != "u8" && width != "u32") ||
        !rsp::parse_hex(expression.substr(at + 1), address)) {
      out.error = std::string(expression) + ": not a formula of this test";
      return out;
    }
    uint8_t bytes[4] = {};
    const std::size_t n = width == "u8" ? 1 : 4;
    if (!memory.read(address, n, bytes, out.error)) {
      out.error = std::string(expression) + ": " + out.error;
      return out;
    }
    out.ok = true;
    out.value = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<int64_t>(bytes[3]) << 24;
    return out;
  }
  TextOutcome print(std::string_view expression, TargetMemory&) override {
    TextOutcome out;
    out.error = std::string(expression) + ": no texts in this test";
    return out;
  }
};

std::string hex32(uint32_t v) {
  char text[9];
  std::snprintf(text, sizeof text, "%02x%02x%02x%02x", v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff,
                v >> 24);
  return text;
}

// A GDB server with one core (thread 1), 17 registers and memory from 0x20000000 to
// 0x20000fff. What it was asked is kept for the checks.
class FakeServer {
public:
  explicit FakeServer(const std::string& path) {
    rsp::Endpoint e;
    std::string error;
    rsp::parse_endpoint(path, e, error);
    std::string bound;
    listener_ = rsp::listen_on(e, bound, error);
    for (uint64_t a = 0x20000000; a < 0x20001000; ++a) {
      memory[a] = 0;
    }
    for (uint32_t i = 0; i < 17; ++i) {
      registers[i] = 0x1000 + i;
    }
    thread_ = std::thread([this] { run(); });
  }
  ~FakeServer() {
    stop_ = true;
    thread_.join();
  }

  std::vector<std::string> received() {
    std::lock_guard<std::mutex> lock(mutex);
    return received_;
  }
  std::size_t count(const std::string& prefix) {
    std::size_t n = 0;
    for (const std::string& p : received()) {
      n += p.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return n;
  }
  void set8(uint64_t address, uint8_t v) {
    std::lock_guard<std::mutex> lock(mutex);
    memory[address] = v;
  }
  void set32(uint64_t address, uint32_t v) {
    std::lock_guard<std::mutex> lock(mutex);
    for (int i = 0; i < 4; ++i) {
      memory[address + i] = static_cast<uint8_t>(v >> (8 * i));
    }
  }

  std::mutex mutex;
  std::map<uint64_t, uint8_t> memory;
  std::array<uint32_t, 17> registers{};
  std::function<void()> on_resume; // runs before the stop reply
  std::atomic<bool> hang_up_on_resume{false};
  int cores = 1;
  std::string stop_thread = "01"; // the thread a resume stops
  std::string selected = "1";     // the server's Hg thread

private:
  std::string answer(const std::string& p) {
    std::lock_guard<std::mutex> lock(mutex);
    received_.push_back(p);
    if (p.rfind("qSupported", 0) == 0) {
      return "PacketSize=1000;qXfer:features:read+";
    }
    if (p.rfind("qXfer:features:read:target.xml:", 0) == 0) {
      return std::string("l") + kTargetXml;
    }
    if (p == "qHuge") {
      return std::string(2 << 20, 'a');
    }
    if (p == "qfThreadInfo") {
      return cores == 1 ? "m1" : "m1,2";
    }
    if (p == "qsThreadInfo") {
      return "l";
    }
    if (p.rfind("qThreadExtraInfo,", 0) == 0) {
      return rsp::hex_encode("CPU#0 [halted ]");
    }
    if (p.rfind("Hc", 0) == 0) {
      return "OK";
    }
    if (p == "?") {
      return "T05thread:01;";
    }
    if (p.rfind("Hg", 0) == 0) {
      selected = p.substr(2);
      return "OK";
    }
    if (p == "g") {
      // Each core has registers of its own: core 2's are core 1's plus 0x100.
      std::string g;
      for (uint32_t r : registers) {
        g += hex32(selected == "2" ? r + 0x100 : r);
      }
      return g;
    }
    if (p[0] == 'p') {
      uint64_t n = 0;
      rsp::parse_hex(p.substr(1), n);
      const uint32_t r = registers[n == 25 ? 16 : n];
      return hex32(selected == "2" ? r + 0x100 : r);
    }
    if (p[0] == 'M') {
      uint64_t address = 0;
      const std::size_t comma = p.find(',');
      const std::size_t colon = p.find(':');
      rsp::parse_hex(p.substr(1, comma - 1), address);
      std::string bytes;
      rsp::hex_decode(p.substr(colon + 1), bytes);
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        memory[address + i] = static_cast<uint8_t>(bytes[i]);
      }
      return "OK";
    }
    if (p[0] == 'm') {
      uint64_t address = 0;
      uint64_t length = 0;
      const std::size_t comma = p.find(',');
      rsp::parse_hex(p.substr(1, comma - 1), address);
      rsp::parse_hex(p.substr(comma + 1), length);
      std::string bytes;
      for (uint64_t i = 0; i < length; ++i) {
        const auto it = memory.find(address + i);
        if (it == memory.end()) {
          return "E14";
        }
        bytes += static_cast<char>(it->second);
      }
      return rsp::hex_encode(bytes);
    }
    return "";
  }

  void run() {
    while (!stop_) {
      if (rsp::wait_readable({listener_.get()}, rsp::Clock::now() + 50ms) != 0) {
        continue;
      }
      std::string peer;
      rsp::Fd fd = rsp::accept_on(listener_.get(), peer);
      if (!fd.valid()) {
        continue;
      }
      rsp::RspLink link(std::move(fd), 1 << 16);
      rsp::Item item;
      while (!stop_ && link.open()) {
        if (!link.wait_item(item, rsp::Clock::now() + 50ms)) {
          continue;
        }
        if (item.kind == rsp::ItemKind::Interrupt) {
          link.send_payload("T02thread:01;");
          continue;
        }
        if (item.kind != rsp::ItemKind::Packet) {
          continue;
        }
        const std::string& p = item.payload;
        const bool resume = p.rfind("vCont;", 0) == 0 || p == "c" || p == "s";
        if (resume && hang_up_on_resume) {
          link.close();
          break;
        }
        std::string reply = answer(p);
        if (resume) {
          if (on_resume) {
            on_resume();
          }
          link.send_payload("O" + rsp::hex_encode("target says hi\n"));
          std::lock_guard<std::mutex> lock(mutex);
          reply = "T05thread:" + stop_thread + ";";
        } else if (p.rfind("vCont", 0) == 0) {
          reply = "vCont;c;C;s;S";
        }
        link.send_payload(reply);
      }
    }
  }

  rsp::Fd listener_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::vector<std::string> received_;
};

// GDB's side: one packet, and the reply that ends it, with the console lines before it.
class GdbClient {
public:
  explicit GdbClient(const std::string& path) {
    rsp::Endpoint e;
    std::string error;
    rsp::parse_endpoint(path, e, error);
    for (int i = 0; i < 200 && !link_; ++i) {
      rsp::Fd fd = rsp::connect_to(e, error);
      if (fd.valid()) {
        link_ = std::make_unique<rsp::RspLink>(std::move(fd), 1 << 20);
      } else {
        std::this_thread::sleep_for(20ms);
      }
    }
  }
  bool connected() const { return link_ != nullptr; }
  rsp::RspLink& link() { return *link_; }

  std::string ask(const std::string& payload) {
    console.clear();
    link_->send_payload(payload);
    return wait_reply();
  }
  std::string wait_reply() {
    rsp::Item item;
    while (link_->wait_item(item, rsp::Clock::now() + 10s)) {
      if (item.kind != rsp::ItemKind::Packet) {
        continue;
      }
      std::string text;
      if (item.payload.size() > 1 && item.payload[0] == 'O' && item.payload != "OK" &&
          rsp::hex_decode(item.payload.substr(1), text)) {
        console += text;
        continue;
      }
      return item.payload;
    }
    return "<no reply>";
  }
  std::string console;

private:
  std::unique_ptr<rsp::RspLink> link_;
};

class ProxySession : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/rsp_proxy_session.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    std::ofstream(dir_ + "/test.ort") << kOrti;
    // The proxy reads the processor and byte order from the ELF header only.
    std::ofstream elf(dir_ + "/test.elf", std::ios::binary);
    const unsigned char header[20] = {0x7f, 'E', 'L', 'F', 1, 1, 1, 0, 0,  0,
                                      0,    0,   0,   0,   0, 0, 2, 0, 40, 0};
    elf.write(reinterpret_cast<const char*>(header), sizeof header);
    elf.close();
    server_ = std::make_unique<FakeServer>(dir_ + "/server.sock");
    // Task A READY with a context, B RUNNING, C SUSPENDED without one.
    const uint8_t tasks[3][3] = {{5, 1, 1}, {4, 3, 0}, {3, 0, 0}};
    for (int t = 0; t < 3; ++t) {
      for (int i = 0; i < 3; ++i) {
        server_->set8(kTasks + 16 * (t + 1) - 16 + i, tasks[t][i]);
      }
    }
    server_->set8(kRunning, 1);
    server_->set32(kContexts, 0x1184);
    server_->set32(kContexts + 4, 0x20000800);
    server_->set32(kContexts + 8, 0x200007f0);
  }
  void TearDown() override {
    gdb_.reset();
    if (proxy_thread_.joinable()) {
      proxy_thread_.join();
    }
    server_.reset();
    std::system(("rm -rf " + dir_).c_str());
  }

  // Starts the proxy for one GDB session and connects GDB.
  GdbClient& start(const std::string& plugin = OSA_PLUGIN_EXE, bool evaluator = true,
                   std::chrono::milliseconds plugin_timeout = 2000ms) {
    rsp::ProxyOptions options;
    options.elf = dir_ + "/test.elf";
    options.orti = dir_ + "/test.ort";
    options.plugin = plugin;
    options.once = true;
    options.plugin_timeout = plugin_timeout;
    options.remote_timeout = 3000ms;
    std::string error;
    rsp::parse_endpoint(dir_ + "/server.sock", options.remote, error);
    rsp::parse_endpoint(dir_ + "/proxy.sock", options.listen, error);
    std::unique_ptr<rsp::FormulaEvaluator> formulas;
    if (evaluator) {
      formulas = std::make_unique<MemoryFormulas>();
    }
    proxy_thread_ = std::thread([options, f = std::move(formulas)]() mutable {
      rsp::Proxy proxy(options, std::move(f), "test.elf has no debug information");
      proxy.run();
    });
    gdb_ = std::make_unique<GdbClient>(dir_ + "/proxy.sock");
    EXPECT_TRUE(gdb_->connected());
    return *gdb_;
  }

  std::string dir_;
  std::unique_ptr<FakeServer> server_;
  std::unique_ptr<GdbClient> gdb_;
  std::thread proxy_thread_;
};

std::string threads_xml(GdbClient& gdb) {
  std::string xml;
  for (;;) {
    const std::string reply = gdb.ask("qXfer:threads:read::" + rsp::hex_number(xml.size()) + ",40");
    std::string data;
    if (reply.empty() || !rsp::unescape_binary(reply.substr(1), data)) {
      return "<bad reply " + reply + ">";
    }
    xml += data;
    if (reply[0] == 'l') {
      return xml;
    }
  }
}

TEST_F(ProxySession, TasksAreThreadsAndTheRunningOneStandsForTheCore) {
  GdbClient& gdb = start();
  const std::string supported = gdb.ask("qSupported:multiprocess+;swbreak+");
  EXPECT_NE(supported.find("qXfer:threads:read+"), std::string::npos) << supported;
  EXPECT_NE(supported.find("PacketSize=1000"), std::string::npos) << supported;
  // The server is not offered multiprocess ids.
  EXPECT_EQ(server_->received().back(), "qSupported:swbreak+");
  EXPECT_EQ(gdb.ask("?"), "T05thread:2;");
  EXPECT_EQ(gdb.ask("qfThreadInfo"), "m1,2,3");
  EXPECT_EQ(gdb.ask("qsThreadInfo"), "l");
  EXPECT_EQ(gdb.ask("qC"), "QC2");
  const std::string xml = threads_xml(gdb);
  EXPECT_NE(xml.find("<thread id=\"1\" name=\"TaskA\">READY, priority 5</thread>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<thread id=\"2\" core=\"0\" name=\"TaskB\">RUNNING, priority 4</thread>"),
            std::string::npos)
      << xml;
  std::string extra;
  rsp::hex_decode(gdb.ask("qThreadExtraInfo,3"), extra);
  EXPECT_EQ(extra, "SUSPENDED, priority 3");
  EXPECT_EQ(gdb.ask("T3"), "OK");
  EXPECT_EQ(gdb.ask("T9"), "E01");
  // One refresh reads the few blocks the formulas touch, not one packet per formula.
  EXPECT_LE(server_->count("m"), 3u);
}

TEST_F(ProxySession, RegistersOfASwitchedOutTaskComeFromItsContext) {
  GdbClient& gdb = start();
  gdb.ask("?");
  EXPECT_EQ(gdb.ask("Hg1"), "OK");
  const std::string g = gdb.ask("g");
  ASSERT_EQ(g.size(), 17u * 8) << g;
  EXPECT_EQ(g.substr(7 * 8, 8), hex32(0x200007f0));  // r7
  EXPECT_EQ(g.substr(13 * 8, 8), hex32(0x20000800)); // sp
  EXPECT_EQ(g.substr(15 * 8, 8), hex32(0x1184));     // pc
  EXPECT_EQ(g.substr(0, 8), "xxxxxxxx");             // r0 is not saved
  EXPECT_EQ(gdb.ask("pf"), hex32(0x1184));
  // The running task's registers are the core's, asked of the server on its thread.
  EXPECT_EQ(gdb.ask("Hg2"), "OK");
  EXPECT_EQ(gdb.ask("g").substr(15 * 8, 8), hex32(0x100f));
  EXPECT_GE(server_->count("Hg1"), 1u);
  EXPECT_EQ(server_->count("Hg2"), 0u);
  // A task without a context has no register at all.
  EXPECT_EQ(gdb.ask("Hg3"), "OK");
  EXPECT_EQ(gdb.ask("g"), std::string(17 * 8, 'x'));
  // Writing a saved register writes the task's context in memory.
  EXPECT_EQ(gdb.ask("Hg1"), "OK");
  EXPECT_EQ(gdb.ask("Pf=" + hex32(0x2000)), "OK");
  std::lock_guard<std::mutex> lock(server_->mutex);
  EXPECT_EQ(server_->memory[kContexts + 1], 0x20);
}

TEST_F(ProxySession, StepsOfSwitchedOutTasksAreRefusedAndResumesMapToTheCore) {
  GdbClient& gdb = start();
  gdb.ask("?");
  EXPECT_EQ(gdb.ask("vCont;s:1;c"), "E01");
  EXPECT_NE(gdb.console.find("TaskA (thread 1) is not running"), std::string::npos) << gdb.console;
  EXPECT_EQ(server_->count("vCont;s"), 0u);
  // Task C runs at the next stop.
  server_->on_resume = [this] {
    std::lock_guard<std::mutex> lock(server_->mutex);
    server_->memory[kRunning] = 2;
    server_->memory[kTasks + 17] = 1;
    server_->memory[kTasks + 33] = 3;
  };
  // GDB takes the stop of a step for the stepped thread's, whatever runs now.
  EXPECT_EQ(gdb.ask("vCont;s:2;c"), "T05thread:2;");
  EXPECT_NE(gdb.console.find("target says hi"), std::string::npos);
  EXPECT_EQ(server_->count("vCont;s:1;c"), 1u);
  // Resuming a switched-out task resumes the whole target; then the task that runs stands
  // for the core.
  EXPECT_EQ(gdb.ask("vCont;c:1"), "T05thread:3;");
  EXPECT_EQ(server_->count("vCont;c"), 1u);
  EXPECT_EQ(gdb.ask("qfThreadInfo"), "m1,2,3");
  std::string extra;
  rsp::hex_decode(gdb.ask("qThreadExtraInfo,2"), extra);
  EXPECT_EQ(extra, "READY, priority 4");
}

TEST_F(ProxySession, EachCoreOfTheServerIsAThreadOrItsRunningTask) {
  server_->cores = 2;
  GdbClient& gdb = start();
  // The ORTI file knows one core: its running task stands for core 0, core 1 for itself.
  EXPECT_EQ(gdb.ask("?"), "T05thread:2;");
  EXPECT_EQ(gdb.ask("qfThreadInfo"), "m1,2,3,10001");
  const std::string xml = threads_xml(gdb);
  EXPECT_NE(xml.find("<thread id=\"10001\" core=\"1\">CPU#0 [halted ], no task running"),
            std::string::npos)
      << xml;
  // Its packets go to the server's thread of that core.
  EXPECT_EQ(gdb.ask("Hg10001"), "OK");
  EXPECT_EQ(server_->received().back(), "Hg2");
  EXPECT_EQ(gdb.ask("g").substr(15 * 8, 8), hex32(0x110f));
  EXPECT_EQ(gdb.ask("Hg2"), "OK");
  EXPECT_EQ(server_->received().back(), "Hg1");
  EXPECT_EQ(gdb.ask("g").substr(15 * 8, 8), hex32(0x100f));
  {
    std::lock_guard<std::mutex> lock(server_->mutex);
    server_->stop_thread = "02";
  }
  EXPECT_EQ(gdb.ask("vCont;s:10001"), "T05thread:10001;");
  EXPECT_EQ(server_->count("vCont;s:2"), 1u);
}

TEST_F(ProxySession, AnOrtiFileWithARunningTaskPerCoreGivesEachCoreItsTask) {
  std::string text = kOrti;
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"\"2.2\"", "\"2.3\""},
           {"RUNNINGTASK, \"Running task\"", "RUNNINGTASK[], \"Running task\""},
           {"RUNNINGTASK = \"u8@20000000\";",
            "RUNNINGTASK[0] = \"u8@20000000\"; RUNNINGTASK[1] = \"u8@20000001\"; "
            "RUNNINGTASK[2] = \"u8@20000002\";"}}) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
      text.replace(at, from.size(), to);
      at += to.size();
    }
  }
  std::ofstream(dir_ + "/test.ort") << text;
  server_->cores = 2;
  server_->set8(kRunning + 1, 0); // TaskA runs on core 1, TaskB on core 0
  server_->set8(kTasks + 1, 3);
  // TaskC claims a third core, which the target lacks.
  server_->set8(kRunning + 2, 2);
  server_->set8(kTasks + 32 + 1, 3);
  GdbClient& gdb = start();
  EXPECT_EQ(gdb.ask("?"), "T05thread:2;");
  // No core stands for itself: each has its running task.
  EXPECT_EQ(gdb.ask("qfThreadInfo"), "m1,2,3");
  const std::string xml = threads_xml(gdb);
  EXPECT_NE(xml.find("<thread id=\"1\" core=\"1\" name=\"TaskA\">"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<thread id=\"2\" core=\"0\" name=\"TaskB\">"), std::string::npos) << xml;
  // TaskA's registers are core 1's, asked of the server on its thread.
  EXPECT_EQ(gdb.ask("Hg1"), "OK");
  EXPECT_EQ(server_->received().back(), "Hg2");
  EXPECT_EQ(gdb.ask("g").substr(15 * 8, 8), hex32(0x110f));
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti regs TaskA")), "OK");
  EXPECT_NE(gdb.console.find("pc        0x0000110f"), std::string::npos) << gdb.console;
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti regs TaskB")), "OK");
  EXPECT_NE(gdb.console.find("pc        0x0000100f"), std::string::npos) << gdb.console;
  // No core's registers are TaskC's.
  EXPECT_EQ(gdb.ask("Hg3"), "OK");
  EXPECT_EQ(gdb.ask("g"), std::string(17 * 8, 'x'));
  // The OS shows each core's element in a row of its own.
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti show OS")), "OK");
  EXPECT_NE(gdb.console.find("\n0     1  TestOs  TaskB"), std::string::npos) << gdb.console;
  EXPECT_NE(gdb.console.find("\n1     1  TestOs  TaskA"), std::string::npos) << gdb.console;
  // A stop of core 1 names TaskA.
  {
    std::lock_guard<std::mutex> lock(server_->mutex);
    server_->stop_thread = "02";
  }
  EXPECT_EQ(gdb.ask("vCont;c"), "T05thread:1;");
}

TEST_F(ProxySession, MonitorOrtiShowsTheTasks) {
  GdbClient& gdb = start();
  gdb.ask("?");
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti tasks")), "OK");
  EXPECT_NE(gdb.console.find("*  2       TaskB  RUNNING    4         0"), std::string::npos)
      << gdb.console;
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti regs TaskA")), "OK");
  EXPECT_NE(gdb.console.find("pc        0x00001184"), std::string::npos) << gdb.console;
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti cmd version")), "OK");
  EXPECT_NE(gdb.console.find("ORTI OSA Module"), std::string::npos) << gdb.console;
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti nonsense")), "OK");
  EXPECT_NE(gdb.console.find("no command 'orti nonsense'"), std::string::npos);
  // Monitor commands that are not the proxy's go to the server.
  gdb.ask("qRcmd," + rsp::hex_encode("reset"));
  EXPECT_EQ(server_->count("qRcmd,"), 1u);
}

// The words of a stack in a console table's row, cut at blanks.
std::vector<std::string> row_of(const std::string& console, const std::string& first) {
  std::vector<std::string> words;
  std::size_t at = console.find("\n" + first + " ");
  if (at == std::string::npos) {
    return words;
  }
  std::istringstream line(console.substr(at + 1, console.find('\n', at + 1) - at - 1));
  for (std::string word; line >> word;) {
    words.push_back(word);
  }
  return words;
}

TEST_F(ProxySession, MonitorOrtiStacksMeasuresTheStacksInTheServersMemory) {
  // Both grow down from the end of their memory, filled with 0xAA before use: Stack_A's top
  // 24 bytes were used; Stack_B's far end is overwritten, so it overflowed.
  for (uint64_t a = 0x20000400; a < 0x20000460; ++a) {
    server_->set8(a, 0xAA);
  }
  for (uint64_t a = 0x20000428; a < 0x20000440; ++a) {
    server_->set8(a, 0x11);
  }
  server_->set8(0x20000441, 0);
  server_->set8(kTasks + 16 + 3, 1); // TaskB runs on Stack_B
  GdbClient& gdb = start();
  gdb.ask("?");
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti stacks")), "OK");
  using Row = std::vector<std::string>;
  EXPECT_EQ(row_of(gdb.console, "Stack_A"),
            (Row{"Stack_A", "TaskA", "64", "24", "40", "38%", "[########............]"}))
      << gdb.console;
  const Row b = row_of(gdb.console, "Stack_B");
  ASSERT_GE(b.size(), 7u) << gdb.console;
  EXPECT_EQ(Row(b.begin(), b.begin() + 7),
            (Row{"Stack_B", "TaskB", "32", "32", "0", "100%", "[####################]!"}));
  // One stack by name; a name no stack has is the plug-in's to explain.
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti stacks Stack_B")), "OK");
  EXPECT_TRUE(row_of(gdb.console, "Stack_A").empty()) << gdb.console;
  EXPECT_FALSE(row_of(gdb.console, "Stack_B").empty()) << gdb.console;
  EXPECT_EQ(gdb.ask("qRcmd," + rsp::hex_encode("orti stacks Stack_X")), "OK");
  EXPECT_NE(gdb.console.find("could not measure the stacks"), std::string::npos) << gdb.console;
}

TEST_F(ProxySession, BadPacketsGetAnswersAndTheSessionGoesOn) {
  GdbClient& gdb = start();
  gdb.ask("qSupported");
  // A bad checksum is refused with '-' (GDB sends it again); the link stays usable.
  const std::string bad = "$qfThreadInfo#00";
  ASSERT_EQ(write(gdb.link().fd(), bad.data(), bad.size()), static_cast<ssize_t>(bad.size()));
  char answer = 0;
  ASSERT_EQ(rsp::wait_readable({gdb.link().fd()}, rsp::Clock::now() + 5s), 0);
  ASSERT_EQ(read(gdb.link().fd(), &answer, 1), 1);
  EXPECT_EQ(answer, '-');
  // Longer than the negotiated packet size.
  EXPECT_EQ(gdb.ask("X20000000,1:" + std::string(0x1100, 'a')), "E01");
  // Unknown packets go to the server, whose empty reply says it does not know them.
  EXPECT_EQ(gdb.ask("qSomethingNew"), "");
  EXPECT_EQ(server_->count("qSomethingNew"), 1u);
  // A reply of the server that is too long to take is an error for GDB.
  EXPECT_EQ(gdb.ask("qHuge"), "E01");
  // A Ctrl-C while the target is stopped is not passed on.
  ASSERT_EQ(write(gdb.link().fd(), "\x03", 1), 1);
  EXPECT_EQ(gdb.ask("qfThreadInfo"), "m1,2,3");
}

TEST_F(ProxySession, APluginThatCannotAnswerLeavesThePlainCore) {
  const std::string script = dir_ + "/hangs.sh";
  std::ofstream(script) << "#!/bin/sh\nexec sleep 30\n";
  ::chmod(script.c_str(), 0755);
  GdbClient& gdb = start(script, true, 300ms);
  EXPECT_EQ(gdb.ask("?"), "T05thread:1;");
  EXPECT_EQ(gdb.ask("qfThreadInfo"), "m1");
  EXPECT_EQ(gdb.ask("Hg1"), "OK");
  EXPECT_EQ(gdb.ask("g").substr(0, 8), hex32(0x1000));
  std::string extra;
  rsp::hex_decode(gdb.ask("qThreadExtraInfo,1"), extra);
  EXPECT_EQ(extra, "CPU#0 [halted ]");
  // Why comes to GDB's console at the next stop.
  EXPECT_EQ(gdb.ask("vCont;c"), "T05thread:1;");
  EXPECT_NE(gdb.console.find("did not answer in time"), std::string::npos) << gdb.console;
}

// A file is loaded again with extended syntax only where the plug-in says that the strict load
// failed on a construct of an OS generator, and the proxy says so in its line; every other
// failure is told as the plug-in gave it, and GDB sees the plain core.
TEST_F(ProxySession, OnlyAnOsGeneratorsConstructIsLoadedAgainWithExtendedSyntax) {
  struct Case {
    const char* what;
    const char* strict; // a piece of the test's file
    const char* other;  // what it becomes
    bool loads;
    bool loaded_again;
    const char* console; // what GDB's console shows at the next stop
  };
  const Case cases[] = {
      {"a trailing comma in an ENUM", "\"TaskC\" = 2 ]", "\"TaskC\" = 2, ]", true, true,
       "uses constructs of an OS generator outside the ORTI grammar; loading it with extended "
       "syntax"},
      // Extended syntax would take a bare C type too, but the plug-in gives no hint for it.
      {"a C type without CTYPE", "CTYPE \"unsigned char\" PRIORITY", "\"unsigned char\" PRIORITY",
       false, false, "plug-in: 1 errors encountered"},
      {"text that is no ORTI at all", "VERSION {", "VERSION [", false, false,
       "the plug-in could not load"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string text = kOrti;
    text.replace(text.find(c.strict), std::strlen(c.strict), c.other);
    std::ofstream(dir_ + "/test.ort") << text;
    GdbClient& gdb = start();
    gdb.ask("?");
    EXPECT_EQ(gdb.ask("qfThreadInfo"), c.loads ? "m1,2,3" : "m1");
    gdb.ask("vCont;c");
    EXPECT_NE(gdb.console.find(c.console), std::string::npos) << gdb.console;
    EXPECT_EQ(gdb.console.find("extended syntax") != std::string::npos, c.loaded_again)
        << gdb.console;
    gdb_.reset();
    proxy_thread_.join();
  }
}

TEST_F(ProxySession, WithoutDebugInformationTheCoresAreShownAndTheReasonTold) {
  GdbClient& gdb = start(OSA_PLUGIN_EXE, false);
  EXPECT_EQ(gdb.ask("?"), "T05thread:1;");
  EXPECT_EQ(gdb.ask("qfThreadInfo"), "m1");
  EXPECT_EQ(gdb.ask("vCont;c"), "T05thread:1;");
  EXPECT_NE(gdb.console.find("test.elf has no debug information"), std::string::npos)
      << gdb.console;
}

TEST_F(ProxySession, AServerThatGoesAwayEndsTheSessionWithAMessage) {
  GdbClient& gdb = start();
  gdb.ask("?");
  server_->hang_up_on_resume = true;
  gdb.link().send_payload("vCont;c");
  EXPECT_EQ(gdb.wait_reply(), "<no reply>");
  EXPECT_NE(gdb.console.find("closed the connection"), std::string::npos) << gdb.console;
  EXPECT_FALSE(gdb.link().open());
}

} // namespace
