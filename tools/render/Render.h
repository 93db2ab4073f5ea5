// One render: open the plug-in as a host does, play the transport through it block by block, and
// collect every MIDI event it sends with its position.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostkit/PluginHost.h"
#include "render/Options.h"

namespace vornix::render {

struct RenderedEvent {
  std::int64_t sample;  // block start + deltaFrames, counted from the first rendered sample
  double quarterNotes;  // host position of that sample
  int block;            // processing call that delivered it (0-based)
  int blockFrames;      // its length; 0 for events sent after the last block
  vst::VstInt32 deltaFrames;
  std::uint8_t status, data1, data2;
};

struct RenderResult {
  std::int64_t lengthInSamples = 0;
  std::vector<RenderedEvent> events;  // in the order the host received them
};

// Creates and opens the effect and prepares it for playback: sample rate, block size, then the
// chunk file and the parameters. Throws std::runtime_error with a message for the user.
void OpenEffect(hostkit::PluginHost& host, const Options& options);

// Switches the effect on, plays the whole length and switches it off again.
RenderResult Play(hostkit::PluginHost& host, const Options& options);

// Writes the program chunk to the --save-chunk file, if any, and closes the effect.
void CloseEffect(hostkit::PluginHost& host, const Options& options);

// What a host would object to in the plug-in's output: offsets outside their block, data bytes
// above 127, missing status bytes. One message per event.
std::vector<std::string> CheckEvents(const RenderResult& result);

}  // namespace vornix::render
