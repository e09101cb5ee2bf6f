// Opens a program's ELF and reads what formulas need from its DWARF: global and file-static
// variables, functions, enumerators, typedefs and struct/union/enum tags, with their types.
//
// The DWARF is read with elfutils' libdw (Debian's libdw-dev) rather than libdwarf: libdw is
// the reader the GNU toolchain's own tools are maintained against, handles every DWARF
// version, compressed sections, type units and split forms (DW_OP_addrx) for us, and its
// *_integrate calls follow DW_AT_specification and DW_AT_abstract_origin, which is exactly
// what resolving a declaration to its definition needs. Its companion libelf gives the
// sections and the symbol table from the same open file.
//
// Everything is converted into the evaluator's own types while the file is open, and libdw is
// closed again: an evaluation then never touches libdw, costs no DWARF decoding, and the
// result is immutable.
#include "eval/program.h"

#include <dwarf.h>
#include <elfutils/libdw.h>
#include <fcntl.h>
#include <gelf.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

using namespace rsp_eval;

namespace {

// Deeper type nesting than this only comes from a damaged or hostile file; such a type reads
// as void rather than exhausting the stack.
constexpr int kMaxTypeDepth = 256;

// How a name was found, best first: the debugger's order for a lookup without a current
// compile unit (globals, then the first unit's file-level names, then declarations whose
// storage only the ELF symbol table gives).
enum Rank { kGlobal = 0, kFileStatic = 1, kDeclaration = 2, kElfOnly = 3 };

struct Candidate {
  Symbol symbol;
  Rank rank = kElfOnly;
  bool code = false;        // a function rather than a variable
  bool has_address = false; // a declaration whose storage the symbol table gave
};

const char* integrated_name(Dwarf_Die* die) {
  Dwarf_Attribute attr;
  if (dwarf_attr_integrate(die, DW_AT_name, &attr) == nullptr) {
    return nullptr;
  }
  return dwarf_formstring(&attr);
}

bool integrated_flag(Dwarf_Die* die, unsigned int name) {
  Dwarf_Attribute attr;
  bool value = false;
  if (dwarf_attr_integrate(die, name, &attr) == nullptr || dwarf_formflag(&attr, &value) != 0) {
    return false;
  }
  return value;
}

bool own_flag(Dwarf_Die* die, unsigned int name) {
  Dwarf_Attribute attr;
  bool value = false;
  if (dwarf_attr(die, name, &attr) == nullptr || dwarf_formflag(&attr, &value) != 0) {
    return false;
  }
  return value;
}

bool unsigned_attr(Dwarf_Die* die, unsigned int name, uint64_t& out) {
  Dwarf_Attribute attr;
  Dwarf_Word value = 0;
  if (dwarf_attr_integrate(die, name, &attr) == nullptr || dwarf_formudata(&attr, &value) != 0) {
    return false;
  }
  out = value;
  return true;
}

bool is_constant_form(unsigned int form) {
  switch (form) {
  case DW_FORM_data1:
  case DW_FORM_data2:
  case DW_FORM_data4:
  case DW_FORM_data8:
  case DW_FORM_sdata:
  case DW_FORM_udata:
  case DW_FORM_implicit_const:
    return true;
  default:
    return false;
  }
}

// A constant attribute as a number. The fixed-size data forms carry no sign; they are read
// as the type they belong to says (signed when `is_signed`).
bool constant_attr(Dwarf_Attribute* attr, bool is_signed, int64_t& out) {
  const unsigned int form = dwarf_whatform(attr);
  if (form == DW_FORM_sdata || form == DW_FORM_implicit_const) {
    Dwarf_Sword v = 0;
    if (dwarf_formsdata(attr, &v) != 0) {
      return false;
    }
    out = v;
    return true;
  }
  Dwarf_Word v = 0;
  if (dwarf_formudata(attr, &v) != 0) {
    return false;
  }
  int bits = 64;
  switch (form) {
  case DW_FORM_data1:
    bits = 8;
    break;
  case DW_FORM_data2:
    bits = 16;
    break;
  case DW_FORM_data4:
    bits = 32;
    break;
  default:
    break;
  }
  if (bits < 64) {
    v &= (uint64_t{1} << bits) - 1;
    if (is_signed && (v >> (bits - 1)) != 0) {
      v |= ~((uint64_t{1} << bits) - 1);
    }
  }
  out = static_cast<int64_t>(v);
  return true;
}

// The address of a variable whose location is one DW_OP_addr (or its split form); false for
// anything else (locals, TLS, optimised-out objects).
bool static_address(Dwarf_Die* die, uint64_t& address) {
  Dwarf_Attribute attr;
  if (dwarf_attr_integrate(die, DW_AT_location, &attr) == nullptr) {
    return false;
  }
  Dwarf_Op* ops = nullptr;
  size_t n = 0;
  if (dwarf_getlocation(&attr, &ops, &n) != 0 || n != 1) {
    return false;
  }
  if (ops[0].atom == DW_OP_addr) {
    address = ops[0].number;
    return true;
  }
  if (ops[0].atom == DW_OP_addrx || ops[0].atom == DW_OP_GNU_addr_index) {
    Dwarf_Attribute addr_attr;
    Dwarf_Addr a = 0;
    if (dwarf_getlocation_attr(&attr, &ops[0], &addr_attr) == 0 &&
        dwarf_formaddr(&addr_attr, &a) == 0) {
      address = a;
      return true;
    }
  }
  return false;
}

class Loader {
public:
  explicit Loader(ProgramSymbols& program) : p_(program) {}

