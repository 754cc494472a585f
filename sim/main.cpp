// astrosim: a simulated controller on a pty for the driver under Wine.
//   astrosim --link PATH [--personality controller|anonymous|silent] [--script FILE]
//            [--log FILE]
// Links PATH to the pty's slave, prints "READY <slave>", plays the script and logs
// every received command line. Ends on SIGTERM/SIGINT, or when the script says exit.
// Exit status: 0, 1 for a usage or start-up error, 2 when the script fails.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "sim/command_log.h"
#include "sim/pty_link.h"
#include "sim/script.h"
#include "sim/script_player.h"
#include "sim/simulated_controller.h"

namespace {

struct Options {
  std::string link;
  std::string scriptPath;
  std::string logPath;
  sim::Personality personality = sim::Personality::kController;
};

const char kUsage[] =
    "usage: astrosim --link PATH [--personality controller|anonymous|silent]"
    " [--script FILE] [--log FILE]\n";

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (name == "--link") {
      options.link = value;
    } else if (name == "--script") {
      options.scriptPath = value;
    } else if (name == "--log") {
      options.logPath = value;
    } else if (name == "--personality") {
      if (value == "controller") {
        options.personality = sim::Personality::kController;
      } else if (value == "anonymous") {
        options.personality = sim::Personality::kAnonymousPort;
      } else if (value == "silent") {
        options.personality = sim::Personality::kSilent;
      } else {
        return false;
      }
    } else {
      return false;
    }
  }
  return !options.link.empty();
}

bool LoadScript(const std::string& path, sim::ParsedScript& script) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "astrosim: cannot read %s\n", path.c_str());
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  script = sim::ParseScript(text.str());
  if (!script.ok) std::fprintf(stderr, "astrosim: %s: %s\n", path.c_str(), script.error.c_str());
  return script.ok;
}

}  // namespace

int main(int argc, char** argv) {
  const auto start = sim::Clock::now();
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  sim::ParsedScript script;
  script.ok = true;
  if (!options.scriptPath.empty() && !LoadScript(options.scriptPath, script)) return 1;
  std::FILE* log = stdout;
  if (!options.logPath.empty()) {
    log = std::fopen(options.logPath.c_str(), "w");
    if (log == nullptr) {
      std::fprintf(stderr, "astrosim: cannot write %s\n", options.logPath.c_str());
      return 1;
    }
  }

  // The signals are taken by sigtimedwait below, never by a handler in another thread.
  sigset_t endSignals;
  sigemptyset(&endSignals);
  sigaddset(&endSignals, SIGINT);
  sigaddset(&endSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  sim::SimulatedController controller(options.personality);
  if (!controller.Start()) {
    std::fprintf(stderr, "astrosim: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
    return 1;
  }
  std::string error;
  if (!sim::ReplaceLink(options.link, controller.SlavePath(), error)) {
    std::fprintf(stderr, "astrosim: %s\n", error.c_str());
    return 1;
  }
  std::printf("READY %s\n", controller.SlavePath().c_str());
  std::fflush(stdout);

  sim::CommandLog commandLog(controller, log, start);
  std::thread logThread(&sim::CommandLog::Run, &commandLog);
  sim::ScriptPlayer player(controller);
  std::atomic<bool> scriptDone{false};
  sim::ScriptPlayer::Outcome outcome = sim::ScriptPlayer::Outcome::kFinished;
  std::thread playThread([&] {
    outcome = player.Play(script.steps);
    scriptDone = true;
  });

  bool ending = false;
  while (!ending) {
    const timespec slice = {0, 100 * 1000 * 1000};
    if (sigtimedwait(&endSignals, nullptr, &slice) > 0) ending = true;
    if (scriptDone && (outcome == sim::ScriptPlayer::Outcome::kExit ||
                       outcome == sim::ScriptPlayer::Outcome::kFailed)) {
      ending = true;
    }
  }

  player.RequestStop();
  playThread.join();
  commandLog.RequestStop();
  logThread.join();
  controller.Stop();
  sim::RemoveLinkIfTo(options.link, controller.SlavePath());
  if (log != stdout) std::fclose(log);
  if (outcome == sim::ScriptPlayer::Outcome::kFailed) {
    std::fprintf(stderr, "astrosim: %s: %s\n", options.scriptPath.c_str(), player.Error().c_str());
    return 2;
  }
  return 0;
}
