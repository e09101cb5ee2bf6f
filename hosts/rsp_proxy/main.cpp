// orti-proxy: the command line.
#include "formula_evaluator.h"
#include "proxy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "usage: orti-proxy --elf FILE --orti FILE --remote ADDRESS [--listen ADDRESS] [OPTIONS]\n"
    "\n"
    "Stands between GDB and a GDB server (QEMU's stub, OpenOCD, ...): every packet goes through,\n"
    "except that the tasks of the OS the ORTI file describes are shown as GDB threads, with the\n"
    "registers of switched-out tasks from their saved contexts, and 'monitor orti ...' shows\n"
    "the plug-in's views. ADDRESS is HOST:PORT, or the path of a Unix-domain socket (with a '/'\n"
    "in it, or written unix:PATH).\n"
    "\n"
    "  --elf FILE              the program with its debug information\n"
    "  --orti FILE             the ORTI file of its OS\n"
    "  --remote ADDRESS        the GDB server\n"
    "  --listen ADDRESS        where GDB connects (default 127.0.0.1:3334; port 0: a free one)\n"
    "  --plugin PATH           the plug-in program (default: $ORTI_PLUGIN, the one built with\n"
    "                          the proxy, osa_orti_plugin on the PATH)\n"
    "  --plugin-timeout SEC    how long each message of the plug-in is awaited (default 2)\n"
    "  --remote-timeout SEC    how long the server may take for the proxy's own requests\n"
    "                          (default 10)\n"
    "  --cpu-type N            the plug-in's CPU type (default: from the ELF; ARM is 24)\n"
    "  --once                  end when the first GDB session ends\n"
    "  --ready-file FILE       write the listening address into FILE once GDB can connect\n"
    "  --verbose               also show the plug-in's log copies of its messages\n"
    "  --help                  this text\n"
    "\n"
    "Exit status: 0 after a stop signal (or the session with --once), 1 when the server or the\n"
    "listening address cannot be used, 2 for a usage error.\n";

bool executable(const std::string& path) {
  struct stat st;
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::string default_plugin() {
  if (const char* env = std::getenv("ORTI_PLUGIN"); env != nullptr && *env != '\0') {
    return env;
  }
#ifdef ORTI_PROXY_PLUGIN
  if (executable(ORTI_PROXY_PLUGIN)) {
    return ORTI_PROXY_PLUGIN;
  }
#endif
  if (const char* path = std::getenv("PATH")) {
    std::string dirs = path;
    std::size_t start = 0;
    while (start <= dirs.size()) {
      const std::size_t colon = dirs.find(':', start);
      const std::string dir =
          dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
      const std::string candidate = (dir.empty() ? "." : dir) + "/osa_orti_plugin";
      if (executable(candidate)) {
        return candidate;
      }
      if (colon == std::string::npos) {
        break;
      }
      start = colon + 1;
    }
  }
  return "osa_orti_plugin";
}

bool seconds_option(const char* text, std::chrono::milliseconds& out) {
  char* end = nullptr;
  const double seconds = std::strtod(text, &end);
  if (end == text || *end != '\0' || seconds <= 0 || seconds > 3600) {
    return false;
  }
  out = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
  return true;
}

int usage_error(const std::string& text) {
  std::cerr << "orti-proxy: " << text << "\n" << kUsage;
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  rsp::ProxyOptions options;
  std::string remote;
  std::string listen = "127.0.0.1:3334";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](const char*& out) {
      if (i + 1 >= argc) {
        return false;
      }
      out = argv[++i];
      return true;
    };
    const char* v = nullptr;
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--once") {
      options.once = true;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (!value(v)) {
      return usage_error(arg.rfind("--", 0) == 0 ? arg + " needs a value"
                                                 : "unknown argument '" + arg + "'");
    } else if (arg == "--elf") {
      options.elf = v;
    } else if (arg == "--orti") {
      options.orti = v;
    } else if (arg == "--remote") {
      remote = v;
    } else if (arg == "--listen") {
      listen = v;
    } else if (arg == "--plugin") {
      options.plugin = v;
    } else if (arg == "--ready-file") {
      options.ready_file = v;
    } else if (arg == "--plugin-timeout") {
      if (!seconds_option(v, options.plugin_timeout)) {
        return usage_error("--plugin-timeout takes a number of seconds");
      }
    } else if (arg == "--remote-timeout") {
      if (!seconds_option(v, options.remote_timeout)) {
        return usage_error("--remote-timeout takes a number of seconds");
      }
    } else if (arg == "--cpu-type") {
      char* end = nullptr;
      options.cpu_type = static_cast<int>(std::strtol(v, &end, 0));
      if (end == v || *end != '\0' || options.cpu_type < 0) {
        return usage_error("--cpu-type takes a number");
      }
    } else {
      return usage_error("unknown option '" + arg + "'");
    }
  }
  if (options.elf.empty() || options.orti.empty() || remote.empty()) {
    return usage_error("--elf, --orti and --remote are needed");
  }
  std::string error;
  if (!rsp::parse_endpoint(remote, options.remote, error) ||
      !rsp::parse_endpoint(listen, options.listen, error)) {
    return usage_error(error);
  }
  if (options.plugin.empty()) {
    options.plugin = default_plugin();
  }
  std::string problem;
  std::unique_ptr<rsp::FormulaEvaluator> evaluator =
      rsp::open_program_evaluator(options.elf, problem);
  rsp::Proxy proxy(std::move(options), std::move(evaluator), problem);
  return proxy.run();
}
