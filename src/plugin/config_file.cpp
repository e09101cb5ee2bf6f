// Saving and replaying the configuration file.
#include "plugin/config_file.h"

#include "awareness/attribute_eval.h"
#include "awareness/osa_trace.h"
#include "awareness/task_registers.h"
#include "plugin/command_args.h"
#include "plugin/command_table.h"
#include "runtime/format.h"
#include "runtime/platform.h"

#include <cerrno>
#include <cstdio>
#include <string_view>

namespace {

inline constexpr const char* kConfigFileDescription = "ORTI OSA Config File";

// mapregloc strips one pair of double quotes from a formula (and a name) that begins and ends
// with one; such a text is written inside one more pair so that the replay gives it back.
std::string replay_safe(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    return "\"" + text + "\"";
  }
  return text;
}

// A register name as mapregloc2 reads it back: one word.
bool is_one_word(std::string_view name) {
  if (name.empty()) {
    return false;
  }
  for (const char c : name) {
    if (is_command_space(c)) {
      return false;
    }
  }
  return true;
}

void add_register_names(const PluginState& state, ConfigText& out) {
  for (const RegisterNameEntry& entry : state.register_names) {
    // Names are kept newest first and mapregname puts a new name first, so they are written
    // oldest first: the replay then gives the id its names in the same order.
    std::size_t count = 0;
    while (count < entry.names.size() && !entry.names[count].empty()) {
      ++count;
    }
    for (std::size_t i = count; i-- > 0;) {
      const std::string& name = entry.names[i];
      if (holds_line_break(name)) {
        out.skipped.push_back(format("A name of register %d holds a line break; it is not saved\n",
                                     static_cast<int>(entry.id)));
        continue;
      }
      out.lines.push_back(format("mapregname %d %s\n", static_cast<int>(entry.id), name.c_str()));
    }
  }
}

void add_register_locations(const PluginState& state, ConfigText& out) {
  for (const UserRegisterLocation& location : user_register_locations(state)) {
    const int context = static_cast<int>(location.context_index);
    if (!is_one_word(location.name) || holds_line_break(location.formula) ||
        only_spaces(location.formula)) {
      out.skipped.push_back(format("The location of register %s of context %d cannot be "
                                   "written as a command line; it is not saved\n",
                                   location.name.c_str(), context));
      continue;
    }
    out.lines.push_back(format("mapregloc2 %d %s %s\n", context, replay_safe(location.name).c_str(),
                               replay_safe(location.formula).c_str()));
  }
}

// The path of the loaded ORTI file as given, or null when none was ever loaded.
const std::string* orti_path(const PluginState& state) {
  return state.orti.tree.file_name ? &*state.orti.tree.file_name : nullptr;
}

// Where the last component of a path begins: after the last "/" or "\\", or after a leading
// drive letter and colon.
std::size_t last_component_start(const std::string& path) {
  std::size_t start = 0;
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    start = 2;
  }
  const std::size_t separator = path.find_last_of("/\\");
  if (separator != std::string::npos && separator + 1 > start) {
    start = separator + 1;
  }
  return start;
}

// The file a command names, or the default one; false (with the usage shown) when there is
// neither.
bool config_path(OSA_ServiceCntx* ctx, const PluginState& state, const std::string& args,
                 const char* command, bool for_save, std::string* path) {
  const std::string_view given = skip_spaces(args);
  if (!given.empty()) {
    *path = std::string(given);
    return true;
  }
  const std::string* orti = orti_path(state);
  if (orti == nullptr) {
    osa_display(ctx, kMessageTypeUser,
                format("No ORTI file is loaded, so there is no default configuration file.\n"
                       "Usage: %s FILE\n",
                       command));
    return false;
  }
  const std::string name = default_config_name(*orti);
  if (for_save) {
    const std::string config_dir = platform_user_config_dir();
    // A directory that cannot be made shows up as the file that cannot be opened.
    platform_make_directories(config_dir);
    *path = platform_join_path(config_dir, name);
    return true;
  }
  // The ORTI file's directory keeps its separator, so the name is simply appended. The user's
  // configuration directory is looked up only when no file stands there: a file that loads
  // itself asks for its own path once per level.
  *path = orti->substr(0, last_component_start(*orti));
  *path += name;
  if (!platform_is_regular_file(*path)) {
    *path = platform_join_path(platform_user_config_dir(), name);
  }
  return true;
}

void trace_open_failure(PluginState& state, OSA_ServiceCntx* ctx, bool for_writing,
                        const std::string& path, int error_number) {
  if (for_writing) {
    osa_trace(state, ctx, 0, "Could not open configuration file %s for writing\n", path.c_str());
  } else {
    osa_trace(state, ctx, 0, "Could not open configuration file %s for reading\n", path.c_str());
  }
  // The system's reason, which the fixed text above does not tell.
  osa_trace(state, ctx, 0, "%s %s: %s\n", kConfigFileDescription, path.c_str(),
            platform_error_text(error_number).c_str());
}