  bool read_elf(Elf* elf, std::string& error);
  void read_dwarf(Dwarf* dw);
  void finish();

private:
  const Type* convert(Dwarf_Die* die);
  const Type* convert_uncached(Dwarf_Die* die, Dwarf_Off offset);
  const Type* type_of(Dwarf_Die* die); // the DIE's DW_AT_type, void when absent
  void members(Dwarf_Die* die, Type& t);
  void enumerators(Dwarf_Die* die, Type& t, bool underlying_signed);
  void function_params(Dwarf_Die* die, Type& t);
  const Type* array(Dwarf_Die* die);
  void top_level(Dwarf_Die* die);
  void variable(Dwarf_Die* die);
  void function(Dwarf_Die* die);
  void register_tag(Dwarf_Die* die, const Type* t);
  void offer(const char* name, Candidate c);

  ProgramSymbols& p_;
  std::unordered_map<Dwarf_Off, const Type*> converted_;
  std::vector<Type*> incomplete_;
  NameMap<Candidate> candidates_;
  int depth_ = 0;
  const Type* dwarf_char_ = nullptr;
  uint64_t dwarf_address_size_ = 0;
};

bool Loader::read_elf(Elf* elf, std::string& error) {
  GElf_Ehdr ehdr;
  if (gelf_getehdr(elf, &ehdr) == nullptr) {
    error = "not an ELF file";
    return false;
  }
  p_.big_endian = ehdr.e_ident[EI_DATA] == ELFDATA2MSB;
  p_.address_size = ehdr.e_ident[EI_CLASS] == ELFCLASS64 ? 8 : 4;
  p_.machine = ehdr.e_machine;
  p_.thumb_bit = ehdr.e_machine == EM_ARM;

  Elf_Scn* scn = nullptr;
  while ((scn = elf_nextscn(elf, scn)) != nullptr) {
    GElf_Shdr shdr;
    if (gelf_getshdr(scn, &shdr) == nullptr) {
      continue;
    }
    const uint32_t index = static_cast<uint32_t>(elf_ndxscn(scn));
    if ((shdr.sh_flags & SHF_ALLOC) != 0 && shdr.sh_size > 0) {
      p_.sections.push_back(
          {shdr.sh_addr, shdr.sh_size, index, (shdr.sh_flags & SHF_EXECINSTR) != 0});
    }
    if (shdr.sh_type != SHT_SYMTAB || shdr.sh_entsize == 0) {
      continue;
    }
    Elf_Data* data = elf_getdata(scn, nullptr);
    if (data == nullptr) {
      continue;
    }
    const size_t count = shdr.sh_size / shdr.sh_entsize;
    for (size_t i = 1; i < count; ++i) {
      GElf_Sym sym;
      if (gelf_getsym(data, static_cast<int>(i), &sym) == nullptr) {
        continue;
      }
      const int type = GELF_ST_TYPE(sym.st_info);
      const int bind = GELF_ST_BIND(sym.st_info);
      if (type == STT_SECTION || type == STT_FILE || sym.st_shndx == SHN_UNDEF ||
          sym.st_shndx >= SHN_LORESERVE) {
        continue;
      }
      const char* name = elf_strptr(elf, shdr.sh_link, sym.st_name);
      // ARM's mapping symbols ($t, $d, $a) mark code and data, they name nothing.
      if (name == nullptr || name[0] == '\0' || name[0] == '$') {
        continue;
      }
      uint64_t address = sym.st_value;
      if (p_.thumb_bit && type == STT_FUNC) {
        address &= ~uint64_t{1};
      }
      p_.elf_symbols.push_back(
          {address, sym.st_size, sym.st_shndx, bind == STB_GLOBAL || bind == STB_WEAK, name});
      Candidate c;
      c.rank = kElfOnly;
      c.code = type == STT_FUNC;
      c.symbol.address = address;
      offer(name, std::move(c));
    }
  }
  std::sort(p_.sections.begin(), p_.sections.end(),
            [](const ElfSection& a, const ElfSection& b) { return a.address < b.address; });
  std::stable_sort(p_.elf_symbols.begin(), p_.elf_symbols.end(),
                   [](const ElfSymbol& a, const ElfSymbol& b) {
                     return a.section != b.section ? a.section < b.section : a.address < b.address;
                   });
  return true;
}

void Loader::offer(const char* name, Candidate c) {
  if (name == nullptr || name[0] == '\0') {
    return;
  }
  auto it = candidates_.find(std::string_view(name));
  if (it == candidates_.end()) {
    candidates_.emplace(name, std::move(c));
  } else if (c.rank < it->second.rank) {
    // The symbol table (read first) gives a declaration the storage its definition has.
    if (c.rank == kDeclaration && it->second.rank == kElfOnly) {
      c.symbol.address = it->second.symbol.address;
      c.has_address = true;
    }
    it->second = std::move(c);
  }
}

const Type* Loader::type_of(Dwarf_Die* die) {
  Dwarf_Attribute attr;
  Dwarf_Die target;
  if (dwarf_attr_integrate(die, DW_AT_type, &attr) == nullptr ||
      dwarf_formref_die(&attr, &target) == nullptr) {
    return p_.builtin.void_type;
  }
  return convert(&target);
}

const Type* Loader::convert(Dwarf_Die* die) {
  const Dwarf_Off offset = dwarf_dieoffset(die);
  auto it = converted_.find(offset);
  if (it != converted_.end()) {
    return it->second;
  }
  if (depth_ >= kMaxTypeDepth) {
    return p_.builtin.void_type;
  }
  ++depth_;
  const Type* t = convert_uncached(die, offset);
  --depth_;
  converted_.emplace(offset, t);
  return t;
}

const Type* Loader::convert_uncached(Dwarf_Die* die, Dwarf_Off offset) {
  const int tag = dwarf_tag(die);
  const char* name = dwarf_diename(die);
  uint64_t size = 0;
  const bool has_size = unsigned_attr(die, DW_AT_byte_size, size);
  switch (tag) {
  case DW_TAG_base_type: {
    uint64_t encoding = 0;
    unsigned_attr(die, DW_AT_encoding, encoding);
    TypeCode code = TypeCode::Int;
    if (encoding == DW_ATE_boolean) {
      code = TypeCode::Bool;
    } else if (encoding == DW_ATE_float) {
      code = TypeCode::Float;
    }
    Type& t = p_.new_type(code);
    t.name = name != nullptr ? name : "";
    t.size = size;
    t.is_unsigned = encoding == DW_ATE_unsigned || encoding == DW_ATE_unsigned_char ||
                    encoding == DW_ATE_boolean || encoding == DW_ATE_UTF;
    t.is_char = encoding == DW_ATE_signed_char || encoding == DW_ATE_unsigned_char;
    if (t.is_char && t.name == "char" && dwarf_char_ == nullptr) {
      dwarf_char_ = &t;
    }
    return &t;
  }
  case DW_TAG_pointer_type:
  case DW_TAG_reference_type:
  case DW_TAG_rvalue_reference_type: {
    Type& t = p_.new_type(TypeCode::Pointer);
    t.size = has_size ? size : (dwarf_address_size_ != 0 ? dwarf_address_size_ : p_.address_size);
    converted_.emplace(offset, &t); // a struct may point to itself
    t.target = type_of(die);
    return &t;
  }
  case DW_TAG_const_type:
  case DW_TAG_volatile_type: {
    Type& t = p_.new_type(tag == DW_TAG_const_type ? TypeCode::Const : TypeCode::Volatile);
    converted_.emplace(offset, &t);
    t.target = type_of(die);
    t.size = t.target->size;
    return &t;
  }
  case DW_TAG_restrict_type:
  case DW_TAG_atomic_type:
  case DW_TAG_immutable_type:
    // Qualifiers that change nothing a formula can observe.
    return type_of(die);
  case DW_TAG_typedef: {
    Type& t = p_.new_type(TypeCode::Typedef);
    t.name = name != nullptr ? name : "";
    converted_.emplace(offset, &t);
    t.target = type_of(die);
    t.size = t.target->size;
    return &t;
  }
  case DW_TAG_structure_type:
  case DW_TAG_class_type:
  case DW_TAG_union_type: {
    Type& t = p_.new_type(tag == DW_TAG_union_type ? TypeCode::Union : TypeCode::Struct);
    t.name = name != nullptr ? name : "";
    t.size = size;
    converted_.emplace(offset, &t);
    if (own_flag(die, DW_AT_declaration)) {
      t.incomplete = true;
      incomplete_.push_back(&t);
    } else {
      members(die, t);
    }
    return &t;
  }
  case DW_TAG_enumeration_type: {
    Type& t = p_.new_type(TypeCode::Enum);
    t.name = name != nullptr ? name : "";
    t.size = has_size ? size : 4;
    converted_.emplace(offset, &t);
    bool underlying_signed = false;
    const Type* underlying = strip(type_of(die));
    if (underlying->code == TypeCode::Int) {
      underlying_signed = !underlying->is_unsigned;
    }
    if (own_flag(die, DW_AT_declaration)) {
      t.incomplete = true;
      incomplete_.push_back(&t);
    } else {
      enumerators(die, t, underlying_signed);
    }
    return &t;
  }
  case DW_TAG_array_type:
    return array(die);
  case DW_TAG_subroutine_type:
  case DW_TAG_subprogram: {
    Type& t = p_.new_type(TypeCode::Function);
    t.size = 1;
    converted_.emplace(offset, &t);
    t.target = type_of(die);
    t.prototyped = integrated_flag(die, DW_AT_prototyped);
    function_params(die, t);
    return &t;
  }
  default:
    return p_.builtin.void_type;
  }
}

void Loader::members(Dwarf_Die* die, Type& t) {
  Dwarf_Die child;
  if (dwarf_child(die, &child) != 0) {
    return;
  }
  do {
    if (dwarf_tag(&child) != DW_TAG_member) {
      continue;
    }
    Member m;
    const char* name = dwarf_diename(&child);
    m.name = name != nullptr ? name : "";
    m.type = type_of(&child);
    uint64_t byte_offset = 0;
    Dwarf_Attribute attr;
    if (dwarf_attr(&child, DW_AT_data_member_location, &attr) != nullptr) {
      if (is_constant_form(dwarf_whatform(&attr))) {
        Dwarf_Word v = 0;
        if (dwarf_formudata(&attr, &v) == 0) {
          byte_offset = v;
        }
      } else {
        // Older producers write the offset as a location expression.
        Dwarf_Op* ops = nullptr;
        size_t n = 0;
        if (dwarf_getlocation(&attr, &ops, &n) == 0 && n == 1 &&
            (ops[0].atom == DW_OP_plus_uconst || ops[0].atom == DW_OP_constu)) {
          byte_offset = ops[0].number;
        }
      }
    }
    m.bit_pos = byte_offset * 8;
    uint64_t bit_size = 0;
    if (unsigned_attr(&child, DW_AT_bit_size, bit_size) && bit_size > 0 && bit_size <= 64) {
      m.bit_size = static_cast<uint32_t>(bit_size);
      uint64_t v = 0;
      if (unsigned_attr(&child, DW_AT_data_bit_offset, v)) {
        m.bit_pos = v;
      } else if (unsigned_attr(&child, DW_AT_bit_offset, v)) {
        // DWARF 2 and 3 count from the most significant bit of the storage unit.
        uint64_t storage = 0;
        if (!unsigned_attr(&child, DW_AT_byte_size, storage)) {
          storage = strip(m.type)->size;
        }
        if (p_.big_endian) {
          m.bit_pos = byte_offset * 8 + v;
        } else {
          m.bit_pos = byte_offset * 8 + storage * 8 - v - bit_size;
        }
      }
    }
    t.members.push_back(std::move(m));
  } while (dwarf_siblingof(&child, &child) == 0);
}

void Loader::enumerators(Dwarf_Die* die, Type& t, bool underlying_signed) {
  Dwarf_Die child;
  bool any_negative = false;
  bool disjoint = true;
  uint64_t mask = 0;
  if (dwarf_child(die, &child) == 0) {
    do {
      if (dwarf_tag(&child) != DW_TAG_enumerator) {
        continue;
      }
      Dwarf_Attribute attr;
      int64_t value = 0;
      if (dwarf_attr(&child, DW_AT_const_value, &attr) == nullptr ||
          !constant_attr(&attr, underlying_signed, value)) {
        continue;
      }
      const char* name = dwarf_diename(&child);
      t.enumerators.push_back({name != nullptr ? name : "", value});
      if (value < 0) {
        any_negative = true;
      } else if ((mask & static_cast<uint64_t>(value)) != 0) {
        disjoint = false;
      } else {
        mask |= static_cast<uint64_t>(value);
      }
    } while (dwarf_siblingof(&child, &child) == 0);
  }
  // As the debugger has it: an enum without negative values is unsigned, and one whose
  // values use disjoint bits is a set of flags.
  t.is_unsigned = !any_negative;
  t.flag_enum = !any_negative && disjoint;
}

void Loader::function_params(Dwarf_Die* die, Type& t) {
  Dwarf_Die child;
  if (dwarf_child(die, &child) != 0) {
    return;
  }
  do {
    const int tag = dwarf_tag(&child);
    if (tag == DW_TAG_formal_parameter) {
      t.params.push_back(type_of(&child));
    } else if (tag == DW_TAG_unspecified_parameters) {
      t.varargs = true;
    }
  } while (dwarf_siblingof(&child, &child) == 0);
}

const Type* Loader::array(Dwarf_Die* die) {
  std::vector<int64_t> counts;
  Dwarf_Die child;
  if (dwarf_child(die, &child) == 0) {
    do {
      const int tag = dwarf_tag(&child);
      if (tag != DW_TAG_subrange_type && tag != DW_TAG_enumeration_type) {
        continue;
      }
      int64_t count = -1;
      uint64_t v = 0;
      Dwarf_Attribute attr;
      if (dwarf_attr(&child, DW_AT_count, &attr) != nullptr &&
          is_constant_form(dwarf_whatform(&attr)) && unsigned_attr(&child, DW_AT_count, v)) {
        count = static_cast<int64_t>(v);
      } else if (dwarf_attr(&child, DW_AT_upper_bound, &attr) != nullptr &&
                 is_constant_form(dwarf_whatform(&attr))) {
        int64_t upper = 0;
        uint64_t lower = 0;
        unsigned_attr(&child, DW_AT_lower_bound, lower);
        if (constant_attr(&attr, true, upper) && upper >= static_cast<int64_t>(lower) - 1) {
          count = upper - static_cast<int64_t>(lower) + 1;
        }
      }
      counts.push_back(count);
    } while (dwarf_siblingof(&child, &child) == 0);
  }
  if (counts.empty()) {
    counts.push_back(-1);
  }
  const Type* element = type_of(die);
  // int a[2][3] is an array of 2 arrays of 3: build from the last dimension outwards.
  for (size_t i = counts.size(); i-- > 0;) {
    Type& t = p_.new_type(TypeCode::Array);
    t.target = element;
    t.count = counts[i];
    const uint64_t elem_size = strip(element)->size;
    t.size = t.count > 0 ? static_cast<uint64_t>(t.count) * elem_size : 0;
    element = &t;
  }
  return element;
}

void Loader::register_tag(Dwarf_Die* die, const Type* t) {
  const char* name = dwarf_diename(die);
  if (name == nullptr || t->incomplete) {
    return;
  }
  NameMap<const Type*>* map = &p_.struct_tags;
  if (t->code == TypeCode::Union) {
    map = &p_.union_tags;
  } else if (t->code == TypeCode::Enum) {
    map = &p_.enum_tags;
  }
  map->emplace(name, t);
}

void Loader::variable(Dwarf_Die* die) {
  const char* name = integrated_name(die);
  if (name == nullptr) {
    return;
  }
  Candidate c;
  c.symbol.type = type_of(die);
  const bool external = integrated_flag(die, DW_AT_external);
  uint64_t address = 0;
  Dwarf_Attribute attr;
  if (static_address(die, address)) {
    c.symbol.kind = Symbol::Kind::Variable;
    c.symbol.address = address;
    c.rank = external ? kGlobal : kFileStatic;
  } else if (dwarf_attr_integrate(die, DW_AT_const_value, &attr) != nullptr) {
    c.symbol.kind = Symbol::Kind::Constant;
    const Type* s = strip(c.symbol.type);
    Dwarf_Block block;
    int64_t v = 0;
    if (is_constant_form(dwarf_whatform(&attr))) {
      if (!constant_attr(&attr, is_integral(s) && !s->is_unsigned, v) || s->size > 8) {
        return;
      }
      for (uint64_t i = 0; i < s->size; ++i) {
        const int shift = static_cast<int>(8 * (p_.big_endian ? s->size - 1 - i : i));
        c.symbol.const_bytes.push_back(static_cast<uint8_t>(static_cast<uint64_t>(v) >> shift));
      }
    } else if (dwarf_formblock(&attr, &block) == 0 && block.length == s->size) {
      c.symbol.const_bytes.assign(block.data, block.data + block.length);
    } else {
      return;
    }
    c.rank = external ? kGlobal : kFileStatic;
  } else {
    // A declaration, or a definition the compiler dropped: the ELF symbol gives the storage.
    c.symbol.kind = Symbol::Kind::Variable;
    c.rank = kDeclaration;
  }
  offer(name, std::move(c));
}

void Loader::function(Dwarf_Die* die) {
  const char* name = integrated_name(die);
  if (name == nullptr) {
    return;
  }
  Candidate c;
  c.symbol.kind = Symbol::Kind::Function;
  c.symbol.type = convert(die);
  c.code = true;
  Dwarf_Addr low = 0;
  if (!own_flag(die, DW_AT_declaration) && dwarf_lowpc(die, &low) == 0) {
    c.symbol.address = low;
    c.rank = integrated_flag(die, DW_AT_external) ? kGlobal : kFileStatic;
  } else {
    c.rank = kDeclaration;
  }
  offer(name, std::move(c));
}

void Loader::top_level(Dwarf_Die* die) {
  switch (dwarf_tag(die)) {
  case DW_TAG_variable:
    variable(die);
    break;
  case DW_TAG_subprogram:
    function(die);
    break;
  case DW_TAG_typedef: {
    const Type* t = convert(die);
    const char* name = dwarf_diename(die);
    if (name != nullptr) {
      p_.typedefs.emplace(name, t);
    }
    break;
  }
  case DW_TAG_structure_type:
  case DW_TAG_union_type:
  case DW_TAG_enumeration_type: {
    const Type* t = convert(die);
    register_tag(die, t);
    if (t->code == TypeCode::Enum) {
      for (const Enumerator& e : t->enumerators) {
        Candidate c;
        c.symbol.kind = Symbol::Kind::Enumerator;
        c.symbol.type = t;
        c.symbol.enum_value = e.value;
        c.rank = kFileStatic;
        offer(e.name.c_str(), std::move(c));
      }
    }
    if (t->code != TypeCode::Enum) {
      // C puts tags and enumerators declared inside a struct at file scope.
      Dwarf_Die child;
      if (dwarf_child(die, &child) == 0) {
        do {
          const int tag = dwarf_tag(&child);
          if (tag == DW_TAG_structure_type || tag == DW_TAG_union_type ||
              tag == DW_TAG_enumeration_type) {
            top_level(&child);
          }
        } while (dwarf_siblingof(&child, &child) == 0);
      }
    }
    break;
  }
  default:
    break;
  }
}

void Loader::read_dwarf(Dwarf* dw) {
  Dwarf_CU* cu = nullptr;
  Dwarf_CU* next = nullptr;
  Dwarf_Half version = 0;
  uint8_t unit_type = 0;
  Dwarf_Die cudie;
  Dwarf_Die subdie;
  while (dwarf_get_units(dw, cu, &next, &version, &unit_type, &cudie, &subdie) == 0) {
    cu = next;
    if (unit_type != DW_UT_compile && unit_type != DW_UT_partial) {
      continue; // type units are reached through the references into them
    }
    uint8_t address_size = 0;
    if (dwarf_cu_info(cu, nullptr, nullptr, nullptr, nullptr, nullptr, &address_size, nullptr) ==
        0) {
      dwarf_address_size_ = address_size;
    }
    Dwarf_Die child;
    if (dwarf_child(&cudie, &child) != 0) {
      continue;
    }
    do {
      top_level(&child);
    } while (dwarf_siblingof(&child, &child) == 0);
  }
}

Type& builtin(ProgramSymbols& p, TypeCode code, const char* name, uint64_t size, bool is_unsigned,
              bool is_char = false) {
  Type& t = p.new_type(code);
  t.name = name;
  t.size = size;
  t.is_unsigned = is_unsigned;
  t.is_char = is_char;
  return t;
}

// Where the ABI makes plain char unsigned; the program's own DWARF overrides this.
bool machine_char_unsigned(uint16_t machine) {
  switch (machine) {
  case EM_ARM:
  case EM_AARCH64:
  case EM_PPC:
  case EM_PPC64:
  case EM_S390:
  case EM_RISCV:
    return true;
  default:
    return false;
  }
}

// long double as the ABI sizes it; 8 where it is double.
uint64_t long_double_size(uint16_t machine, int address_size) {
  switch (machine) {
  case EM_X86_64:
  case EM_AARCH64:
  case EM_PPC64:
  case EM_S390:
    return 16;
  case EM_386:
    return 12;
  case EM_RISCV:
    return address_size == 8 ? 16 : 8;
  default:
    return 8;
  }
}

void make_builtins(ProgramSymbols& p) {
  BuiltinTypes& b = p.builtin;
  const uint64_t long_size = p.address_size == 8 ? 8 : 4;
  b.void_type = &builtin(p, TypeCode::Void, "void", 1, false);
  b.bool_type = &builtin(p, TypeCode::Bool, "_Bool", 1, true);
  b.char_type = &builtin(p, TypeCode::Int, "char", 1, machine_char_unsigned(p.machine), true);
  b.schar = &builtin(p, TypeCode::Int, "signed char", 1, false, true);
  b.uchar = &builtin(p, TypeCode::Int, "unsigned char", 1, true, true);
  b.short_type = &builtin(p, TypeCode::Int, "short", 2, false);
  b.ushort = &builtin(p, TypeCode::Int, "unsigned short", 2, true);
  b.int_type = &builtin(p, TypeCode::Int, "int", 4, false);
  b.uint = &builtin(p, TypeCode::Int, "unsigned int", 4, true);
  b.long_type = &builtin(p, TypeCode::Int, "long", long_size, false);
  b.ulong = &builtin(p, TypeCode::Int, "unsigned long", long_size, true);
  b.llong = &builtin(p, TypeCode::Int, "long long", 8, false);
  b.ullong = &builtin(p, TypeCode::Int, "unsigned long long", 8, true);
  b.float_type = &builtin(p, TypeCode::Float, "float", 4, false);
  b.double_type = &builtin(p, TypeCode::Float, "double", 8, false);
  b.long_double = &builtin(p, TypeCode::Float, "long double",
                           long_double_size(p.machine, p.address_size), false);
  b.nodebug_data = &builtin(p, TypeCode::NoDebugData, "<data variable, no debug info>", 4, false);
  b.nodebug_text = &builtin(p, TypeCode::NoDebugText, "<text variable, no debug info>", 1, false);
}

void Loader::finish() {
  if (dwarf_char_ != nullptr) {
    const_cast<Type*>(p_.builtin.char_type)->is_unsigned = dwarf_char_->is_unsigned;
  }
  for (Type* t : incomplete_) {
    const NameMap<const Type*>& map = t->code == TypeCode::Union  ? p_.union_tags
                                      : t->code == TypeCode::Enum ? p_.enum_tags
                                                                  : p_.struct_tags;
    t->complete = ProgramSymbols::find_in(map, t->name);
  }
  for (auto& [name, c] : candidates_) {
    if (c.rank == kElfOnly) {
      c.symbol.kind = c.code ? Symbol::Kind::Function : Symbol::Kind::Variable;
      c.symbol.type = c.code ? p_.builtin.nodebug_text : p_.builtin.nodebug_data;
    } else if (c.rank == kDeclaration && !c.has_address) {
      // Declared but stored nowhere: the name stays unknown, as it is to the linker.
      continue;
    }
    p_.symbols.emplace(name, std::move(c.symbol));
  }
}

} // namespace

