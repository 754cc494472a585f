#include "sim/command_log.h"

#include "sim/line_text.h"

namespace sim {

std::string FormatReceivedCommand(const ReceivedCommand& command, Clock::time_point start) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(command.arrival - start).count();
  return "RECV " + std::to_string(ms) + " \"" + EscapeLine(command.line) + "\"";
}

void CommandLog::Run() {
  while (!stopRequested_) {
    controller_.WaitForCommands(written_ + 1, std::chrono::milliseconds(100));
    WriteNew();
  }
  WriteNew();
}

void CommandLog::WriteNew() {
  const std::vector<ReceivedCommand> commands = controller_.Commands();
  if (commands.size() <= written_) return;
  for (std::size_t i = written_; i < commands.size(); ++i) {
    std::fprintf(out_, "%s\n", FormatReceivedCommand(commands[i], start_).c_str());
  }
  written_ = commands.size();
  std::fflush(out_);
}

}  // namespace sim
