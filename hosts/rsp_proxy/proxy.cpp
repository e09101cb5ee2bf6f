#include "proxy.h"

#include "register_codec.h"
#include "text_table.h"

#include "orti/orti_load.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace rsp {

namespace {

// Blocks of the memory cache: a task control block array and a saved frame each fit in a few.
constexpr std::size_t kMemoryBlock = 256;
// What a miss fetches at once: a table of a hundred task control blocks in a few packets.
constexpr std::size_t kReadAhead = 1024;
// The largest reply the proxy takes from a server; a description or memory dump is far below.
constexpr std::size_t kMaxServerPacket = 1 << 20;
// The packet size the proxy offers GDB when the server names none (GDB's own default).
constexpr std::size_t kDefaultPacketSize = 0x4000;
// A plug-in that ends is started again at a later stop, but not without end.
constexpr int kMaxPluginStarts = 3;
// Notes waiting for GDB's console; older ones beyond this are counted, not kept.
constexpr std::size_t kMaxNotes = 64;
// Console text per 'O' packet.
constexpr std::size_t kConsoleChunk = 400;

std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    out.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) {
      return out;
    }
    start = end + 1;
  }
}

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool is_console_output(std::string_view payload) {
  if (payload.size() < 3 || payload[0] != 'O' || payload == "OK") {
    return false;
  }
  std::string ignored;
  return hex_decode(payload.substr(1), ignored);
}

bool is_stop_reply(std::string_view payload) {
  return !payload.empty() && (payload[0] == 'T' || payload[0] == 'S' || payload[0] == 'W' ||
                              payload[0] == 'X' || payload[0] == 'N' || payload[0] == 'w');
}

bool is_error_reply(std::string_view reply) {
  return reply.size() == 3 && reply[0] == 'E';
}

void log_line(const std::string& text) {
  std::cerr << "orti-proxy: " << text << "\n" << std::flush;
}

std::string trimmed(const std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && (text[end - 1] == '\n' || text[end - 1] == '\r' || text[end - 1] == ' ')) {
    --end;
  }
  return text.substr(0, end);
}

ElfFacts facts_of(const std::string& elf) {
  ElfFacts facts;
  std::string ignored;
  read_elf_facts(elf, facts, ignored);
  return facts;
}

} // namespace

Proxy::Proxy(ProxyOptions options, std::unique_ptr<FormulaEvaluator> evaluator,
             std::string evaluator_problem)
    : options_(std::move(options)), evaluator_(std::move(evaluator)),
      evaluator_problem_(std::move(evaluator_problem)), elf_(facts_of(options_.elf)),
      memory_(*this, kMemoryBlock, kMemoryBlock * 4),
      services_(evaluator_.get(), memory_, *this, elf_.address_bytes), osa_(services_) {
  services_.on_message = [this](int type, const std::string& text) { plugin_message(type, text); };
  services_.on_problem = [this](const std::string& text) { note(text); };
  for (const std::string& path : {options_.orti, options_.elf}) {
    const std::size_t slash = path.rfind('/');
    services_.search_dirs.push_back(slash == std::string::npos ? "." : path.substr(0, slash));
  }
  services_.search_dirs.push_back(".");
}

Proxy::~Proxy() {
  osa_.close();
}

// -- start and the listening loop ---------------------------------------------------------

int Proxy::run() {
  install_stop_signals();
  std::string error;
  ElfFacts facts;
  if (!read_elf_facts(options_.elf, facts, error)) {
    if (evaluator_) {
      log_line(error);
    }
  } else if ((family_ = cpu_family_for_machine(facts.machine)) == nullptr &&
             options_.cpu_type < 0) {
    log_line("the program's processor (ELF machine " + std::to_string(facts.machine) +
             ") is not one the proxy knows; registers of switched-out tasks are unavailable");
  }
  if (!evaluator_) {
    note(evaluator_problem_ + "; no formula can be evaluated, so GDB sees the plain cores");
  }
  if (!connect_server(error)) {
    log_line("cannot use the GDB server at " + describe(options_.remote) + ": " + error);
    return 1;
  }
  start_plugin();
  std::string bound;
  Fd listener = listen_on(options_.listen, bound, error);
  if (!listener.valid()) {
    log_line("cannot listen on " + describe(options_.listen) + ": " + error);
    return 1;
  }
  log_line("listening on " + bound + " for GDB; the GDB server is " + describe(options_.remote));
  if (!options_.ready_file.empty()) {
    std::ofstream(options_.ready_file) << bound << "\n";
  }
  while (!stop_requested()) {
    std::vector<int> fds = {listener.get()};
    if (server_ && server_->open()) {
      fds.push_back(server_->fd());
    }
    const int which = wait_readable(fds, never());
    if (which < 0) {
      break;
    }
    if (which == 1) {
      // Nothing is asked of the server without GDB: this is its end or noise.
      if (!server_->pump()) {
        log_line("the GDB server closed the connection");
        server_.reset();
      }
      Item ignored;
      while (server_ && server_->next(ignored)) {
      }
      continue;
    }
    std::string peer;
    Fd accepted = accept_on(listener.get(), peer);
    if (!accepted.valid()) {
      continue;
    }
    if (!server_ || !server_->open()) {
      if (!connect_server(error)) {
        log_line("GDB connected from " + peer + ", but the GDB server at " +
                 describe(options_.remote) + " cannot be reached: " + error);
        continue;
      }
    }
    log_line("GDB connected from " + peer);
    RspLink gdb(std::move(accepted), server_packet_size_ + 64);
    serve(gdb);
    log_line("GDB disconnected");
    // A new GDB session starts from a fresh connection, negotiated anew.
    server_.reset();
    if (options_.once) {
      break;
    }
  }
  osa_.close();
  return 0;
}

