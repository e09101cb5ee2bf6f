// The evaluator as a filter, for comparing it with GDB: expressions on standard input, one a
// line; for each, one line "V<TAB>value" or "E<TAB>reason", a tab, then "T<TAB>text as
// hexadecimal bytes" or "E<TAB>reason". Memory is the ELF's file image with the given dumps
// of target memory laid over it.
//   rsp_eval_cli ELF [--dump ADDRESS FILE]...
#include "eval/elf_image_memory.h"
#include "eval/program_symbols.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class LayeredMemory : public TargetMemory {
public:
  explicit LayeredMemory(ElfImageMemory& base) : base_(base) {}
  void add(uint64_t address, std::vector<uint8_t> bytes) {
    dumps_.push_back({address, std::move(bytes)});
  }
  bool read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) override {
    std::size_t done = 0;
    while (done < len) {
      const uint64_t at = address + done;
      std::size_t n = len - done;
      const Dump* inside = nullptr;
      for (const Dump& d : dumps_) {
        if (at >= d.address && at - d.address < d.bytes.size()) {
          inside = &d;
        } else if (d.address > at) {
          n = std::min<std::size_t>(n, d.address - at);
        }
      }
      if (inside != nullptr) {
        n = std::min<std::size_t>(n, inside->bytes.size() - (at - inside->address));
        std::memcpy(out + done, inside->bytes.data() + (at - inside->address), n);
      } else if (!base_.read(at, n, out + done, error)) {
        return false;
      }
      done += n;
    }
    return true;
  }
  bool write(uint64_t, const uint8_t*, std::size_t, std::string& error) override {
    error = "the comparison does not write";
    return false;
  }

private:
  struct Dump {
    uint64_t address;
    std::vector<uint8_t> bytes;
  };
  ElfImageMemory& base_;
  std::vector<Dump> dumps_;
};

std::string hex_bytes(const std::string& s) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string one_line(std::string s) {
  std::replace(s.begin(), s.end(), '\n', ' ');
  std::replace(s.begin(), s.end(), '\t', ' ');
  return s;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: rsp_eval_cli ELF [--dump ADDRESS FILE]...\n");
    return 2;
  }
  std::string error;
  ProgramSymbolsPtr program = open_program_symbols(argv[1], error);
  std::unique_ptr<ElfImageMemory> image = ElfImageMemory::open(argv[1], error);
  if (program == nullptr || image == nullptr) {
    std::fprintf(stderr, "rsp_eval_cli: %s\n", error.c_str());
    return 1;
  }
  LayeredMemory memory(*image);
  for (int i = 2; i < argc; i += 3) {
    if (std::strcmp(argv[i], "--dump") != 0 || i + 2 >= argc) {
      std::fprintf(stderr, "rsp_eval_cli: expected --dump ADDRESS FILE\n");
      return 2;
    }
    std::ifstream in(argv[i + 2], std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      std::fprintf(stderr, "rsp_eval_cli: cannot read %s\n", argv[i + 2]);
      return 1;
    }
    memory.add(std::stoull(argv[i + 1], nullptr, 0), std::move(bytes));
  }
  std::string line;
  while (std::getline(std::cin, line)) {
    const EvalOutcome v = evaluate_expression(*program, line, memory);
    const TextOutcome t = print_expression(*program, line, memory);
    std::cout << (v.ok ? "V\t" + std::to_string(v.value) : "E\t" + one_line(v.error)) << '\t'
              << (t.ok ? "T\t" + hex_bytes(t.text) : "E\t" + one_line(t.error)) << '\n';
  }
  return 0;
}