void ProgramSymbolsDeleter::operator()(ProgramSymbols* p) const {
  delete p;
}

bool program_is_big_endian(const ProgramSymbols& program) {
  return program.big_endian;
}
int program_address_size(const ProgramSymbols& program) {
  return program.address_size;
}

namespace {

struct ElfFile {
  int fd = -1;
  Elf* elf = nullptr;
  Dwarf* dwarf = nullptr;
  ~ElfFile() {
    if (dwarf != nullptr) {
      dwarf_end(dwarf);
    }
    if (elf != nullptr) {
      elf_end(elf);
    }
    if (fd >= 0) {
      close(fd);
    }
  }
};

} // namespace

ProgramSymbolsPtr open_program_symbols(const std::string& elf_path, std::string& error) {
  elf_version(EV_CURRENT);
  ElfFile file;
  file.fd = open(elf_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file.fd < 0) {
    error = "cannot open " + elf_path + ": " + std::strerror(errno);
    return nullptr;
  }
  file.elf = elf_begin(file.fd, ELF_C_READ_MMAP, nullptr);
  if (file.elf == nullptr || elf_kind(file.elf) != ELF_K_ELF) {
    error = elf_path + " is not an ELF file";
    return nullptr;
  }
  ProgramSymbolsPtr program(new ProgramSymbols);
  Loader loader(*program);
  std::string reason;
  if (!loader.read_elf(file.elf, reason)) {
    error = elf_path + ": " + reason;
    return nullptr;
  }
  // Sized by the ELF header: long and pointers follow the address size.
  make_builtins(*program);
  file.dwarf = dwarf_begin_elf(file.elf, DWARF_C_READ, nullptr);
  if (file.dwarf == nullptr) {
    error = elf_path + " has no debug information (" + dwarf_errmsg(-1) + ")";
    return nullptr;
  }
  loader.read_dwarf(file.dwarf);
  loader.finish();
  return program;
}