// -- the server ---------------------------------------------------------------------------

bool Proxy::connect_server(std::string& error) {
  Fd fd = connect_to(options_.remote, error);
  if (!fd.valid()) {
    return false;
  }
  server_ = std::make_unique<RspLink>(std::move(fd), kMaxServerPacket);
  if (!handshake(error)) {
    server_.reset();
    return false;
  }
  return true;
}

bool Proxy::handshake(std::string& error) {
  server_hg_.reset();
  std::string reply;
  if (!server_request("qSupported", reply)) {
    error = "it does not answer";
    return false;
  }
  bool features = false;
  bool no_ack = false;
  server_threads_xfer_ = false;
  for (const std::string& f : split(reply, ';')) {
    take_packet_size(f);
    features = features || f == "qXfer:features:read+";
    no_ack = no_ack || f == "QStartNoAckMode+";
    server_threads_xfer_ = server_threads_xfer_ || f == "qXfer:threads:read+";
  }
  if (no_ack && server_request("QStartNoAckMode", reply) && reply == "OK") {
    server_->set_ack_mode(false);
  }
  // An 'm' reply is twice the bytes asked for plus its frame, and must fit the server's
  // buffer.
  memory_.set_max_request((server_packet_size_ - 16) / 2);
  memory_.set_read_ahead(kReadAhead);
  layout_ = RegisterLayout();
  std::string why;
  const AnnexReader fetch = [this](const std::string& annex, std::string& text) {
    return fetch_annex("features", annex, text);
  };
  if (!(features && read_target_description(fetch, layout_, why))) {
    if (features) {
      log_line("the server's target description is unusable (" + why + ")");
    }
    layout_ =
        family_ != nullptr && family_->osa_cpu_type == 24 ? legacy_arm_layout() : RegisterLayout();
  }
  learn_cores();
  g_bytes_ = 0;
  if (!layout_.registers.empty() && select_server_thread(0) && server_request("g", reply) &&
      !is_error_reply(reply)) {
    g_bytes_ = reply.size() / 2;
  }
  return true;
}

bool Proxy::take_packet_size(std::string_view feature) {
  if (!starts_with(feature, "PacketSize=")) {
    return false;
  }
  uint64_t size = 0;
  if (parse_hex(feature.substr(11), size) && size >= 64) {
    server_packet_size_ = static_cast<std::size_t>(std::min<uint64_t>(size, kMaxServerPacket));
  }
  return true;
}

bool Proxy::server_request(std::string_view payload, std::string& reply) {
  if (!server_ || !server_->open()) {
    return false;
  }
  const auto started = Clock::now();
  struct Clocked {
    Proxy& p;
    Clock::time_point t;
    ~Clocked() { p.server_time_ += Clock::now() - t; }
  } clocked{*this, started};
  if (!server_->send_payload(payload)) {
    return false;
  }
  const auto deadline = started + options_.remote_timeout;
  for (;;) {
    Item item;
    if (!server_->wait_item(item, deadline)) {
      if (server_->open() && !stop_requested()) {
        // A reply that comes later would be taken for the answer to the next request.
        note("the GDB server did not answer '" + std::string(payload.substr(0, 40)) + "' within " +
             std::to_string(options_.remote_timeout.count()) + " ms; the connection is closed");
        server_->close();
      }
      return false;
    }
    if (item.kind == ItemKind::BadChecksum) {
      if (server_->ack_mode()) {
        continue; // it sends the reply again
      }
      return false;
    }
    if (item.kind != ItemKind::Packet) {
      continue;
    }
    if (is_console_output(item.payload)) {
      continue;
    }
    std::string unescaped;
    if (!expand_run_lengths(item.payload, unescaped)) {
      return false;
    }
    reply = std::move(unescaped);
    return true;
  }
}

bool Proxy::fetch_annex(const std::string& object, const std::string& annex, std::string& text) {
  text.clear();
  const std::size_t chunk = std::max<std::size_t>(64, server_packet_size_ - 8);
  for (int guard = 0; guard < 4096; ++guard) {
    std::string reply;
    if (!server_request("qXfer:" + object + ":read:" + annex + ":" + hex_number(text.size()) + "," +
                            hex_number(chunk),
                        reply) ||
        reply.empty() || (reply[0] != 'm' && reply[0] != 'l')) {
      return false;
    }
    std::string data;
    if (!unescape_binary(std::string_view(reply).substr(1), data)) {
      return false;
    }
    text += data;
    if (reply[0] == 'l' || data.empty()) {
      return true;
    }
  }
  return false;
}

void Proxy::learn_cores() {
  cores_.clear();
  std::string reply;
  if (server_threads_xfer_) {
    std::string xml;
    if (fetch_annex("threads", "", xml)) {
      for (const XmlElement& e : xml_elements(xml)) {
        const std::string* id = e.attribute("id");
        if (e.tag != "thread" || id == nullptr) {
          continue;
        }
        const std::optional<ThreadId> t = parse_thread_id(*id);
        if (t && t->kind == ThreadId::Id) {
          CoreInfo core;
          core.server_id = t->id;
          if (const std::string* name = e.attribute("name")) {
            core.server_name = *name;
          }
          cores_.push_back(std::move(core));
        }
      }
    }
  }
  if (cores_.empty() && server_request("qfThreadInfo", reply)) {
    for (int guard = 0; guard < 1024 && !reply.empty() && reply[0] == 'm'; ++guard) {
      for (const std::string& id : split(std::string_view(reply).substr(1), ',')) {
        const std::optional<ThreadId> t = parse_thread_id(id);
        if (t && t->kind == ThreadId::Id) {
          CoreInfo core;
          core.server_id = t->id;
          cores_.push_back(std::move(core));
        }
      }
      if (!server_request("qsThreadInfo", reply)) {
        break;
      }
    }
  }
  if (cores_.empty()) {
    // A server without threads: the one core has no id of its own.
    cores_.push_back(CoreInfo{});
  }
  server_extra_info_ = true;
  for (CoreInfo& core : cores_) {
    std::string text;
    server_extra_info_ = server_extra_info_ && server_extra_info(core, text);
    if (server_extra_info_) {
      core.server_extra = text;
    }
  }
}

