// Parses arbitrary bytes as a simulator script. Beyond not crashing: the same text
// parses the same; an error names a line of the text; every step keeps to its
// command's ranges and lies on a later line than the step before it; and the steps,
// written back as a script of their own, parse to the same steps.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/line_text.h"
#include "sim/script.h"

namespace {

using sim::ScriptStep;
using Kind = ScriptStep::Kind;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "sim_script_fuzz: %s\n", what);
  std::abort();
}

constexpr long kLongestMs = 24L * 3600 * 1000;
constexpr long kMostRepeats = 100000000;
constexpr int kDeepestNesting = 100;

// Lines as getline splits them: a last line without its newline counts too.
int LineCount(const std::string& text) {
  int count = 0;
  for (char c : text) count += c == '\n';
  if (!text.empty() && text.back() != '\n') ++count;
  return count;
}

bool SameSteps(const std::vector<ScriptStep>& a, const std::vector<ScriptStep>& b,
               bool withLineNumbers) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const ScriptStep& x = a[i];
    const ScriptStep& y = b[i];
    if (x.kind != y.kind || x.milliseconds != y.milliseconds || x.bytes != y.bytes ||
        x.count != y.count || x.sweep.durationMs != y.sweep.durationMs ||
        x.sweep.intervalMs != y.sweep.intervalMs || x.sweep.periodMs != y.sweep.periodMs ||
        x.sweep.amplitudes != y.sweep.amplitudes ||
        (withLineNumbers && x.lineNumber != y.lineNumber) ||
        !SameSteps(x.body, y.body, withLineNumbers)) {
      return false;
    }
  }
  return true;
}

bool InRange(long value, long low, long high) {
  return value >= low && value <= high;
}

void CheckSteps(const std::vector<ScriptStep>& steps, int lineCount, int depth, int& lastLine) {
  Check(depth <= kDeepestNesting, "repeat blocks nested too deep");
  for (const ScriptStep& step : steps) {
    Check(step.lineNumber > lastLine && step.lineNumber <= lineCount, "step line number");
    lastLine = step.lineNumber;
    const bool timed = step.kind == Kind::kWait || step.kind == Kind::kWaitCommand;
    Check(timed ? InRange(step.milliseconds, 0, kLongestMs) : step.milliseconds == 0,
          "milliseconds");
    Check(step.kind == Kind::kSend || step.kind == Kind::kWaitCommand || step.bytes.empty(),
          "bytes on a step that sends and awaits nothing");
    const sim::SweepSpec& sweep = step.sweep;
    if (step.kind == Kind::kSweep) {
      Check(InRange(sweep.durationMs, 0, kLongestMs) && InRange(sweep.intervalMs, 1, kLongestMs) &&
                InRange(sweep.periodMs, 1, kLongestMs),
            "sweep times");
      for (int amplitude : sweep.amplitudes) Check(InRange(amplitude, 0, 2047), "sweep amplitude");
    } else {
      Check(sweep.durationMs == 0 && sweep.intervalMs == 0 && sweep.periodMs == 0 &&
                sweep.amplitudes == sim::Axes{},
            "sweep fields on another step");
    }
    if (step.kind == Kind::kRepeat) {
      Check(InRange(step.count, 0, kMostRepeats), "repeat count");
      CheckSteps(step.body, lineCount, depth + 1, lastLine);
      ++lastLine;  // the "end" line
    } else {
      Check(step.count == 0 && step.body.empty(), "repeat fields on another step");
    }
  }
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (char c : bytes) {
    out.push_back(kDigits[static_cast<unsigned char>(c) >> 4]);
    out.push_back(kDigits[static_cast<unsigned char>(c) & 15]);
  }
  return out;
}

// The steps as a script: every line the driver is sent becomes "raw".
void Render(const std::vector<ScriptStep>& steps, std::string& out) {
  for (const ScriptStep& step : steps) {
    switch (step.kind) {
      case Kind::kWait:
        out += "wait " + std::to_string(step.milliseconds) + "\n";
        break;
      case Kind::kWaitCommand:
        out += "wait-command \"" + sim::EscapeLine(step.bytes) + "\" " +
               std::to_string(step.milliseconds) + "\n";
        break;
      case Kind::kSend:
        out += step.bytes.empty() ? "raw \"\"\n" : "raw " + Hex(step.bytes) + "\n";
        break;
      case Kind::kSweep:
        out += "sweep " + std::to_string(step.sweep.durationMs) + " " +
               std::to_string(step.sweep.intervalMs) + " " + std::to_string(step.sweep.periodMs);
        for (int amplitude : step.sweep.amplitudes) out += " " + std::to_string(amplitude);
        out += "\n";
        break;
      case Kind::kRepeat:
        out += "repeat " + std::to_string(step.count) + "\n";
        Render(step.body, out);
        out += "end\n";
        break;
      case Kind::kExit:
        out += "exit\n";
        break;
    }
  }
}

// Rendered steps lie on consecutive lines, each block followed by its "end".
void CheckConsecutive(const std::vector<ScriptStep>& steps, int& line) {
  for (const ScriptStep& step : steps) {
    Check(step.lineNumber == ++line, "line numbers of a rendered script");
    if (step.kind == Kind::kRepeat) {
      CheckConsecutive(step.body, line);
      ++line;
    }
  }
}

// "line N: message", N a line of the text.
void CheckError(const std::string& error, int lineCount) {
  const std::string prefix = "line ";
  Check(error.compare(0, prefix.size(), prefix) == 0, "error without its line");
  std::size_t pos = prefix.size();
  long line = 0;
  while (pos < error.size() && error[pos] >= '0' && error[pos] <= '9' && line <= lineCount) {
    line = line * 10 + (error[pos++] - '0');
  }
  Check(line >= 1 && line <= lineCount, "error names a line the text does not have");
  Check(error.compare(pos, 2, ": ") == 0 && error.size() > pos + 2, "error without its message");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const sim::ParsedScript first = sim::ParseScript(text);
  const sim::ParsedScript second = sim::ParseScript(text);
  Check(first.ok == second.ok && first.error == second.error &&
            SameSteps(first.steps, second.steps, true),
        "the same text parses differently");
  const int lineCount = LineCount(text);
  if (!first.ok) {
    Check(first.steps.empty(), "steps beside an error");
    CheckError(first.error, lineCount);
    return 0;
  }
  Check(first.error.empty(), "an error on a script that parsed");
  int lastLine = 0;
  CheckSteps(first.steps, lineCount, 0, lastLine);

  std::string rendered;
  Render(first.steps, rendered);
  const sim::ParsedScript again = sim::ParseScript(rendered);
  Check(again.ok, "the steps written back do not parse");
  Check(SameSteps(again.steps, first.steps, false), "the steps written back parse differently");
  int line = 0;
  CheckConsecutive(again.steps, line);
  Check(line == LineCount(rendered), "the steps written back leave lines over");
  return 0;
}
