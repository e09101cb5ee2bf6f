// The registers of the target as the server's target description gives them, laid out the
// way GDB lays out the 'g' packet: every described register in ascending remote number, each
// as many bytes as its size, without gaps.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace rsp {

struct RegisterInfo {
  std::string name;
  unsigned bits = 32;
  long number = 0;        // the remote number ('p' and 'P' packets, stop replies)
  std::size_t offset = 0; // bytes into the 'g' packet
};

struct RegisterLayout {
  std::string architecture;
  std::vector<RegisterInfo> registers; // in ascending number
  // The bytes of every register together: what a full 'g' reply holds.
  std::size_t total_bytes() const;
  const RegisterInfo* by_number(long number) const;
};

// Fetches an annex of qXfer:features:read ("target.xml" and what it includes).
using AnnexReader = std::function<bool(const std::string& annex, std::string& text)>;

// Reads "target.xml" and its includes. False with a reason when the description cannot be
// read or holds no register.
bool read_target_description(const AnnexReader& fetch, RegisterLayout& layout, std::string& error);

// The layout GDB assumes for an ARM target whose server gives no description: r0-r15, the
// eight 12-byte FPA registers, fps and cpsr.
RegisterLayout legacy_arm_layout();

// The attribute values of every element named tag in an XML text, in document order (a
// small reader for the flat XML of the protocol: no entities beyond the five standard ones,
// comments and declarations skipped).
struct XmlElement {
  std::string tag;
  std::vector<std::pair<std::string, std::string>> attributes;
  const std::string* attribute(const std::string& name) const;
};
std::vector<XmlElement> xml_elements(const std::string& text);
std::string xml_escape(const std::string& text);

} // namespace rsp