bool Proxy::server_extra_info(const CoreInfo& core, std::string& text) {
  std::string reply;
  if (!core.server_id) {
    return true;
  }
  return server_request("qThreadExtraInfo," + hex_number(*core.server_id), reply) &&
         !reply.empty() && !is_error_reply(reply) && hex_decode(reply, text);
}

bool Proxy::select_server_thread(int core) {
  // A core the target lacks has no registers: those of the selected thread would be another
  // core's.
  if (core < 0 || static_cast<std::size_t>(core) >= cores_.size()) {
    return false;
  }
  if (!cores_[static_cast<std::size_t>(core)].server_id) {
    return true;
  }
  const uint64_t id = *cores_[static_cast<std::size_t>(core)].server_id;
  if (server_hg_ && *server_hg_ == id) {
    return true;
  }
  std::string reply;
  if (!server_request("Hg" + hex_number(id), reply) || reply != "OK") {
    server_hg_.reset();
    return false;
  }
  server_hg_ = id;
  return true;
}

bool Proxy::read_memory(uint64_t address, std::size_t length, std::string& bytes,
                        std::string& error) {
  std::string reply;
  if (!server_request("m" + hex_number(address) + "," + hex_number(length), reply)) {
    error = "the GDB server is not answering";
    return false;
  }
  if (is_error_reply(reply) || reply.empty()) {
    error = "the GDB server answered " + (reply.empty() ? std::string("nothing") : reply);
    return false;
  }
  if (!hex_decode(reply, bytes)) {
    error = "the GDB server's reply is not hexadecimal";
    return false;
  }
  return true;
}

bool Proxy::write_memory(uint64_t address, std::string_view bytes, std::string& error) {
  std::string reply;
  if (!server_request("M" + hex_number(address) + "," + hex_number(bytes.size()) + ":" +
                          hex_encode(bytes),
                      reply)) {
    error = "the GDB server is not answering";
    return false;
  }
  if (reply != "OK") {
    error = "the GDB server answered " + (reply.empty() ? std::string("nothing") : reply);
    return false;
  }
  return true;
}

const RegisterInfo* Proxy::live_register(int reg) const {
  if (family_ == nullptr) {
    return nullptr;
  }
  for (const RegisterInfo& r : layout_.registers) {
    if (osa_register_id(&r) == reg) {
      return &r;
    }
  }
  return nullptr;
}

bool Proxy::read_register(int core, int reg, uint64_t& value) {
  const RegisterInfo* r = live_register(reg);
  std::string reply;
  if (r == nullptr || !select_server_thread(core)) {
    return false;
  }
  std::string_view digits;
  if (server_p_packet_ &&
      server_request("p" + hex_number(static_cast<uint64_t>(r->number)), reply) && !reply.empty() &&
      !is_error_reply(reply)) {
    digits = reply;
  } else {
    // A server without 'p' gives every register at once.
    server_p_packet_ = server_p_packet_ && !reply.empty();
    if (!server_request("g", reply) || reply.size() < (r->offset + r->bits / 8) * 2) {
      return false;
    }
    digits = std::string_view(reply).substr(r->offset * 2, r->bits / 4);
  }
  const std::optional<uint64_t> v = decode_register(digits, elf_.big_endian);
  if (!v) {
    return false;
  }
  value = *v;
  return true;
}

bool Proxy::write_register(int core, int reg, uint64_t value) {
  const RegisterInfo* r = live_register(reg);
  std::string reply;
  if (r == nullptr || !select_server_thread(core)) {
    return false;
  }
  target_changed();
  return server_request("P" + hex_number(static_cast<uint64_t>(r->number)) + "=" +
                            encode_register(value, r->bits, elf_.big_endian),
                        reply) &&
         reply == "OK";
}

// -- the plug-in --------------------------------------------------------------------------

bool Proxy::start_plugin() {
  ++plugin_starts_;
  orti_loaded_ = false;
  have_descriptions_ = false;
  std::string error;
  osa_.set_timeout(options_.plugin_timeout);
  if (!osa_.start({options_.plugin}, error)) {
    note("cannot start the plug-in: " + error + "; GDB sees the plain cores");
    return false;
  }
  const int cpu =
      options_.cpu_type >= 0 ? options_.cpu_type : (family_ != nullptr ? family_->osa_cpu_type : 0);
  const int cores = static_cast<int>(std::max<std::size_t>(1, cores_.size()));
  if (!osa_.init(cpu, elf_.big_endian, cores)) {
    note("the plug-in did not take OsaInit and TargetInit" +
         (osa_.gone().empty() ? std::string() : " (" + osa_.gone() + ")"));
    drain_plugin_stderr();
    return false;
  }
  if (!load_orti()) {
    drain_plugin_stderr();
    return false;
  }
  learn_descriptions();
  plugin_lost_told_ = false;
  drain_plugin_stderr();
  return true;
}

