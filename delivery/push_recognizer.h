// The Hintview push gesture: a short, firm push on the cap stands for virtual
// button 12. The first four raw samples of every movement are held back and judged
// by where on the cap the force acts and how much of it points along -Y.
#pragma once

#include <cstdint>
#include <string>

#include "delivery/delivery_context.h"
#include "delivery/delivery_scope.h"

namespace astro {

// The virtual button 12 that a recognised push presses and the next rest releases.
class HintviewButton {
 public:
  virtual ~HintviewButton() = default;
  virtual void HintviewPress() = 0;
  virtual void HintviewRelease() = 0;
};

// Where each judgement writes its diagnostic lines. Every call is one whole line,
// its line ends included.
class PushLog {
 public:
  virtual ~PushLog() = default;
  virtual void AppendLine(const std::string& line) = 0;
};

// The twelve values of one buffered sample, in the order the log prints them.
enum PushField {
  kPushTx,
  kPushTy,
  kPushTz,
  kPushRx,
  kPushRy,
  kPushRz,
  kPushForce,
  kPushTorque,
  kPushPx,
  kPushPy,
  kPushPz,
  kPushScore,
  kPushFieldCount
};

struct PushEntry {
  double field[kPushFieldCount] = {};
};

constexpr int kPushEntryCount = 4;

// What PushRecognizer answers.
enum PushAnswer { kPushPass = 0, kPushRecognised = 1, kPushTaken = 2, kPushHeld = 3 };

// Fields tx..rz from a raw sample (X and A weighted by 0.865); the others untouched.
void StorePushSample(const std::int32_t raw[kAxisCount], PushEntry& entry);

// Fields F, M, the point of action and the score from tx..rz. A force of 80 or less
// has no point of action and scores 0.
void ComputePushEntry(PushEntry& entry);

// Weight of a signed distance d from a wedge edge: 1 inside (d > 0), falling
// linearly to 0 across the 0.025 band outside, 0 beyond.
double WedgeFalloff(double distance);

// Product of the falloffs from both wedge edges at (px, pz) on the cap.
double WedgeWeight(double px, double pz);

// How many steps k = 1..3 the force kept above 80 % of the previous step's,
// counting until the first that did not.
int PushGrowthCount(const PushEntry entries[kPushEntryCount]);

// The first entry whose force exceeds 80, or 4 when none does.
int FirstStrongEntry(const PushEntry entries[kPushEntryCount]);

// The four scores weighted by the table cell (growth, firstStrong); growth 0..3,
// firstStrong 0..4. Cells without weights give 0.
double PushResult(int growth, int firstStrong, const double score[kPushEntryCount]);

// A push is recognised above 0.85, not at it.
bool IsPushResult(double result);

// The log lines, each ending as the log file shows it: "... \n" per entry and
// "Result = ... \n\n" per judgement.
std::string PushEntryLine(int k, const PushEntry& entry);
std::string PushResultLine(double result, int growth, int firstStrong);

struct PushJudgement {
  double result = 0.0;
  int growth = 0;
  int firstStrong = 0;
};

// Completes all four entries, logs each and then the result line.
PushJudgement JudgePush(PushEntry entries[kPushEntryCount], PushLog& log);

// The recognizer's state across samples; main thread only. Between judgements
// the per-sample path is integer work and allocates nothing.
class PushGestureRecognizer : public PushGesture {
 public:
  PushGestureRecognizer(HintviewButton& button, PushLog& log);
  int PushRecognizer(const std::int32_t raw[kAxisCount]) override;

 private:
  int Judge();
  void Rest();

  HintviewButton& button_;
  PushLog& log_;
  std::uint32_t count_ = 0;  // non-quiet samples of the present movement
  bool held_ = false;        // a recognised push lasts until the next quiet sample
  PushEntry buffer_[kPushEntryCount];
};

}  // namespace astro
