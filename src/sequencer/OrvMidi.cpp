#include "sequencer/OrvMidi.h"

#include <array>

namespace vornix::sequencer {

namespace {
// Entry r is 2^(r - 6) quarter notes: a 1/256 note up to 32 whole notes.
constexpr std::array<double, 14> kNoteRateBeats = {1.0 / 64, 1.0 / 32, 1.0 / 16, 1.0 / 8, 1.0 / 4, 1.0 / 2, 1.0,
                                                   2.0,      4.0,      8.0,      16.0,    32.0,    64.0,    128.0};
}  // namespace

double NoteRateToBeats(int rateCode, std::int32_t numerator, std::int32_t denominator) {
  if (rateCode < 0 || rateCode >= static_cast<int>(kNoteRateBeats.size())) return 0.0;
  double beats = kNoteRateBeats[static_cast<std::size_t>(rateCode)];
  if (!(numerator == 4 && denominator == 4) && rateCode >= 8)
    beats *= (static_cast<double>(numerator) / 4.0) / (static_cast<double>(denominator) / 4.0);
  return beats;
}

double NoteTypeFactor(int noteType) {
  switch (noteType) {
    case 0: return 2.0 / 3.0;
    case 1: return 1.0;
    case 2: return 1.5;
    default: return 0.0;
  }
}

double NoteLengthInBeats(int rateCode, int noteType, std::int32_t numerator, std::int32_t denominator) {
  return NoteRateToBeats(rateCode, numerator, denominator) * NoteTypeFactor(noteType);
}

double BeatsToSamples(double sampleRate, double tempo, double beats) { return sampleRate / (tempo / 60.0) * beats; }

double SamplesToBeats(double sampleRate, double tempo, double samples) {
  return samples / (sampleRate / (tempo / 60.0));
}

}  // namespace vornix::sequencer