bool Proxy::load_orti() {
  const std::string& path = options_.orti;
  const std::string quoted =
      path.find_first_of(" \t") != std::string::npos ? "\"" + path + "\"" : path;
  auto attempt = [&](const std::string& command) {
    load_messages_.clear();
    capture_load_ = true;
    const int status = osa_.command(command);
    capture_load_ = false;
    if (status == 0) {
      orti_loaded_ = true;
      task_session_ = task_session_ || evaluator_ != nullptr;
    }
    return status == 0;
  };
  // What the plug-in said about a load that failed is for GDB's console too: it is why GDB
  // sees only the cores.
  auto show_messages = [&](bool failed) {
    for (const std::string& m : load_messages_) {
      for (const std::string& line : split(trimmed(m), '\n')) {
        if (failed && !line.empty()) {
          note("plug-in: " + line);
        } else {
          log_line("plug-in: " + line);
        }
      }
    }
  };
  auto give_up = [&](const std::string& problem) {
    load_problem_ = problem;
    note(load_problem_ + "; GDB sees the plain cores");
    return false;
  };
  if (attempt("load_orti " + quoted)) {
    show_messages(false);
    return true;
  }
  if (!osa_.usable()) {
    show_messages(true);
    return give_up("the plug-in ended while it loaded " + path + " (" + osa_.gone() + ")");
  }
  // Only a file that failed on a construct of an OS generator is loaded again: any other
  // failure would fail the same way, or load with a meaning the file's author did not give it.
  const std::string hint = trimmed(kOrtiDialectHint);
  const bool hinted = std::any_of(load_messages_.begin(), load_messages_.end(),
                                  [&](const std::string& m) { return m.find(hint) != m.npos; });
  if (!hinted) {
    show_messages(true);
    return give_up("the plug-in could not load " + path);
  }
  // The strict load's complaints are what the second load answers.
  if (options_.verbose) {
    show_messages(false);
  }
  note(path + " uses constructs of an OS generator outside the ORTI grammar; loading it with "
              "extended syntax");
  if (attempt("load_orti --extended_syntax " + quoted)) {
    show_messages(false);
    return true;
  }
  show_messages(true);
  return give_up(osa_.usable()
                     ? "the plug-in could not load " + path + " with extended syntax"
                     : "the plug-in ended while it loaded " + path + " (" + osa_.gone() + ")");
}

void Proxy::learn_descriptions() {
  std::vector<std::string> lines;
  capture_ = &lines;
  const int status = osa_.command("describe");
  capture_ = nullptr;
  have_descriptions_ = status == 0;
  descriptions_ = have_descriptions_ ? parse_descriptions(lines) : PluginDescriptions();
}

void Proxy::plugin_message(int type, const std::string& text) {
  if (type == 4 && !options_.verbose) {
    return;
  }
  if (capture_ != nullptr) {
    capture_->push_back(text);
    return;
  }
  if (capture_load_) {
    load_messages_.push_back(text);
    return;
  }
  // Errors and warnings (type 2) are for GDB's console too; ordinary output that no command
  // asked for (a task without a saved context, read again by every front-end at every stop)
  // only for the proxy's log.
  for (const std::string& line : split(trimmed(text), '\n')) {
    if (line.empty()) {
      continue;
    }
    if (type == 2) {
      note("plug-in: " + line);
    } else {
      log_line("plug-in: " + line);
    }
  }
}

void Proxy::plugin_lost_note() {
  if (!plugin_lost_told_) {
    plugin_lost_told_ = true;
    note(osa_.gone() + "; GDB sees the plain cores" +
         (plugin_starts_ < kMaxPluginStarts ? " (the plug-in is started again at the next stop)"
                                            : ""));
  }
  drain_plugin_stderr();
}

void Proxy::drain_plugin_stderr() {
  for (const std::string& line : osa_.stderr_lines()) {
    if (!line.empty()) {
      log_line("plug-in: " + line);
    }
  }
}

// -- GDB ----------------------------------------------------------------------------------

void Proxy::note(const std::string& text) {
  // The plug-in repeats a complaint for every read it affects: once per stop is enough.
  if (std::find(notes_.begin(), notes_.end(), text) != notes_.end()) {
    return;
  }
  log_line(text);
  if (notes_.size() >= kMaxNotes) {
    notes_.pop_front();
    ++notes_dropped_;
  }
  notes_.push_back(text);
}

void Proxy::reply(const std::string& payload) {
  if (gdb_ != nullptr) {
    gdb_->send_payload(payload);
  }
}

void Proxy::console(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); i += kConsoleChunk) {
    reply("O" + hex_encode(std::string_view(text).substr(i, kConsoleChunk)));
  }
}

void Proxy::flush_notes() {
  if (notes_dropped_ > 0) {
    console("orti-proxy: (" + std::to_string(notes_dropped_) + " earlier notes left out)\n");
    notes_dropped_ = 0;
  }
  while (!notes_.empty()) {
    console("orti-proxy: " + notes_.front() + "\n");
    notes_.pop_front();
  }
}

