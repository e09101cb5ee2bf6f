#include "rsp_packet.h"

#include "runtime/hex_digit.h"

namespace rsp {

namespace {

const char kHexDigits[] = "0123456789abcdef";

bool needs_escape(char c) {
  return c == '$' || c == '#' || c == '}' || c == '*';
}

} // namespace

uint8_t checksum(std::string_view payload) {
  uint8_t sum = 0;
  for (char c : payload) {
    sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  }
  return sum;
}

std::string frame_packet(std::string_view payload, char lead) {
  std::string out;
  out.reserve(payload.size() + 4);
  out += lead;
  out.append(payload);
  out += '#';
  const uint8_t sum = checksum(payload);
  out += kHexDigits[sum >> 4];
  out += kHexDigits[sum & 0xF];
  return out;
}

std::string hex_encode(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    out += kHexDigits[b >> 4];
    out += kHexDigits[b & 0xF];
  }
  return out;
}

bool hex_decode(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) {
    return false;
  }
  std::string out;
  out.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = hex_digit_value(hex[i]);
    const int lo = hex_digit_value(hex[i + 1]);
    if (hi < 0 || lo < 0) {
      return false;
    }
    out += static_cast<char>(hi * 16 + lo);
  }
  bytes = std::move(out);
  return true;
}

bool parse_hex(std::string_view text, uint64_t& value) {
  if (text.empty()) {
    return false;
  }
  uint64_t v = 0;
  for (char c : text) {
    const int d = hex_digit_value(c);
    if (d < 0 || (v >> 60) != 0) {
      return false;
    }
    v = v * 16 + static_cast<uint64_t>(d);
  }
  value = v;
  return true;
}

std::string hex_number(uint64_t value) {
  std::string out;
  do {
    out.insert(out.begin(), kHexDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return out;
}

std::string escape_binary(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    if (needs_escape(c)) {
      out += '}';
      out += static_cast<char>(c ^ 0x20);
    } else {
      out += c;
    }
  }
  return out;
}

bool unescape_binary(std::string_view data, std::string& bytes) {
  std::string out;
  out.reserve(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '}') {
      if (++i == data.size()) {
        return false;
      }
      out += static_cast<char>(data[i] ^ 0x20);
    } else {
      out += data[i];
    }
  }
  bytes = std::move(out);
  return true;
}

bool expand_run_lengths(std::string_view data, std::string& out) {
  std::string result;
  result.reserve(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] != '*') {
      result += data[i];
      continue;
    }
    // The count byte is the number of repeats plus 29, printable by construction.
    if (result.empty() || i + 1 >= data.size()) {
      return false;
    }
    const int count = static_cast<uint8_t>(data[++i]) - 29;
    if (count < 3 || count > 97) {
      return false;
    }
    result.append(static_cast<std::size_t>(count), result.back());
  }
  out = std::move(result);
  return true;
}

std::optional<ThreadId> parse_thread_id(std::string_view text) {
  if (!text.empty() && text[0] == 'p') {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
      // "pPID" alone names every thread of the process.
      return ThreadId{ThreadId::All, 0};
    }
    text = text.substr(dot + 1);
  }
  if (text == "-1") {
    return ThreadId{ThreadId::All, 0};
  }
  uint64_t id = 0;
  if (!parse_hex(text, id)) {
    return std::nullopt;
  }
  if (id == 0) {
    return ThreadId{ThreadId::Any, 0};
  }
  return ThreadId{ThreadId::Id, id};
}

std::string format_thread_id(const ThreadId& thread) {
  switch (thread.kind) {
  case ThreadId::All:
    return "-1";
  case ThreadId::Any:
    return "0";
  case ThreadId::Id:
    break;
  }
  return hex_number(thread.id);
}

void PacketReader::feed(const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    const char c = data[i];
    switch (state_) {
    case State::Idle:
      if (c == '$' || c == '%') {
        state_ = State::Payload;
        lead_ = c;
        payload_.clear();
        length_ = 0;
        sum_ = 0;
        oversize_ = false;
      } else if (c == '+') {
        items_.push_back(Item{ItemKind::Ack, {}, {}});
      } else if (c == '-') {
        items_.push_back(Item{ItemKind::Nak, {}, {}});
      } else if (c == '\x03') {
        items_.push_back(Item{ItemKind::Interrupt, {}, {}});
      } else {
        ++stray_;
      }
      break;
    case State::Payload:
      if (c == '#') {
        state_ = State::Check1;
      } else if (c == '$') {
        // The sender gave up on the packet and starts over.
        items_.push_back(Item{ItemKind::BadChecksum, {}, {}});
        payload_.clear();
        length_ = 0;
        sum_ = 0;
        oversize_ = false;
        lead_ = '$';
      } else {
        sum_ = static_cast<uint8_t>(sum_ + static_cast<uint8_t>(c));
        if (++length_ > max_payload_) {
          oversize_ = true;
          payload_.clear();
        } else {
          payload_ += c;
        }
      }
      break;
    case State::Check1:
      check_[0] = c;
      state_ = State::Check2;
      break;
    case State::Check2:
      check_[1] = c;
      finish_packet();
      state_ = State::Idle;
      break;
    }
  }
}

void PacketReader::finish_packet() {
  Item item;
  if (oversize_) {
    item.kind = ItemKind::Oversize;
    items_.push_back(std::move(item));
    return;
  }
  const int hi = hex_digit_value(check_[0]);
  const int lo = hex_digit_value(check_[1]);
  if (hi < 0 || lo < 0 || static_cast<uint8_t>(hi * 16 + lo) != sum_) {
    item.kind = ItemKind::BadChecksum;
    item.payload = std::move(payload_);
    items_.push_back(std::move(item));
    return;
  }
  item.kind = lead_ == '%' ? ItemKind::Notification : ItemKind::Packet;
  item.raw.reserve(payload_.size() + 4);
  item.raw += lead_;
  item.raw += payload_;
  item.raw += '#';
  item.raw += check_[0];
  item.raw += check_[1];
  item.payload = std::move(payload_);
  payload_.clear();
  items_.push_back(std::move(item));
}

bool PacketReader::next(Item& item) {
  if (items_.empty()) {
    return false;
  }
  item = std::move(items_.front());
  items_.pop_front();
  return true;
}

} // namespace rsp
