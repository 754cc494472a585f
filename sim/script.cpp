#include "sim/script.h"

#include <cctype>
#include <cmath>
#include <sstream>

#include "sim/line_text.h"

namespace sim {
namespace {

constexpr long kDefaultCommandTimeoutMs = 60000;
constexpr long kLongestWaitMs = 24L * 3600 * 1000;
// Far more than a script needs: parsing, playing and freeing the steps each recurse
// once per level, and a deep enough nest would overflow the stack.
constexpr int kDeepestRepeat = 100;

struct SourceLine {
  int number = 0;
  std::vector<std::string> tokens;
};

class ScriptError {
 public:
  ScriptError(int line, std::string message) : line_(line), message_(std::move(message)) {}
  std::string Text() const { return "line " + std::to_string(line_) + ": " + message_; }

 private:
  int line_;
  std::string message_;
};

// Splits a line into tokens; a token starting with a quote runs to the closing quote
// (backslash escapes the next character) and keeps its escapes for UnescapeText.
std::vector<std::string> Tokenize(const std::string& text, int number) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    if (std::isspace(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == '#') {
      break;
    } else if (text[i] == '"') {
      std::string token;
      for (++i; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) token.push_back(text[i++]);
        token.push_back(text[i]);
      }
      if (i == text.size()) throw ScriptError(number, "missing closing quote");
      ++i;
      tokens.push_back(token);
    } else {
      const std::size_t start = i;
      while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      tokens.push_back(text.substr(start, i - start));
    }
  }
  return tokens;
}

// Decimal with optional sign, or 0x hexadecimal; the whole token must be the number.
long Number(const SourceLine& line, std::size_t index, long low, long high) {
  const std::string& token = line.tokens[index];
  std::size_t pos = 0;
  bool negative = false;
  if (pos < token.size() && (token[pos] == '-' || token[pos] == '+')) {
    negative = token[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (token.compare(pos, 2, "0x") == 0 || token.compare(pos, 2, "0X") == 0) {
    base = 16;
    pos += 2;
  }
  if (pos == token.size() || token.size() - pos > 9) {
    throw ScriptError(line.number, "not a number: " + token);
  }
  long value = 0;
  for (; pos < token.size(); ++pos) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(token[pos])));
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) throw ScriptError(line.number, "not a number: " + token);
    value = value * base + digit;
  }
  if (negative) value = -value;
  if (value < low || value > high) {
    throw ScriptError(line.number,
                      token + " is outside " + std::to_string(low) + ".." + std::to_string(high));
  }
  return value;
}

void ExpectArguments(const SourceLine& line, std::size_t least, std::size_t most) {
  const std::size_t count = line.tokens.size() - 1;
  if (count < least || count > most) {
    throw ScriptError(line.number,
                      line.tokens[0] + " takes " +
                          (least == most ? std::to_string(least)
                                         : std::to_string(least) + " or " + std::to_string(most)) +
                          " argument(s)");
  }
}

Axes AxesFrom(const SourceLine& line, std::size_t first, long limitLow, long limitHigh) {
  Axes axes{};
  for (std::size_t i = 0; i < axes.size(); ++i) {
    axes[i] = static_cast<int>(Number(line, first + i, limitLow, limitHigh));
  }
  return axes;
}

std::string HexBytes(const SourceLine& line) {
  std::string digits;
  for (std::size_t i = 1; i < line.tokens.size(); ++i) digits += line.tokens[i];
  std::string bytes;
  if (digits.size() % 2 != 0) throw ScriptError(line.number, "raw needs whole bytes");
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    std::string decoded;
    if (!UnescapeText("\\x" + digits.substr(i, 2), decoded)) {
      throw ScriptError(line.number, "not hexadecimal: " + digits.substr(i, 2));
    }
    bytes += decoded;
  }
  return bytes;
}

ScriptStep Send(const SourceLine& line, std::string bytes) {
  ScriptStep step;
  step.kind = ScriptStep::Kind::kSend;
  step.lineNumber = line.number;
  step.bytes = std::move(bytes);
  return step;
}

