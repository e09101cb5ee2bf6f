#include "eval/elf_image_memory.h"

#include <fcntl.h>
#include <gelf.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

std::unique_ptr<ElfImageMemory> ElfImageMemory::open(const std::string& elf_path,
                                                     std::string& error) {
  elf_version(EV_CURRENT);
  const int fd = ::open(elf_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open " + elf_path + ": " + std::strerror(errno);
    return nullptr;
  }
  Elf* elf = elf_begin(fd, ELF_C_READ_MMAP, nullptr);
  std::unique_ptr<ElfImageMemory> memory;
  if (elf == nullptr || elf_kind(elf) != ELF_K_ELF) {
    error = elf_path + " is not an ELF file";
  } else {
    memory.reset(new ElfImageMemory);
    Elf_Scn* scn = nullptr;
    while ((scn = elf_nextscn(elf, scn)) != nullptr) {
      GElf_Shdr shdr;
      if (gelf_getshdr(scn, &shdr) == nullptr || (shdr.sh_flags & SHF_ALLOC) == 0 ||
          shdr.sh_size == 0 || (shdr.sh_flags & SHF_TLS) != 0) {
        continue;
      }
      Region r;
      r.address = shdr.sh_addr;
      if (shdr.sh_type == SHT_NOBITS) {
        r.bytes.assign(shdr.sh_size, 0);
      } else {
        Elf_Data* data = elf_getdata(scn, nullptr);
        if (data == nullptr || data->d_buf == nullptr) {
          continue;
        }
        const auto* p = static_cast<const uint8_t*>(data->d_buf);
        r.bytes.assign(p, p + std::min<std::size_t>(data->d_size, shdr.sh_size));
      }
      memory->regions_.push_back(std::move(r));
    }
    std::sort(memory->regions_.begin(), memory->regions_.end(),
              [](const Region& a, const Region& b) { return a.address < b.address; });
    // Overlapping sections (which a sane link never makes) are cut to the first one.
    for (std::size_t i = 1; i < memory->regions_.size(); ++i) {
      Region& prev = memory->regions_[i - 1];
      Region& cur = memory->regions_[i];
      if (cur.address < prev.address + prev.bytes.size()) {
        prev.bytes.resize(cur.address - prev.address);
      }
    }
  }
  if (elf != nullptr) {
    elf_end(elf);
  }
  close(fd);
  return memory;
}

ElfImageMemory::Region* ElfImageMemory::find(uint64_t address) {
  auto it = std::upper_bound(regions_.begin(), regions_.end(), address,
                             [](uint64_t a, const Region& r) { return a < r.address; });
  if (it == regions_.begin()) {
    return nullptr;
  }
  --it;
  return address - it->address < it->bytes.size() ? &*it : nullptr;
}

bool ElfImageMemory::read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) {
  // A read may span adjacent sections, as a debugger reads them.
  std::size_t done = 0;
  while (done < len) {
    Region* r = find(address + done);
    if (r == nullptr) {
      error = "not in the program's file image";
      return false;
    }
    const uint64_t offset = address + done - r->address;
    const std::size_t n = std::min<std::size_t>(len - done, r->bytes.size() - offset);
    std::memcpy(out + done, r->bytes.data() + offset, n);
    done += n;
  }
  return true;
}

bool ElfImageMemory::write(uint64_t address, const uint8_t* data, std::size_t len,
                           std::string& error) {
  std::size_t done = 0;
  // Check first, so that a failed write changes nothing.
  while (done < len) {
    Region* r = find(address + done);
    if (r == nullptr) {
      error = "not in the program's file image";
      return false;
    }
    done += std::min<std::size_t>(len - done, r->bytes.size() - (address + done - r->address));
  }
  for (done = 0; done < len;) {
    Region* r = find(address + done);
    const uint64_t offset = address + done - r->address;
    const std::size_t n = std::min<std::size_t>(len - done, r->bytes.size() - offset);
    std::memcpy(r->bytes.data() + offset, data + done, n);
    done += n;
  }
  return true;
}