void Proxy::serve(RspLink& gdb) {
  gdb_ = &gdb;
  running_ = false;
  stop_core_ = 0;
  gdb_hg_.reset();
  gdb_hc_.reset();
  deferred_.clear();
  stepped_.clear();
  task_registers_.clear();
  stale_ = true;
  have_map_ = false;
  while (!stop_requested()) {
    Item item;
    while (gdb.open() && gdb.next(item)) {
      switch (item.kind) {
      case ItemKind::Packet:
        if (!running_) {
          handle_packet(item.payload);
        } else if (starts_with(item.payload, "F")) {
          // The reply to a File-I/O request of the running target.
          forward_only(item.payload);
        } else {
          deferred_.push_back(item.payload);
        }
        break;
      case ItemKind::Interrupt:
        if (running_ && server_ && server_->open()) {
          server_->send_interrupt();
        }
        break;
      case ItemKind::BadChecksum:
        log_line("a packet from GDB had a bad checksum" +
                 std::string(gdb.ack_mode() ? "; GDB sends it again" : " and was dropped"));
        break;
      case ItemKind::Oversize:
        log_line("GDB sent a packet longer than " + std::to_string(gdb.limit()) +
                 " bytes (the negotiated size); answered with an error");
        if (!running_) {
          reply("E01");
        }
        break;
      default:
        break;
      }
    }
    while (server_ && server_->next(item)) {
      handle_server_item(item);
    }
    while (!running_ && !deferred_.empty() && gdb.open()) {
      const std::string payload = std::move(deferred_.front());
      deferred_.pop_front();
      handle_packet(payload);
    }
    if (!gdb.open()) {
      break;
    }
    if (!server_ || !server_->open()) {
      const std::string why = "the GDB server at " + describe(options_.remote) +
                              " closed the connection; the proxy ends the session";
      if (running_) {
        note(why);
        flush_notes();
      } else {
        log_line(why);
      }
      break;
    }
    const int which = wait_readable({gdb.fd(), server_->fd()}, never());
    if (which == 0) {
      gdb.pump();
    } else if (which == 1) {
      server_->pump();
    } else {
      break;
    }
  }
  gdb_ = nullptr;
}

void Proxy::handle_server_item(const Item& item) {
  if (running_ && item.kind == ItemKind::Oversize) {
    log_line("the GDB server sent a stop reply longer than " + std::to_string(server_->limit()) +
             " bytes; GDB gets an error");
    running_ = false;
    reply("E01");
    return;
  }
  if (item.kind != ItemKind::Packet) {
    return;
  }
  if (!running_) {
    log_line("the GDB server sent '" + item.payload.substr(0, 40) +
             "' unasked; it is not passed on");
    return;
  }
  if (is_console_output(item.payload) || starts_with(item.payload, "F")) {
    gdb_->send_raw(item.raw);
    return;
  }
  if (is_stop_reply(item.payload)) {
    std::string expanded;
    on_stop(expand_run_lengths(item.payload, expanded) ? expanded : item.payload, true);
    return;
  }
  // An error instead of a stop: the target did not run.
  running_ = false;
  gdb_->send_raw(item.raw);
}

void Proxy::target_changed() {
  memory_.clear();
  task_registers_.clear();
  stale_ = true;
}

void Proxy::on_stop(const std::string& stop, bool console_allowed) {
  running_ = false;
  target_changed();
  // Only here, where GDB waits without a time limit, is there time to start a plug-in that
  // was lost.
  if (console_allowed && !osa_.usable() && plugin_starts_ > 0 &&
      plugin_starts_ < kMaxPluginStarts) {
    note("starting the plug-in again");
    start_plugin();
  }
  if (stop.empty() || stop[0] == 'W' || stop[0] == 'X') {
    have_map_ = false;
    if (console_allowed) {
      flush_notes();
    }
    reply(stop);
    return;
  }
  refresh_threads();
  stop_core_ = map_.stop_core(stop);
  // After a stop GDB takes the thread that stopped for the selected one, without an 'Hg';
  // so does the server.
  gdb_hg_.reset();
  server_hg_.reset();
  if (console_allowed) {
    flush_notes();
  }
  reply(map_.rewrite_stop_reply(stop));
}

bool Proxy::await_reply(Item& answer, bool console_allowed) {
  for (;;) {
    Item item;
    while (server_->next(item)) {
      if (item.kind == ItemKind::Oversize ||
          (item.kind == ItemKind::BadChecksum && !server_->ack_mode())) {
        // The reply is lost; GDB gets an error rather than nothing.
        log_line(item.kind == ItemKind::Oversize
                     ? "the GDB server sent a reply longer than " +
                           std::to_string(server_->limit()) + " bytes; GDB gets an error"
                     : "a reply of the GDB server had a bad checksum; GDB gets an error");
        answer.kind = ItemKind::Packet;
        answer.payload = "E01";
        answer.raw = frame_packet("E01");
        return true;
      }
      if (item.kind != ItemKind::Packet) {
        continue;
      }
      if (console_allowed && is_console_output(item.payload)) {
        gdb_->send_raw(item.raw);
        continue;
      }
      answer = std::move(item);
      return true;
    }
    if (!server_->open() || !gdb_->open()) {
      return false;
    }
    const int which = wait_readable({server_->fd(), gdb_->fd()}, never());
    if (which == 0) {
      server_->pump();
    } else if (which == 1) {
      if (!gdb_->pump()) {
        return false;
      }
      // A Ctrl-C while the server works on a long request (a monitor command, a flash
      // write) is for the server; packets wait until the reply is in.
      while (gdb_->next(item)) {
        if (item.kind == ItemKind::Interrupt) {
          server_->send_interrupt();
        } else if (item.kind == ItemKind::Packet) {
          deferred_.push_back(item.payload);
        }
      }
    } else {
      return false;
    }
  }
}

void Proxy::forward_only(const std::string& payload) {
  server_->send_payload(payload);
}

void Proxy::forward(const std::string& payload, bool console_allowed) {
  if (!server_->send_payload(payload)) {
    return;
  }
  Item answer;
  if (await_reply(answer, console_allowed)) {
    gdb_->send_raw(answer.raw);
  }
}

