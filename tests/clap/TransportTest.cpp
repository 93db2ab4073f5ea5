// The host's CLAP transport as the VST 2.x time information the module reads, at the start of a
// block and at a later part of it; and the outbox that holds the editor's news for the host.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>

#include "ClapTestHost.h"
#include "formats/clap/Outbox.h"
#include "formats/clap/Transport.h"

namespace vornix::claptest {
namespace {

using namespace clap;
using namespace vst;
using formats::clapface::TimeInfoAt;

TEST(ClapTransport, NoTransportOrNoTempoOrBeatPositionIsNoTime) {
  VstTimeInfo time{};
  EXPECT_FALSE(TimeInfoAt(nullptr, 48000.0, 0, time));
  for (const std::uint32_t missing : {CLAP_TRANSPORT_HAS_TEMPO, CLAP_TRANSPORT_HAS_BEATS_TIMELINE}) {
    clap_event_transport t = Transport(4.0, 120.0, 4, 4, true);
    t.flags &= ~missing;
    EXPECT_FALSE(TimeInfoAt(&t, 48000.0, 0, time)) << missing;
  }
  const clap_event_transport t = Transport(4.0, 120.0, 4, 4, true);
  EXPECT_FALSE(TimeInfoAt(&t, 0.0, 0, time));
}

struct TCase {
  const char* what;
  clap_event_transport transport;
  std::int64_t frames;
  double ppq, tempo, barStart, samplePos;
  int numerator, denominator;
  VstInt32 flags;
};

class TimeOfTransport : public ::testing::TestWithParam<TCase> {};

TEST_P(TimeOfTransport, IsWhatAVst2HostReports) {
  const TCase& c = GetParam();
  VstTimeInfo time{};
  ASSERT_TRUE(TimeInfoAt(&c.transport, 48000.0, c.frames, time));
  EXPECT_DOUBLE_EQ(time.ppqPos, c.ppq);
  EXPECT_DOUBLE_EQ(time.tempo, c.tempo);
  EXPECT_DOUBLE_EQ(time.barStartPos, c.barStart);
  EXPECT_DOUBLE_EQ(time.samplePos, c.samplePos);
  EXPECT_EQ(time.sampleRate, 48000.0);
  EXPECT_EQ(time.timeSigNumerator, c.numerator);
  EXPECT_EQ(time.timeSigDenominator, c.denominator);
  EXPECT_EQ(time.flags, c.flags);
}

constexpr VstInt32 kValid = kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTimeSigValid;

clap_event_transport Ramp() {
  clap_event_transport t = Transport(0.0, 120.0, 4, 4, true);
  t.tempo_inc = 60.0 / 48000.0;  // a minute's worth of BPM per second: 180 BPM after one second
  return t;
}

clap_event_transport Looping() {
  clap_event_transport t = Transport(9.0, 90.0, 6, 8, true);
  t.flags |= CLAP_TRANSPORT_IS_LOOP_ACTIVE | CLAP_TRANSPORT_IS_RECORDING;
  t.loop_start_beats = Fixed(6.0);
  t.loop_end_beats = Fixed(12.0);
  return t;
}

clap_event_transport WithoutSignatureOrSeconds() {
  clap_event_transport t = Transport(2.5, 100.0, 4, 4, true);
  t.flags &= ~(CLAP_TRANSPORT_HAS_TIME_SIGNATURE | CLAP_TRANSPORT_HAS_SECONDS_TIMELINE);
  return t;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimeOfTransport,
    ::testing::Values(
        TCase{"playing, at the block's start", Transport(8.5, 120.0, 4, 4, true), 0, 8.5, 120.0, 8.0, 204000.0, 4, 4,
              kValid | kVstTransportPlaying},
        TCase{"playing, half a second on: one beat, same bar", Transport(8.5, 120.0, 4, 4, true), 24000, 9.5, 120.0,
              8.0, 228000.0, 4, 4, kValid | kVstTransportPlaying},
        TCase{"playing, into the next bar", Transport(8.5, 120.0, 4, 4, true), 96000, 12.5, 120.0, 12.0, 300000.0, 4,
              4, kValid | kVstTransportPlaying},
        TCase{"stopped: the position stays", Transport(8.5, 120.0, 4, 4, false), 24000, 8.5, 120.0, 8.0, 204000.0, 4, 4,
              kValid},
        TCase{"a tempo ramp", Ramp(), 48000, 2.5, 180.0, 0.0, 48000.0, 4, 4, kValid | kVstTransportPlaying},
        TCase{"6/8, looping while recording", Looping(), 0, 9.0, 90.0, 9.0, 288000.0, 6, 8,
              kValid | kVstTransportPlaying | kVstTransportRecording | kVstTransportCycleActive | kVstCyclePosValid},
        TCase{"6/8, a bar of three quarter notes later", Looping(), 96000, 12.0, 90.0, 12.0, 384000.0, 6, 8,
              kValid | kVstTransportPlaying | kVstTransportRecording | kVstTransportCycleActive | kVstCyclePosValid},
        TCase{"no signature and no seconds: samples from the beats", WithoutSignatureOrSeconds(), 0, 2.5, 100.0, 0.0,
              72000.0, 0, 0, kVstTempoValid | kVstPpqPosValid | kVstBarsValid | kVstTransportPlaying}),
    [](const auto& info) {
      std::string name;
      for (const char* c = info.param.what; *c != '\0'; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
      return name;
    });

TEST(ClapTransport, FixedPointBeatsAndSecondsAreReadExactly) {
  clap_event_transport t = Transport(0.0, 120.0, 4, 4, true);
  t.song_pos_beats = (std::int64_t{1} << 31) * 5 + 1;  // five beats and the smallest step
  t.song_pos_seconds = std::int64_t{1} << 30;          // half a second
  VstTimeInfo time{};
  ASSERT_TRUE(TimeInfoAt(&t, 48000.0, 0, time));
  EXPECT_EQ(time.ppqPos, 5.0 + 1.0 / 2147483648.0);
  EXPECT_EQ(time.samplePos, 24000.0);
}

TEST(ClapOutbox, KeepsOrderAndTellsWhenItLostEntries) {
  using formats::clapface::TOutbox;
  auto box = std::make_unique<TOutbox>();
  for (std::size_t i = 0; i < TOutbox::kCapacity; ++i)
    ASSERT_TRUE(box->Push({TOutbox::TKind::Value, static_cast<std::int32_t>(i % 72)}));
  EXPECT_FALSE(box->Push({TOutbox::TKind::GestureEnd, 1}));
  std::size_t taken = 0;
  bool ordered = true;
  EXPECT_TRUE(box->Drain([&](const TOutbox::TEntry& e) { ordered = ordered && e.Index == static_cast<int>(taken++ % 72); }));
  EXPECT_EQ(taken, TOutbox::kCapacity);
  EXPECT_TRUE(ordered);
  EXPECT_TRUE(box->Push({TOutbox::TKind::GestureBegin, 5}));
  taken = 0;
  EXPECT_FALSE(box->Drain([&](const TOutbox::TEntry& e) {
    ++taken;
    EXPECT_EQ(e.Kind, TOutbox::TKind::GestureBegin);
  }));
  EXPECT_EQ(taken, 1u);
}

}  // namespace
}  // namespace vornix::claptest