ScriptStep ParseCommand(const SourceLine& line) {
  const std::string& name = line.tokens[0];
  ScriptStep step;
  step.lineNumber = line.number;
  auto nibble = [&](std::size_t index) {
    return static_cast<unsigned>(Number(line, index, 0, 15));
  };
  if (name == "wait") {
    ExpectArguments(line, 1, 1);
    step.kind = ScriptStep::Kind::kWait;
    step.milliseconds = Number(line, 1, 0, kLongestWaitMs);
    return step;
  }
  if (name == "wait-command") {
    ExpectArguments(line, 1, 2);
    step.kind = ScriptStep::Kind::kWaitCommand;
    if (!UnescapeText(line.tokens[1], step.bytes)) {
      throw ScriptError(line.number, "bad escape in " + line.tokens[1]);
    }
    step.milliseconds =
        line.tokens.size() > 2 ? Number(line, 2, 0, kLongestWaitMs) : kDefaultCommandTimeoutMs;
    return step;
  }
  if (name == "motion" || name == "motion-bad") {
    ExpectArguments(line, 6, 6);
    return Send(line, ShortMotionLine(AxesFrom(line, 1, -2048, 2047), name == "motion-bad"));
  }
  if (name == "long") {
    ExpectArguments(line, 6, 6);
    return Send(line, LongMotionLine(AxesFrom(line, 1, -32768, 32767)));
  }
  if (name == "sweep") {
    ExpectArguments(line, 9, 9);
    step.kind = ScriptStep::Kind::kSweep;
    step.sweep.durationMs = Number(line, 1, 0, kLongestWaitMs);
    step.sweep.intervalMs = Number(line, 2, 1, kLongestWaitMs);
    step.sweep.periodMs = Number(line, 3, 1, kLongestWaitMs);
    step.sweep.amplitudes = AxesFrom(line, 4, 0, 2047);
    return step;
  }
  if (name == "buttons") {
    ExpectArguments(line, 1, 1);
    return Send(line, ButtonLine(static_cast<std::uint32_t>(Number(line, 1, 0, 0xFFF))));
  }
  if (name == "mode") {
    ExpectArguments(line, 1, 1);
    return Send(line, ModeLine(nibble(1)));
  }
  if (name == "longmode") {
    ExpectArguments(line, 2, 2);
    return Send(line, LongModeLine(nibble(1), nibble(2)));
  }
  if (name == "n") {
    ExpectArguments(line, 1, 1);
    return Send(line, NLine(nibble(1)));
  }
  if (name == "q") {
    ExpectArguments(line, 2, 2);
    return Send(line, QLine(nibble(1), nibble(2)));
  }
  if (name == "raw") {
    ExpectArguments(line, 1, 1000);
    return Send(line, HexBytes(line));
  }
  if (name == "exit") {
    ExpectArguments(line, 0, 0);
    step.kind = ScriptStep::Kind::kExit;
    return step;
  }
  throw ScriptError(line.number, "unknown command " + name);
}

// Parses lines from index up to the "end" that closes the block (or the end of the
// script at the outermost level); index is left behind the block. depth counts the
// blocks around it.
std::vector<ScriptStep> ParseBlock(const std::vector<SourceLine>& lines, std::size_t& index,
                                   const SourceLine* opener, int depth) {
  std::vector<ScriptStep> steps;
  while (index < lines.size()) {
    const SourceLine& line = lines[index++];
    const std::string& name = line.tokens[0];
    if (name == "end") {
      ExpectArguments(line, 0, 0);
      if (opener == nullptr) throw ScriptError(line.number, "end without repeat");
      return steps;
    }
    if (name == "repeat") {
      ExpectArguments(line, 1, 1);
      if (depth == kDeepestRepeat) {
        throw ScriptError(line.number,
                          "repeat blocks nest at most " + std::to_string(kDeepestRepeat) + " deep");
      }
      ScriptStep step;
      step.kind = ScriptStep::Kind::kRepeat;
      step.lineNumber = line.number;
      step.count = Number(line, 1, 0, 100000000);
      step.body = ParseBlock(lines, index, &line, depth + 1);
      steps.push_back(std::move(step));
      continue;
    }
    steps.push_back(ParseCommand(line));
  }
  if (opener != nullptr) throw ScriptError(opener->number, "repeat without end");
  return steps;
}

}  // namespace

ParsedScript ParseScript(const std::string& text) {
  ParsedScript result;
  try {
    std::vector<SourceLine> lines;
    std::istringstream input(text);
    std::string raw;
    int number = 0;
    while (std::getline(input, raw)) {
      ++number;
      SourceLine line{number, Tokenize(raw, number)};
      if (!line.tokens.empty()) lines.push_back(std::move(line));
    }
    std::size_t index = 0;
    result.steps = ParseBlock(lines, index, nullptr, 0);
    result.ok = true;
  } catch (const ScriptError& error) {
    result.error = error.Text();
  }
  return result;
}

Axes SweepSample(const SweepSpec& sweep, long index) {
  constexpr double kPi = 3.14159265358979323846;
  const double phase =
      2 * kPi * static_cast<double>(index * sweep.intervalMs) / static_cast<double>(sweep.periodMs);
  Axes axes{};
  for (std::size_t i = 0; i < axes.size(); ++i) {
    // Each axis a sixth of a period behind the previous one, so they move differently.
    axes[i] = static_cast<int>(
        std::lround(sweep.amplitudes[i] * std::sin(phase + static_cast<double>(i) * kPi / 3)));
  }
  return axes;
}

}  // namespace sim