enum class LineRead { Line, End, Failed };

// One line of any length, without its line feed.
LineRead read_line(std::FILE* file, std::string* line) {
  line->clear();
  for (;;) {
    const int c = std::getc(file);
    if (c == EOF) {
      if (std::ferror(file)) {
        return LineRead::Failed;
      }
      return line->empty() ? LineRead::End : LineRead::Line;
    }
    if (c == '\n') {
      return LineRead::Line;
    }
    line->push_back(static_cast<char>(c));
  }
}

// Counts one configuration file being replayed for as long as it runs, on every path.
class ConfigDepth {
public:
  explicit ConfigDepth(PluginState& state) : state_(state) {
    if (state_.config_depth++ == 0) {
      state_.config_files = 0;
    }
    ++state_.config_files;
  }
  ~ConfigDepth() { --state_.config_depth; }
  ConfigDepth(const ConfigDepth&) = delete;
  ConfigDepth& operator=(const ConfigDepth&) = delete;

private:
  PluginState& state_;
};

bool replay(PluginState& state, OSA_ServiceCntx* ctx, std::FILE* file, const std::string& path) {
  std::string line;
  for (;;) {
    const LineRead read = read_line(file, &line);
    if (read == LineRead::End) {
      return true;
    }
    if (read == LineRead::Failed) {
      osa_trace(state, ctx, 0, "Error reading from %s\nAborting parsing of %s...\n", path.c_str(),
                path.c_str());
      return false;
    }
    std::string_view command = skip_spaces(line);
    command = command.substr(0, command.find_first_of("\r\n"));
    if (command.empty()) {
      continue;
    }
    // The command is ended in place, in the line's own buffer: no copy of each line.
    const auto begin = static_cast<std::size_t>(command.data() - line.data());
    line.resize(begin + command.size());
    const char* text = line.c_str() + begin;
    if (osa_cmd_execute(ctx, nullptr, &state, text) != 0) {
      osa_trace(state, ctx, 0, "Could not execute %s\nAborting parsing of %s...\n", text,
                path.c_str());
      return false;
    }
  }
}

} // namespace

std::string default_config_name(const std::string& orti_path) {
  return orti_path.substr(last_component_start(orti_path)) + ".cfg";
}

ConfigText config_text(const PluginState& state) {
  ConfigText out;
  if (state.suppress_context_errors) {
    out.lines.emplace_back("set suppress_context_errors\n");
  }
  add_register_names(state, out);
  add_register_locations(state, out);
  return out;
}

bool command_saveconfig(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  std::string path;
  if (!config_path(ctx, state, args, "saveconfig", true, &path)) {
    return false;
  }
  // Everything is copied out before the first message: a message is a service request, during
  // which a nested command may change the register names and locations.
  const ConfigText text = config_text(state);
  for (const std::string& warning : text.skipped) {
    osa_trace(state, ctx, 4, "%s", warning.c_str());
  }
  int error_number = 0;
  std::FILE* file = platform_open_regular_file(path, "wt", &error_number);
  if (file == nullptr) {
    trace_open_failure(state, ctx, true, path, error_number);
    return false;
  }
  for (const std::string& line : text.lines) {
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) {
      std::fclose(file);
      osa_trace(state, ctx, 0, "Error writing to %s\n", path.c_str());
      return false;
    }
  }
  // Buffered lines reach the file only now; a full disk shows here.
  if (std::fclose(file) != 0) {
    osa_trace(state, ctx, 0, "Error writing to %s\n", path.c_str());
    return false;
  }
  return true;
}

bool command_loadconfig(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  std::string path;
  if (!config_path(ctx, state, args, "loadconfig", false, &path)) {
    return false;
  }
  if (state.config_depth >= kMaxConfigDepth) {
    osa_trace(state, ctx, 0,
              "Configuration files nest more than %d deep (does one load itself?); %s is not "
              "loaded\n",
              static_cast<int>(kMaxConfigDepth), path.c_str());
    return false;
  }
  if (state.config_depth > 0 && state.config_files >= kMaxConfigFiles) {
    osa_trace(state, ctx, 0,
              "Configuration files load more than %d files in all (does one load itself?); %s "
              "is not loaded\n",
              static_cast<int>(kMaxConfigFiles), path.c_str());
    return false;
  }
  int error_number = 0;
  std::FILE* file = platform_open_regular_file(path, "r", &error_number);
  if (file == nullptr) {
    trace_open_failure(state, ctx, false, path, error_number);
    return false;
  }
  bool loaded = false;
  {
    ConfigDepth depth(state);
    loaded = replay(state, ctx, file, path);
  }
  std::fclose(file);
  if (loaded) {
    invalidate_caches(state);
  }
  return loaded;
}