const ElfSymbol* ProgramSymbols::symbol_at(uint64_t address, bool code, uint64_t& offset) const {
  if (code && thumb_bit) {
    address &= ~uint64_t{1};
  }
  auto sec = std::upper_bound(sections.begin(), sections.end(), address,
                              [](uint64_t a, const ElfSection& s) { return a < s.address; });
  if (sec == sections.begin()) {
    return nullptr;
  }
  --sec;
  if (address - sec->address >= sec->size) {
    return nullptr;
  }
  const uint32_t index = sec->index;
  auto it = std::upper_bound(elf_symbols.begin(), elf_symbols.end(), std::pair{index, address},
                             [](const std::pair<uint32_t, uint64_t>& key, const ElfSymbol& s) {
                               return key.first != s.section ? key.first < s.section
                                                             : key.second < s.address;
                             });
  if (it == elf_symbols.begin()) {
    return nullptr;
  }
  --it;
  if (it->section != index) {
    return nullptr;
  }
  // Several symbols may share the address: one whose extent covers it wins, a global one
  // before a local; a sized symbol that ends before the address names nothing.
  const ElfSymbol* best = nullptr;
  const uint64_t at = it->address;
  for (;; --it) {
    const ElfSymbol& s = *it;
    const bool covers = s.size == 0 || address - s.address < s.size;
    if (covers) {
      const bool better = best == nullptr || (best->size == 0 && s.size != 0) ||
                          (best->size == s.size && s.global && !best->global);
      if (better) {
        best = &s;
      }
    }
    if (it == elf_symbols.begin() || std::prev(it)->address != at ||
        std::prev(it)->section != index) {
      break;
    }
  }
  if (best != nullptr) {
    offset = address - best->address;
  }
  return best;
}
