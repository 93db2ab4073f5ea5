// The CLAP face with the host's two threads at once: the audio thread plays blocks with the host's
// parameter changes and mapped controllers in them, while the main thread edits as the editor does,
// saves and loads the state and reads parameters. Run under ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "../clap/ClapFixture.h"

namespace vornix::claptest {
namespace {

using namespace clap;

TEST_F(ClapFace, TheAudioAndMainThreadsShareTheFaceSafely) {
  Module().SetCC("Seq2 Steps", 7);
  ASSERT_TRUE(host->Activate(48000.0, 256));
  const std::vector<std::uint8_t> state = host->Save();
  std::atomic<bool> stop{false};
  std::atomic<long> heard{0};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    TOutput out;
    for (int block = 0; !stop; ++block) {
      TEventList in;
      in.Add(ParamEvent(10, 4, block % 13));
      in.Add(MidiEvent(20, 0xB0, 7, static_cast<std::uint8_t>(block % 128)));
      in.Add(ParamEvent(200, 9, block % 2));
      const clap_event_transport transport = Transport(block * 256 / 24000.0, 120.0, 4, 4, true);
      out.Clear();
      host->Process(256, &transport, in, out);
      heard += static_cast<long>(out.Size());
      ++blocks;
    }
  });
  const clap_plugin_params& params = Params();
  // Both sides keep going until each has done its share, however the two threads are scheduled.
  for (int i = 0; i < 300 || blocks < 300; ++i) {
    Module().EditParameter("Seq1 CC#", static_cast<float>(i % 128));
    Module().BeginParameterEdit(2);
    Module().EditParameter("Seq1 Channel", static_cast<float>(1 + i % 16));
    Module().EndParameterEdit();
    Module().NotifyHostOfChange();
    Module().ReportStateChange();
    double value = 0;
    params.get_value(host->Plugin(), static_cast<clap_id>(i % 72), &value);
    char text[64];
    params.value_to_text(host->Plugin(), 4, value, text, sizeof text);
    if (i % 20 == 0) {
      EXPECT_TRUE(host->Load(state));
      EXPECT_FALSE(host->Save().empty());
    }
  }
  stop = true;
  audio.join();
  EXPECT_GT(heard.load(), 0);
  EXPECT_GT(host->dirtyMarks, 0);
}

}  // namespace
}  // namespace vornix::claptest
