// Fuzz target: the remote-protocol reader on arbitrary byte streams, cut into reads where the
// input's first byte says, and every payload it gives through the decoders the proxy applies
// to packets (run lengths, binary escapes, hexadecimal, thread ids, stop replies, the XML of
// target descriptions). A packet must come out exactly as it was framed, never longer than
// the limit, and the same stream must give the same items however it is cut.
#include "rsp_packet.h"
#include "target_description.h"
#include "thread_map.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kLimit = 512;

std::vector<rsp::Item> read_all(const std::string& stream, std::size_t step) {
  rsp::PacketReader reader(kLimit);
  for (std::size_t i = 0; i < stream.size(); i += step) {
    const std::string piece = stream.substr(i, step);
    reader.feed(piece.data(), piece.size());
  }
  std::vector<rsp::Item> items;
  rsp::Item item;
  while (reader.next(item)) {
    items.push_back(item);
  }
  return items;
}

void decode(const std::string& payload, const rsp::ThreadMap& map) {
  // Each decoder's inverse gives back what it decoded.
  std::string out;
  std::string back;
  if (rsp::unescape_binary(payload, out) &&
      (!rsp::unescape_binary(rsp::escape_binary(out), back) || back != out)) {
    std::abort();
  }
  if (rsp::expand_run_lengths(payload, out) && payload.find('*') == std::string::npos &&
      out != payload) {
    std::abort();
  }
  if (rsp::hex_decode(payload, out) &&
      (!rsp::hex_decode(rsp::hex_encode(out), back) || back != out)) {
    std::abort();
  }
  uint64_t n = 0;
  uint64_t m = 0;
  if (rsp::parse_hex(payload, n) && (!rsp::parse_hex(rsp::hex_number(n), m) || m != n)) {
    std::abort();
  }
  if (const auto t = rsp::parse_thread_id(payload); t && t->kind == rsp::ThreadId::Id) {
    const auto again = rsp::parse_thread_id(rsp::format_thread_id(*t));
    if (!again || again->id != t->id) {
      std::abort();
    }
  }
  const std::string rewritten = map.rewrite_stop_reply(payload);
  if ((payload[0] == 'T' || payload[0] == 'S') && payload.size() >= 3 &&
      rewritten.find("thread:") == std::string::npos) {
    std::abort(); // a stop reply always names a thread afterwards
  }
  map.stop_core(payload);
  rsp::xml_elements(payload);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::size_t step = 1 + data[0] % 16;
  const std::string stream(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<rsp::Item> whole = read_all(stream, stream.size() + 1);
  const std::vector<rsp::Item> cut = read_all(stream, step);
  if (whole.size() != cut.size()) {
    std::abort();
  }
  const std::vector<rsp::TaskRow> tasks = {{1, "A", "READY", "1"}, {2, "B", "RUNNING", "2"}};
  rsp::CoreInfo core;
  core.server_id = 1;
  const std::vector<rsp::CoreInfo> cores = {core};
  const rsp::ThreadMap map = rsp::ThreadMap::build(rsp::ThreadInputs{cores, &tasks, {2}, true, {}});
  for (std::size_t i = 0; i < whole.size(); ++i) {
    const rsp::Item& item = whole[i];
    if (item.kind != cut[i].kind || item.payload != cut[i].payload || item.raw != cut[i].raw) {
      std::abort();
    }
    if (item.kind == rsp::ItemKind::Packet || item.kind == rsp::ItemKind::Notification) {
      if (item.payload.size() > kLimit ||
          item.raw != rsp::frame_packet(item.payload, item.raw[0])) {
        // The checksum digits may be upper case: compare them as numbers.
        const std::string framed = rsp::frame_packet(item.payload, item.raw[0]);
        uint64_t a = 0;
        uint64_t b = 0;
        if (item.payload.size() > kLimit || framed.size() != item.raw.size() ||
            framed.compare(0, framed.size() - 2, item.raw, 0, framed.size() - 2) != 0 ||
            !rsp::parse_hex(framed.substr(framed.size() - 2), a) ||
            !rsp::parse_hex(item.raw.substr(item.raw.size() - 2), b) || a != b) {
          std::abort();
        }
      }
      if (!item.payload.empty()) {
        decode(item.payload, map);
      }
    }
  }
  return 0;
}