void Proxy::handle_supported(const std::string& payload) {
  // Thread ids stay plain (no process ids), and the proxy keeps the thread list to itself.
  static const char* const kDropAsked[] = {"multiprocess+", "QThreadEvents+", "no-resumed+"};
  std::string asked = "qSupported";
  if (payload.size() > 11) {
    std::string kept;
    for (const std::string& f : split(std::string_view(payload).substr(11), ';')) {
      if (std::find(std::begin(kDropAsked), std::end(kDropAsked), f) == std::end(kDropAsked)) {
        kept += (kept.empty() ? "" : ";") + f;
      }
    }
    if (!kept.empty()) {
      asked += ":" + kept;
    }
  }
  std::string reply_text;
  if (!server_request(asked, reply_text)) {
    return;
  }
  std::string offered;
  for (const std::string& f : split(reply_text, ';')) {
    if (f.empty()) {
      continue;
    }
    if (take_packet_size(f)) {
      continue;
    }
    if (starts_with(f, "multiprocess") || starts_with(f, "QThreadEvents") ||
        starts_with(f, "no-resumed") || starts_with(f, "QNonStop") ||
        starts_with(f, "qXfer:threads:read") || starts_with(f, "QStartNoAckMode")) {
      continue;
    }
    offered += f + ";";
  }
  const std::size_t size = reply_text.find("PacketSize=") != std::string::npos
                               ? server_packet_size_
                               : std::min(server_packet_size_, kDefaultPacketSize);
  offered += "PacketSize=" + hex_number(size) + ";qXfer:threads:read+;QStartNoAckMode+";
  gdb_->set_limit(size + 64);
  reply(offered);
}

const ThreadEntry* Proxy::resolve(const ThreadId& id) const {
  if (id.kind == ThreadId::Id) {
    return map_.find(id.id);
  }
  return map_.for_core(stop_core_);
}

const ThreadEntry* Proxy::selected(const std::optional<ThreadId>& id) const {
  return id ? resolve(*id) : map_.for_core(stop_core_);
}

int Proxy::selected_core() const {
  const ThreadEntry* t = selected(gdb_hg_);
  return t != nullptr && t->core >= 0 ? t->core : stop_core_;
}

void Proxy::refresh_if_stale() {
  if (stale_ || !have_map_) {
    refresh_threads();
  }
}

void Proxy::refresh_threads() {
  const auto started = Clock::now();
  const PluginCounters plugin_before = osa_.counters();
  const auto server_before = server_time_;
  const uint64_t packets_before = server_ ? server_->packets_sent() : 0;
  services_.forget_problems();
  std::optional<std::vector<TaskRow>> tasks;
  std::vector<int64_t> running(cores_.size(), 0);
  // Without debug information no formula can be evaluated: the tasks would all be unknown.
  if (osa_.usable() && orti_loaded_ && evaluator_) {
    services_.set_call_core(0);
    osa_.notify_stop();
    for (std::size_t k = 0; k < cores_.size() && osa_.usable(); ++k) {
      services_.set_call_core(static_cast<int>(k));
      running[k] = osa_.current_task(static_cast<int>(k)).value_or(0);
    }
    services_.set_call_core(0);
    tasks = osa_.tasks(options_.max_tasks);
    if (!osa_.usable()) {
      tasks.reset();
      plugin_lost_note();
    }
  }
  ThreadInputs inputs{cores_, tasks ? &*tasks : nullptr, running, task_session_, stepped_};
  map_ = ThreadMap::build(inputs);
  // The server's own text of a core that stands for itself (it may say halted or running).
  bool extra_changed = false;
  for (const ThreadEntry& t : map_.threads()) {
    if (t.kind != ThreadEntry::Core) {
      continue;
    }
    CoreInfo& core = cores_[static_cast<std::size_t>(t.core)];
    std::string text;
    if (core.server_id && server_extra_info_ && server_extra_info(core, text) &&
        text != core.server_extra) {
      core.server_extra = text;
      extra_changed = true;
    }
  }
  if (extra_changed) {
    map_ = ThreadMap::build(inputs);
  }
  have_map_ = true;
  stale_ = false;
  const PluginCounters plugin_after = osa_.counters();
  last_refresh_.tasks = tasks ? tasks->size() : 0;
  last_refresh_.total = Clock::now() - started;
  last_refresh_.plugin = plugin_after.waiting - plugin_before.waiting;
  last_refresh_.server = server_time_ - server_before;
  last_refresh_.server_packets = (server_ ? server_->packets_sent() : 0) - packets_before;
  last_refresh_.plugin_calls = plugin_after.calls - plugin_before.calls;
  last_refresh_.plugin_requests = plugin_after.requests - plugin_before.requests;
  drain_plugin_stderr();
}

