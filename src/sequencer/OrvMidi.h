// Note lengths in quarter notes and the conversions between quarter notes and samples.
#pragma once

#include <cstdint>

namespace vornix::sequencer {

// Length of a rate code 0..13 in quarter notes; rates of a whole note and longer last whole bars
// of the given time signature.
double NoteRateToBeats(int rateCode, std::int32_t numerator, std::int32_t denominator);
// 0 triplet, 1 normal, 2 dotted; anything else 0.
double NoteTypeFactor(int noteType);
// Length of one step in quarter notes.
double NoteLengthInBeats(int rateCode, int noteType, std::int32_t numerator, std::int32_t denominator);
// Tempo in quarter notes per minute, sample rate in samples per second.
double BeatsToSamples(double sampleRate, double tempo, double beats);
double SamplesToBeats(double sampleRate, double tempo, double samples);

}  // namespace vornix::sequencer
