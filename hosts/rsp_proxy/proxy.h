// orti-proxy: between GDB and the real GDB server. Every packet goes through unchanged except
// those that concern threads, which are answered from the plug-in's tasks, and the proxy's
// own monitor commands.
#pragma once

#include "cpu_family.h"
#include "descriptions.h"
#include "formula_evaluator.h"
#include "memory_cache.h"
#include "net.h"
#include "osa_session.h"
#include "rsp_link.h"
#include "service_answers.h"
#include "target_description.h"
#include "thread_map.h"

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rsp {

struct ProxyOptions {
  std::string elf;
  std::string orti;
  std::string plugin; // the plug-in program
  Endpoint remote;
  Endpoint listen;
  std::chrono::milliseconds plugin_timeout{2000};
  std::chrono::milliseconds remote_timeout{10000};
  bool once = false;    // end after the first GDB session
  bool verbose = false; // also show the plug-in's log copies
  int cpu_type = -1;    // the plug-in's CPU type; -1: from the ELF
  std::size_t max_tasks = 4096;
  // Written to once the listening socket is open (its address), for scripts that start the
  // proxy on port 0.
  std::string ready_file;
};

// What the last thread refresh cost.
struct RefreshFigures {
  std::size_t tasks = 0;
  std::chrono::nanoseconds total{0};
  std::chrono::nanoseconds plugin{0};
  std::chrono::nanoseconds server{0};
  uint64_t server_packets = 0;
  uint64_t plugin_calls = 0;
  uint64_t plugin_requests = 0;
};

class Proxy : private MemoryPort, private LiveRegisters {
public:
  Proxy(ProxyOptions options, std::unique_ptr<FormulaEvaluator> evaluator,
        std::string evaluator_problem);
  ~Proxy() override;

  // Serves GDB until the stop signal (or, with once, until the first session ends). The
  // exit status: 0, or 1 when the proxy could not start.
  int run();

private:
  // -- the server ---------------------------------------------------------------------
  bool connect_server(std::string& error);
  bool handshake(std::string& error);
  // A "PacketSize=" feature of the server's qSupported reply is taken; false for others.
  bool take_packet_size(std::string_view feature);
  bool server_request(std::string_view payload, std::string& reply);
  bool fetch_annex(const std::string& object, const std::string& annex, std::string& text);
  void learn_cores();
  // The server's qThreadExtraInfo text of a core (true and nothing for a core without id).
  bool server_extra_info(const CoreInfo& core, std::string& text);
  bool select_server_thread(int core);
  bool read_memory(uint64_t address, std::size_t length, std::string& bytes,
                   std::string& error) override;
  bool write_memory(uint64_t address, std::string_view bytes, std::string& error) override;
  bool read_register(int core, int reg, uint64_t& value) override;
  bool write_register(int core, int reg, uint64_t value) override;
  const RegisterInfo* live_register(int reg) const;
  // The plug-in's id of a register of the server's layout; -1 where it has none.
  int osa_register_id(const RegisterInfo* reg) const;

  // -- the plug-in --------------------------------------------------------------------
  bool start_plugin();
  bool load_orti();
  void learn_descriptions();
  void plugin_message(int type, const std::string& text);
  void plugin_lost_note();
  void drain_plugin_stderr();

  // -- GDB ----------------------------------------------------------------------------
  void serve(RspLink& gdb);
  void handle_packet(const std::string& payload);
  void forward(const std::string& payload, bool console);
  void forward_only(const std::string& payload);
  bool await_reply(Item& answer, bool console);
  void handle_supported(const std::string& payload);
  void handle_set_thread(char which, std::string_view id);
  void handle_resume(const std::string& payload);
  void handle_server_item(const Item& item);
  void on_stop(const std::string& reply, bool console);
  void reply(const std::string& payload);
  void console(const std::string& text);
  void flush_notes();
  void note(const std::string& text);
  void refuse_step(const ThreadEntry& thread);

  // -- threads ------------------------------------------------------------------------
  void refresh_threads();
  void refresh_if_stale();
  const ThreadEntry* selected(const std::optional<ThreadId>& id) const;
  // The core of the thread GDB selected for registers; for a task that is not running, the
  // core that stopped.
  int selected_core() const;
  const ThreadEntry* resolve(const ThreadId& id) const;
  // The thread a register packet of GDB is for, when the proxy answers it (a task that is not
  // running); null when it was answered already: an error, or the packet passed to the server
  // on the core's thread, since a thread that runs on a core is that core.
  const ThreadEntry* task_for_registers(const std::string& packet, bool well_formed, bool writes);
  void read_registers();
  void read_one_register(std::string_view number);
  void write_registers(std::string_view data);
  void write_one_register(std::string_view assignment);
  std::optional<uint64_t> task_register(const ThreadEntry& thread, const RegisterInfo& reg);
  void target_changed();

  // -- monitor orti ---------------------------------------------------------------------
  void monitor(const std::string& command);
  std::vector<std::string> monitor_lines(const std::string& command);
  void monitor_tasks(std::vector<std::string>& out);
  void monitor_show(const std::string& kind, std::vector<std::string>& out);
  void monitor_regs(const std::string& task, std::vector<std::string>& out);
  void monitor_cmd(const std::string& text, std::vector<std::string>& out);
  void monitor_status(std::vector<std::string>& out);
  void monitor_stacks(const std::string& name, std::vector<std::string>& out);
  std::vector<int> kinds_for_show();
  std::string kind_name(int kind) const;

  ProxyOptions options_;
  std::unique_ptr<FormulaEvaluator> evaluator_;
  std::string evaluator_problem_;
  ElfFacts elf_;
  const CpuFamily* family_ = nullptr;

  std::unique_ptr<RspLink> server_;
  std::size_t server_packet_size_ = 0x400;
  bool server_threads_xfer_ = false;
  bool server_extra_info_ = true;
  bool server_no_ack_ = false;
  bool server_p_packet_ = true;
  std::vector<CoreInfo> cores_;
  RegisterLayout layout_;
  std::size_t g_bytes_ = 0;
  std::optional<uint64_t> server_hg_;
  std::chrono::nanoseconds server_time_{0};

  MemoryCache memory_;
  ProxyServices services_;
  OsaSession osa_;
  bool orti_loaded_ = false;
  int plugin_starts_ = 0;
  bool plugin_lost_told_ = false;
  std::string load_problem_;
  std::vector<std::string>* capture_ = nullptr; // monitor output while a command runs
  std::vector<std::string> load_messages_;
  bool capture_load_ = false;

  // What the plug-in's describe command gave (nothing where it has none).
  PluginDescriptions descriptions_;
  bool have_descriptions_ = false;

  ThreadMap map_;
  bool task_session_ = false;
  std::map<int, uint64_t> stepped_; // core -> the thread GDB stepped there last
  bool have_map_ = false;
  bool stale_ = true;
  std::map<int64_t, std::map<long, std::optional<uint64_t>>> task_registers_;
  RefreshFigures last_refresh_;

  RspLink* gdb_ = nullptr;
  bool running_ = false;
  int stop_core_ = 0;
  std::optional<ThreadId> gdb_hg_;
  std::optional<ThreadId> gdb_hc_;
  std::deque<std::string> notes_;
  std::deque<std::string> deferred_;
  std::size_t notes_dropped_ = 0;
};

} // namespace rsp