void Proxy::handle_packet(const std::string& payload) {
  if (payload.empty()) {
    forward(payload, false);
    return;
  }
  if (starts_with(payload, "qSupported")) {
    handle_supported(payload);
    return;
  }
  if (payload == "QStartNoAckMode") {
    reply("OK");
    gdb_->set_ack_mode(false);
    return;
  }
  if (payload == "?") {
    Item answer;
    if (!server_->send_payload(payload) || !await_reply(answer, false)) {
      return;
    }
    std::string expanded;
    if (is_stop_reply(answer.payload) && expand_run_lengths(answer.payload, expanded)) {
      on_stop(expanded, false);
    } else {
      gdb_->send_raw(answer.raw);
    }
    return;
  }
  if (payload == "qfThreadInfo") {
    refresh_if_stale();
    reply(map_.thread_list());
    return;
  }
  if (payload == "qsThreadInfo") {
    reply("l");
    return;
  }
  if (starts_with(payload, "qXfer:threads:read::")) {
    refresh_if_stale();
    const std::vector<std::string> range = split(std::string_view(payload).substr(20), ',');
    uint64_t offset = 0;
    uint64_t length = 0;
    if (range.size() != 2 || !parse_hex(range[0], offset) || !parse_hex(range[1], length)) {
      reply("E00");
      return;
    }
    const std::string xml = map_.threads_xml();
    if (offset >= xml.size()) {
      reply("l");
      return;
    }
    const std::string part =
        xml.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    reply((offset + part.size() >= xml.size() ? "l" : "m") + escape_binary(part));
    return;
  }
  if (starts_with(payload, "qThreadExtraInfo,")) {
    refresh_if_stale();
    const std::optional<ThreadId> id = parse_thread_id(std::string_view(payload).substr(17));
    const ThreadEntry* t = id ? resolve(*id) : nullptr;
    reply(t != nullptr ? hex_encode(t->extra) : "E01");
    return;
  }
  if (payload == "qC") {
    refresh_if_stale();
    const ThreadEntry* t = map_.for_core(stop_core_);
    if (t != nullptr) {
      reply("QC" + thread_text(t->id));
    } else {
      forward(payload, false);
    }
    return;
  }
  if (payload[0] == 'T') {
    refresh_if_stale();
    const std::optional<ThreadId> id = parse_thread_id(std::string_view(payload).substr(1));
    reply(id && id->kind == ThreadId::Id && map_.find(id->id) != nullptr ? "OK" : "E01");
    return;
  }
  if (payload[0] == 'H' && payload.size() >= 2 && (payload[1] == 'g' || payload[1] == 'c')) {
    handle_set_thread(payload[1], std::string_view(payload).substr(2));
    return;
  }
  if (payload == "g") {
    read_registers();
    return;
  }
  if (payload[0] == 'p') {
    read_one_register(std::string_view(payload).substr(1));
    return;
  }
  if (payload[0] == 'G') {
    write_registers(std::string_view(payload).substr(1));
    return;
  }
  if (payload[0] == 'P') {
    write_one_register(std::string_view(payload).substr(1));
    return;
  }
  if (starts_with(payload, "vCont;") || payload[0] == 'c' || payload[0] == 'C' ||
      payload[0] == 's' || payload[0] == 'S') {
    handle_resume(payload);
    return;
  }
  if (starts_with(payload, "qRcmd,")) {
    std::string command;
    if (hex_decode(std::string_view(payload).substr(6), command) &&
        (command == "orti" || starts_with(command, "orti "))) {
      monitor(command.substr(4));
      return;
    }
    target_changed();
    forward(payload, true);
    return;
  }
  if (starts_with(payload, "QNonStop:")) {
    if (payload != "QNonStop:0") {
      log_line("GDB asked for non-stop mode, which the proxy does not offer");
      reply("E01");
      return;
    }
    forward(payload, false);
    return;
  }
  if (payload == "k" || payload[0] == 'R') {
    forward_only(payload);
    return;
  }
  if (starts_with(payload, "vRun") || starts_with(payload, "vAttach")) {
    // The reply is a stop reply, like the one after a resume.
    forward_only(payload);
    running_ = true;
    target_changed();
    return;
  }
  if (payload[0] == 'M' || payload[0] == 'X' || starts_with(payload, "vFlash")) {
    target_changed();
  }
  forward(payload, false);
}

void Proxy::handle_set_thread(char which, std::string_view id_text) {
  const std::optional<ThreadId> id = parse_thread_id(id_text);
  if (!id) {
    reply("E01");
    return;
  }
  refresh_if_stale();
  const ThreadEntry* t = id->kind == ThreadId::Id ? map_.find(id->id) : map_.for_core(stop_core_);
  if (id->kind == ThreadId::Id && t == nullptr) {
    reply("E01");
    return;
  }
  if (which == 'g') {
    gdb_hg_ = id;
    if (t != nullptr && t->core >= 0 && !select_server_thread(t->core)) {
      reply("E01");
      return;
    }
  } else {
    gdb_hc_ = id;
  }
  reply("OK");
}

void Proxy::refuse_step(const ThreadEntry& thread) {
  const ThreadEntry* running = map_.for_core(thread.core >= 0 ? thread.core : stop_core_);
  std::string text = "orti-proxy: " + (thread.name.empty() ? "task" : thread.name) + " (thread " +
                     std::to_string(thread.id) + ") is not running, so it cannot be stepped";
  if (running != nullptr) {
    text += "; step thread " + std::to_string(running->id) +
            (running->name.empty() ? "" : " (" + running->name + ")") + ", or continue";
  }
  console(text + "\n");
  reply("E01");
}

