#include "frontend/web/WebFrontEnd.h"

#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>

#include "frontend/Settings.h"
#include "frontend/SettingsPath.h"
#include "frontend/web/PageServer.h"

extern char** environ;

namespace veltrix {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct PageArguments {
  int port = 0;
  bool openBrowser = true;
  std::string source;
};

constexpr std::string_view kUsage = "usage: veltrix --ui [--port N] [--no-browser] [SOURCE]";

bool ParseArguments(int argc, char** argv, PageArguments& args, std::string& why) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--ui") continue;
    if (arg == "--no-browser") {
      args.openBrowser = false;
    } else if (arg == "--port" || arg.starts_with("--port=")) {
      std::string value;
      if (arg == "--port") {
        if (i + 1 == argc) {
          why = "--port needs a number";
          return false;
        }
        value = argv[++i];
      } else {
        value = arg.substr(7);
      }
      char* end = nullptr;
      const long port = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != '\0' || port < 0 || port > 65535) {
        why = "--port " + value + ": not a port number (0 to 65535)";
        return false;
      }
      args.port = static_cast<int>(port);
    } else if (arg.starts_with("-") && arg != "-") {
      why = std::string(arg) + ": not an option of --ui";
      return false;
    } else if (args.source.empty()) {
      args.source = arg;
    } else {
      why = std::string(arg) + ": --ui takes one source at most";
      return false;
    }
  }
  return true;
}

// A source named on the command line that exists goes into Source, with its
// full path; one that does not exist leaves the stored source.
void TakeSourceArgument(const std::string& source, DecodeSettings& settings) {
  std::error_code ec;
  if (source.empty() || !std::filesystem::is_regular_file(source, ec)) return;
  const std::filesystem::path full = std::filesystem::absolute(source, ec).lexically_normal();
  if (ec) return;
  settings.SourceFile = full.string();
  if (settings.ForceMatch) DeriveMatchingNames(settings);
}

// Starts the desktop's browser on the address; a desktop without xdg-open
// gets a message, and the address printed above still works.
void OpenBrowser(const std::string& url) {
  pid_t pid = 0;
  std::string program = "xdg-open";
  char* const argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
  const int error = ::posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ);
  if (error != 0) {
    std::cerr << "veltrix: cannot start xdg-open (" << std::strerror(error)
              << "); open the address above in a browser\n";
    return;
  }
  std::thread([pid] { ::waitpid(pid, nullptr, 0); }).detach();
}

}  // namespace

bool AsksForWebPage(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--") return false;
    if (std::string_view(argv[i]) == "--ui") return true;
  }
  return false;
}

int RunWebPage(int argc, char** argv) {
  PageArguments args;
  std::string why;
  if (!ParseArguments(argc, argv, args, why)) {
    std::cerr << "veltrix: " << why << "\n" << kUsage << "\n";
    return kExitUsage;
  }

  // SIGINT and SIGTERM are taken by the watcher thread below, never by the
  // server's threads, which inherit this mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  DecodeSettings settings;
  if (const SettingsOutcome loaded = LoadSettings(SettingsFilePath(), settings); !loaded.ok) {
    std::cerr << "veltrix: " << loaded.message << "\n";
  }
  TakeSourceArgument(args.source, settings);

  const std::string token = MakePageToken();
  if (token.empty()) {
    std::cerr << "veltrix: cannot read random bytes for the page's key\n";
    return kExitFailed;
  }
  PageServer server(settings, token);
  const int port = server.Bind(args.port, why);
  if (port == 0) {
    std::cerr << "veltrix: " << why << "\n";
    return kExitFailed;
  }
  const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/?t=" + token;
  std::cout << "Veltrix is at " << url << "\n(Close in the page, or Ctrl+C here, saves the settings and stops.)"
            << std::endl;
  if (args.openBrowser) OpenBrowser(url);

  std::atomic<bool> served{false};
  std::thread watcher([&] {
    const timespec tick{0, 200'000'000};
    while (!served) {
      const int signal = sigtimedwait(&stopSignals, nullptr, &tick);
      if (signal == SIGINT || signal == SIGTERM || server.CloseRequested()) {
        server.Stop();
        break;
      }
    }
  });
  server.Run();
  served = true;
  server.Stop();
  watcher.join();

  const SettingsOutcome saved = SaveSettings(server.Settings());
  if (!saved.ok) {
    std::cerr << "veltrix: " << saved.message << "\n";
    return kExitFailed;
  }
  std::cout << "Veltrix has stopped; the settings are saved in " << settings.settingsPath << std::endl;
  return 0;
}

}  // namespace veltrix
