// The simulator's script language: one command a line, "#" starts a comment.
//   wait MS                      pause
//   wait-command TEXT [MS]       wait for a command line from the driver (default 60 s);
//                                each wait looks only at lines after the one the
//                                previous wait-command matched
//   motion X Y Z A B C           short motion packet (-2048..2047)
//   motion-bad X Y Z A B C       the same with a wrong checksum
//   long X Y Z A B C             long motion packet (-32768..32767)
//   sweep MS INTERVAL PERIOD AX AY AZ AA AB AC
//                                short motion packets every INTERVAL ms for MS ms, axis i
//                                = A_i * sin(2 pi t / PERIOD + i pi / 3)
//   buttons MASK                 button report (decimal or 0x..., 12 bits)
//   mode M | longmode M E | n V | q A B   reports (nibbles 0..15)
//   raw HEXBYTES                 bytes as they are ("0d 00 41" or "0d0041")
//   repeat N ... end             the enclosed block N times (nestable)
//   exit                         end the program
// TEXT may be quoted ("" is the empty line) and uses the escapes of EscapeLine.
#pragma once

#include <string>
#include <vector>

#include "sim/simulated_controller.h"

namespace sim {

struct SweepSpec {
  long durationMs = 0;
  long intervalMs = 0;
  long periodMs = 0;
  Axes amplitudes{};
};

struct ScriptStep {
  enum class Kind { kWait, kWaitCommand, kSend, kSweep, kRepeat, kExit };
  Kind kind = Kind::kWait;
  int lineNumber = 0;
  long milliseconds = 0;  // wait; time-out of wait-command
  std::string bytes;      // kSend: the bytes to send; kWaitCommand: the line awaited
  SweepSpec sweep;
  long count = 0;                // kRepeat
  std::vector<ScriptStep> body;  // kRepeat
};

struct ParsedScript {
  bool ok = false;
  std::vector<ScriptStep> steps;
  std::string error;  // "line N: ..." when not ok
};

ParsedScript ParseScript(const std::string& text);

// The axes of sample number index of a sweep (sent at index * intervalMs).
Axes SweepSample(const SweepSpec& sweep, long index);

}  // namespace sim
