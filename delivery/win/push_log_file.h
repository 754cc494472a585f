// The push recognizer's log: each judgement's lines are appended to the text file
// "C:\PUSHCTRL.TMP", which is opened for each line and closed again. A line that
// cannot be written is skipped; nothing else depends on the file.
#pragma once

#include "delivery/push_recognizer.h"

namespace astro {

constexpr char kPushLogPath[] = "C:\\PUSHCTRL.TMP";

class PushLogFile : public PushLog {
 public:
  void AppendLine(const std::string& line) override;
};

}  // namespace astro