void Proxy::handle_resume(const std::string& payload) {
  refresh_if_stale();
  std::map<int, uint64_t> stepped;
  std::string out;
  if (starts_with(payload, "vCont;")) {
    std::string fallback;
    out = "vCont";
    for (const std::string& action : split(std::string_view(payload).substr(6), ';')) {
      const std::size_t colon = action.find(':');
      const std::string verb = action.substr(0, colon);
      if (verb.empty()) {
        continue;
      }
      std::optional<ThreadId> id;
      if (colon != std::string::npos) {
        id = parse_thread_id(std::string_view(action).substr(colon + 1));
        if (!id) {
          reply("E01");
          return;
        }
      }
      if (!id || id->kind != ThreadId::Id) {
        if (fallback.empty()) {
          fallback = verb;
        }
        continue;
      }
      const ThreadEntry* t = map_.find(id->id);
      if (t == nullptr) {
        reply("E01");
        return;
      }
      if (t->core < 0) {
        // A task that is not running has no core to step; resuming it resumes the target.
        if (verb[0] == 's' || verb[0] == 'S' || verb[0] == 'r') {
          refuse_step(*t);
          return;
        }
        if (fallback.empty()) {
          fallback = verb;
        }
        continue;
      }
      if (verb[0] == 's' || verb[0] == 'S' || verb[0] == 'r') {
        stepped[t->core] = t->id;
      }
      const CoreInfo& core = cores_[static_cast<std::size_t>(t->core)];
      if (core.server_id) {
        out += ";" + verb + ":" + hex_number(*core.server_id);
      } else if (fallback.empty()) {
        fallback = verb;
      }
    }
    if (!fallback.empty()) {
      out += ";" + fallback;
    }
    if (out == "vCont") {
      out = "vCont;c";
    }
  } else {
    out = payload;
    if (payload[0] == 's' || payload[0] == 'S') {
      const ThreadEntry* t = selected(gdb_hc_);
      if (t != nullptr && t->core < 0) {
        refuse_step(*t);
        return;
      }
      const int core = t != nullptr ? t->core : stop_core_;
      if (t != nullptr) {
        stepped[core] = t->id;
      }
      if (core >= 0 && static_cast<std::size_t>(core) < cores_.size() &&
          cores_[static_cast<std::size_t>(core)].server_id) {
        std::string answer;
        server_request("Hc" + hex_number(*cores_[static_cast<std::size_t>(core)].server_id),
                       answer);
      }
    }
  }
  target_changed();
  stepped_ = std::move(stepped);
  if (server_->send_payload(out)) {
    running_ = true;
  }
}

int Proxy::osa_register_id(const RegisterInfo* reg) const {
  return reg != nullptr && family_ != nullptr ? family_->register_id(reg->name) : -1;
}

std::optional<uint64_t> Proxy::task_register(const ThreadEntry& thread, const RegisterInfo& reg) {
  const int id = osa_register_id(&reg);
  if (id < 0 || !osa_.usable()) {
    return std::nullopt;
  }
  auto& cached = task_registers_[thread.task];
  const auto it = cached.find(reg.number);
  if (it != cached.end()) {
    return it->second;
  }
  uint64_t value = 0;
  std::optional<uint64_t> result;
  if (osa_.task_register(thread.task, id, -1, value) == 0) {
    result = reg.bits >= 64 ? value : value & ((uint64_t{1} << reg.bits) - 1);
  }
  if (!osa_.usable()) {
    plugin_lost_note();
  }
  cached[reg.number] = result;
  return result;
}

const ThreadEntry* Proxy::task_for_registers(const std::string& packet, bool well_formed,
                                             bool writes) {
  refresh_if_stale();
  const ThreadEntry* t = selected(gdb_hg_);
  if (t == nullptr || !well_formed) {
    reply("E01");
    return nullptr;
  }
  if (t->core < 0) {
    return t;
  }
  if (writes) {
    target_changed();
  }
  if (select_server_thread(t->core)) {
    forward(packet, false);
  } else {
    reply("E01");
  }
  return nullptr;
}

void Proxy::read_registers() {
  const ThreadEntry* t = task_for_registers("g", true, false);
  if (t == nullptr) {
    return;
  }
  if (layout_.registers.empty()) {
    reply("E01");
    return;
  }
  const std::size_t bytes = g_bytes_ != 0 ? g_bytes_ : layout_.total_bytes();
  reply(build_g_reply(layout_, bytes, elf_.big_endian,
                      [&](const RegisterInfo& r) { return task_register(*t, r); }));
}

void Proxy::read_one_register(std::string_view number) {
  uint64_t n = 0;
  const bool well_formed = parse_hex(number, n);
  const ThreadEntry* t = task_for_registers("p" + std::string(number), well_formed, false);
  if (t == nullptr) {
    return;
  }
  const RegisterInfo* r = layout_.by_number(static_cast<long>(n));
  if (r == nullptr) {
    reply("E01");
    return;
  }
  reply(encode_register(task_register(*t, *r), r->bits, elf_.big_endian));
}

void Proxy::write_registers(std::string_view data) {
  const ThreadEntry* t = task_for_registers("G" + std::string(data), true, true);
  if (t == nullptr) {
    return;
  }
  bool all = true;
  for (const auto& [reg, digits] : split_g_data(layout_, data)) {
    const std::optional<uint64_t> value = decode_register(digits, elf_.big_endian);
    const int id = osa_register_id(reg);
    if (!value || id < 0 || task_register(*t, *reg) == value) {
      continue;
    }
    all = osa_.write_task_register(t->task, id, -1, *value) == 0 && all;
  }
  target_changed();
  reply(all ? "OK" : "E01");
}

void Proxy::write_one_register(std::string_view assignment) {
  const std::size_t equals = assignment.find('=');
  uint64_t n = 0;
  const bool well_formed =
      equals != std::string_view::npos && parse_hex(assignment.substr(0, equals), n);
  const ThreadEntry* t = task_for_registers("P" + std::string(assignment), well_formed, true);
  if (t == nullptr) {
    return;
  }
  const RegisterInfo* r = layout_.by_number(static_cast<long>(n));
  const std::optional<uint64_t> value =
      decode_register(assignment.substr(equals + 1), elf_.big_endian);
  const int id = osa_register_id(r);
  if (!value || id < 0) {
    reply("E01");
    return;
  }
  const bool done = osa_.write_task_register(t->task, id, -1, *value) == 0;
  target_changed();
  reply(done ? "OK" : "E01");
}

} // namespace rsp
