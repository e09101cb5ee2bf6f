#include "rsp_link.h"

namespace rsp {

namespace {

// A link that keeps asking for the same packet again is not going to take it.
constexpr int kMaxResends = 5;
// How long a write may wait for the other end to take the bytes.
constexpr auto kWriteTime = std::chrono::seconds(10);

} // namespace

bool RspLink::write(std::string_view bytes) {
  if (!open()) {
    return false;
  }
  if (!write_all(fd_.get(), bytes.data(), bytes.size(), Clock::now() + kWriteTime)) {
    closed_ = true;
    return false;
  }
  return true;
}

bool RspLink::send_payload(std::string_view payload) {
  return send_raw(frame_packet(payload));
}

bool RspLink::send_raw(std::string_view framed) {
  if (ack_mode_) {
    last_sent_.assign(framed);
    resends_ = 0;
  }
  ++packets_sent_;
  return write(framed);
}

bool RspLink::send_interrupt() {
  return write("\x03");
}

bool RspLink::pump() {
  if (!open()) {
    return false;
  }
  char buffer[16384];
  for (;;) {
    const long n = read_some(fd_.get(), buffer, sizeof buffer);
    if (n > 0) {
      reader_.feed(buffer, static_cast<std::size_t>(n));
      if (static_cast<std::size_t>(n) < sizeof buffer) {
        return true;
      }
      continue;
    }
    if (n == -1) {
      return true;
    }
    closed_ = true;
    return false;
  }
}

bool RspLink::next(Item& item) {
  while (reader_.next(item)) {
    switch (item.kind) {
    case ItemKind::Ack:
      resends_ = 0;
      continue;
    case ItemKind::Nak:
      if (ack_mode_ && !last_sent_.empty() && resends_ < kMaxResends) {
        ++resends_;
        write(last_sent_);
      }
      continue;
    case ItemKind::Packet:
    case ItemKind::Notification:
    case ItemKind::Oversize:
      // An oversize packet is acknowledged too: sent again it would only be too long again.
      ++packets_received_;
      if (ack_mode_) {
        write("+");
      }
      return true;
    case ItemKind::BadChecksum:
      if (ack_mode_) {
        write("-");
      }
      return true;
    case ItemKind::Interrupt:
      return true;
    }
  }
  return false;
}

bool RspLink::wait_item(Item& item, Clock::time_point deadline) {
  for (;;) {
    if (next(item)) {
      return true;
    }
    if (!open()) {
      return false;
    }
    if (wait_readable({fd_.get()}, deadline) < 0) {
      return false;
    }
    if (!pump() && !reader_.has_item()) {
      return false;
    }
  }
}

} // namespace rsp
