#include "delivery/push_recognizer.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <limits>
#include <vector>

namespace astro {
namespace {

// Weighs the first translation and the first rotation (X and A) only.
constexpr double kFirstAxisFactor = 0.865;
constexpr std::int64_t kQuietLimit = 10;
constexpr double kWeakForce = 80;
constexpr double kGrowthStep = 1.25;
constexpr double kPushThreshold = 0.85;

// One cell of the weighting table: up to four (weight, entry) terms.
struct Term {
  double weight;
  int entry;
};
struct Cell {
  int count;
  Term terms[kPushEntryCount];
};

// Rows: growth count 0..3; columns: first strong entry 0..4.
constexpr Cell kWeighting[4][kPushEntryCount + 1] = {
    {{4, {{0.1, 0}, {0.4, 1}, {0.4, 2}, {0.1, 3}}},
     {2, {{0.2, 0}, {0.8, 1}}},
     {2, {{0.8, 2}, {0.2, 3}}},
     {2, {{0.1, 2}, {0.9, 3}}},
     {0, {}}},
    {{2, {{0.3, 0}, {0.7, 1}}}, {1, {{1.0, 1}}}, {0, {}}, {0, {}}, {0, {}}},
    {{3, {{0.1, 0}, {0.5, 1}, {0.4, 2}}},
     {2, {{0.5, 1}, {0.5, 2}}},
     {2, {{0.8, 2}, {0.2, 3}}},
     {1, {{1.0, 3}}},
     {0, {}}},
    {{4, {{0.1, 0}, {0.4, 1}, {0.3, 2}, {0.2, 3}}},
     {3, {{0.3, 1}, {0.4, 2}, {0.3, 3}}},
     {2, {{0.4, 2}, {0.6, 3}}},
     {1, {{1.0, 3}}},
     {0, {}}},
};

std::int64_t Magnitude(std::int32_t value) {
  const std::int64_t wide = value;
  return wide < 0 ? -wide : wide;
}

// 64-bit so that extreme device values cannot overflow the sum.
bool IsQuiet(const std::int32_t raw[kAxisCount]) {
  std::int64_t sum = 0;
  for (int i = 0; i < kAxisCount; ++i) sum += Magnitude(raw[i]);
  return sum <= kQuietLimit;
}

// Realistic lines fit the stack buffer; fields near the double range print up to
// ~310 digits each, so a longer line is printed again at its full length rather
// than cut.
template <typename Print>
std::string PrintLine(const Print& print) {
  char buffer[512];
  const int length = print(buffer, sizeof buffer);
  if (length < 0) return std::string();
  const auto size = static_cast<std::size_t>(length);
  if (size < sizeof buffer) return std::string(buffer, size);
  std::vector<char> large(size + 1);
  print(large.data(), large.size());
  return std::string(large.data(), size);
}

}  // namespace

void StorePushSample(const std::int32_t raw[kAxisCount], PushEntry& entry) {
  entry.field[kPushTx] = kFirstAxisFactor * raw[kAxisX];
  entry.field[kPushTy] = raw[kAxisY];
  entry.field[kPushTz] = raw[kAxisZ];
  entry.field[kPushRx] = kFirstAxisFactor * raw[kAxisA];
  entry.field[kPushRy] = raw[kAxisB];
  entry.field[kPushRz] = raw[kAxisC];
}

void ComputePushEntry(PushEntry& entry) {
  double* f = entry.field;
  const double tx = f[kPushTx], ty = f[kPushTy], tz = f[kPushTz];
  const double rx = f[kPushRx], ry = f[kPushRy], rz = f[kPushRz];
  const double force = std::sqrt(tx * tx + ty * ty + tz * tz);
  f[kPushForce] = force;
  f[kPushTorque] = std::sqrt(rx * rx + ry * ry + rz * rz);
  if (force <= kWeakForce) {
    f[kPushPx] = f[kPushPy] = f[kPushPz] = f[kPushScore] = 0.0;
    return;
  }
  // The point of the force's line of action nearest the cap's centre: t x r / F^2.
  const double square = force * force;
  const double px = (ty * rz - tz * ry) / square;
  f[kPushPx] = px;
  f[kPushPy] = (tz * rx - tx * rz) / square;
  const double pz = (tx * ry - ty * rx) / square;
  f[kPushPz] = pz;
  f[kPushScore] = -WedgeWeight(px, pz) * ty / force;
}

double WedgeFalloff(double distance) {
  if (distance > 0) return 1.0;
  if (distance >= -0.025) return 1.0 + 40 * distance;
  return 0.0;
}

// Both edges pass through (px, pz) = (-0.3, 0), with slopes 10/23 and -10/29; the
// divisors make d1 and d2 signed distances, positive inside the wedge.
double WedgeWeight(double px, double pz) {
  const double d1 =
      (0.4347826086956521 * px - pz + 0.13043478260869557) / std::sqrt(1.1890359168241966);
  const double d2 =
      (-0.3448275862068966 * px - pz - 0.10344827586206884) / std::sqrt(1.1189060642092747);
  return WedgeFalloff(d1) * WedgeFalloff(d2);
}

int PushGrowthCount(const PushEntry entries[kPushEntryCount]) {
  int growth = 0;
  for (int k = 1; k < kPushEntryCount; ++k) {
    if (kGrowthStep * entries[k].field[kPushForce] <= entries[k - 1].field[kPushForce]) break;
    ++growth;
  }
  return growth;
}

int FirstStrongEntry(const PushEntry entries[kPushEntryCount]) {
  for (int k = 0; k < kPushEntryCount; ++k) {
    if (entries[k].field[kPushForce] > kWeakForce) return k;
  }
  return kPushEntryCount;
}

double PushResult(int growth, int firstStrong, const double score[kPushEntryCount]) {
  if (growth < 0 || growth > 3 || firstStrong < 0 || firstStrong > kPushEntryCount) return 0.0;
  const Cell& cell = kWeighting[growth][firstStrong];
  if (cell.count == 0) return 0.0;
  // Only the cell's own terms, in the order the table reads: no 0 * s terms, whose
  // signed zeros could turn a 0 result into "-0.000" in the log.
  double result = cell.terms[0].weight * score[cell.terms[0].entry];
  for (int i = 1; i < cell.count; ++i) result += cell.terms[i].weight * score[cell.terms[i].entry];
  return result;
}

bool IsPushResult(double result) {
  return result > kPushThreshold;
}

std::string PushEntryLine(int k, const PushEntry& entry) {
  const double* f = entry.field;
  return PrintLine([&](char* out, std::size_t size) {
    return std::snprintf(out, size,
                         "%d %+4.0lf %+4.0lf %+4.0lf %+4.0lf %+4.0lf %+4.0lf  %6.0lf %6.0lf  "
                         "%+5.3lf %+5.3lf %+5.3lf  %+5.3lf \n",
                         k, f[kPushTx], f[kPushTy], f[kPushTz], f[kPushRx], f[kPushRy], f[kPushRz],
                         f[kPushForce], f[kPushTorque], f[kPushPx], f[kPushPy], f[kPushPz],
                         f[kPushScore]);
  });
}

std::string PushResultLine(double result, int growth, int firstStrong) {
  return PrintLine([&](char* out, std::size_t size) {
    return std::snprintf(out, size, "Result = %+5.3lf %d %d \n\n", result, growth, firstStrong);
  });
}

PushJudgement JudgePush(PushEntry entries[kPushEntryCount], PushLog& log) {
  double score[kPushEntryCount];
  for (int k = 0; k < kPushEntryCount; ++k) {
    ComputePushEntry(entries[k]);
    log.AppendLine(PushEntryLine(k, entries[k]));
    score[k] = entries[k].field[kPushScore];
  }
  PushJudgement judgement;
  judgement.growth = PushGrowthCount(entries);
  judgement.firstStrong = FirstStrongEntry(entries);
  judgement.result = PushResult(judgement.growth, judgement.firstStrong, score);
  log.AppendLine(PushResultLine(judgement.result, judgement.growth, judgement.firstStrong));
  return judgement;
}

PushGestureRecognizer::PushGestureRecognizer(HintviewButton& button, PushLog& log)
    : button_(button), log_(log) {}

int PushGestureRecognizer::PushRecognizer(const std::int32_t raw[kAxisCount]) {
  if (IsQuiet(raw)) {
    if (held_) {
      button_.HintviewRelease();
      held_ = false;
      Rest();
      return kPushPass;
    }
    // A movement shorter than four samples is judged as it ends; the entries it
    // did not fill still hold the zeros of the last rest.
    if (count_ >= 1 && count_ <= 3) {
      count_ = kPushEntryCount;
      return Judge();
    }
    Rest();
    return kPushPass;
  }
  if (held_) return kPushHeld;
  if (count_ < kPushEntryCount) {
    StorePushSample(raw, buffer_[count_]);
    ++count_;
    return kPushTaken;
  }
  if (count_ == kPushEntryCount) return Judge();
  // Judged already: motion flows until the next rest. The count only has to stay
  // above 4, so it stops short of wrapping.
  if (count_ < std::numeric_limits<std::uint32_t>::max()) ++count_;
  return kPushPass;
}

int PushGestureRecognizer::Judge() {
  const PushJudgement judgement = JudgePush(buffer_, log_);
  ++count_;
  if (!IsPushResult(judgement.result)) return kPushPass;
  held_ = true;
  button_.HintviewPress();
  return kPushRecognised;
}

void PushGestureRecognizer::Rest() {
  for (PushEntry& entry : buffer_) entry = PushEntry();
  count_ = 0;
}

}  // namespace astro
