#include "render/Render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "plugin/StateChunk.h"
#include "render/FileNames.h"
#include "render/MidiFile.h"
#include "render/Parameters.h"
#include "render/Transport.h"

namespace vornix::render {

using namespace vst;

namespace {

struct ScheduledNote {
  std::int64_t sample;
  int order;  // at equal samples: earlier notes end, then notes start, then notes that end where they start
  VstMidiEvent event;
};

VstMidiEvent MidiEvent(std::uint8_t status, int data1, int data2) {
  VstMidiEvent e{};
  e.type = kVstMidiType;
  e.byteSize = sizeof(VstMidiEvent);
  e.midiData[0] = static_cast<char>(status);
  e.midiData[1] = static_cast<char>(data1);
  e.midiData[2] = static_cast<char>(data2);
  return e;
}

std::vector<ScheduledNote> ScheduleNotes(const Transport& transport, const std::vector<NoteInput>& notes) {
  std::vector<ScheduledNote> out;
  for (const auto& n : notes) {
    const std::int64_t off = std::llround(transport.SampleAt(n.end));
    if (off <= 0) continue;  // over before the render begins
    // A note that began before the render is held from its first sample.
    const std::int64_t on = std::max<std::int64_t>(0, std::llround(transport.SampleAt(n.start)));
    const auto channel = static_cast<std::uint8_t>(n.channel - 1);
    ScheduledNote noteOn{on, 1, MidiEvent(0x90 | channel, n.note, n.velocity)};
    noteOn.event.noteLength = static_cast<VstInt32>(std::min<std::int64_t>(off - on, INT32_MAX));
    out.push_back(noteOn);
    out.push_back({off, off == on ? 2 : 0, MidiEvent(0x80 | channel, n.note, 64)});
  }
  std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return a.sample != b.sample ? a.sample < b.sample : a.order < b.order;
  });
  return out;
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(FileName(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  if (bytes.empty()) throw std::runtime_error(path + " is empty");
  return bytes;
}

std::string Hex(const RenderedEvent& e) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X %02X %02X", e.status, e.data1, e.data2);
  return text;
}

}  // namespace

void OpenEffect(hostkit::PluginHost& host, const Options& options) {
  host.override = [sampleRate = options.sampleRate, blockSize = options.blockSize](const hostkit::HostRequest& r,
                                                                                   void*) -> std::optional<VstIntPtr> {
    if (r.opcode == audioMasterGetSampleRate) return static_cast<VstIntPtr>(std::llround(sampleRate));
    if (r.opcode == audioMasterGetBlockSize) return blockSize;
    return std::nullopt;
  };
  if (host.Create() == nullptr)
    throw std::runtime_error("the plug-in refused to start (its entry point answered null)");
  host.Dispatch(effOpen);
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(options.sampleRate));
  host.Dispatch(effSetBlockSize, 0, options.blockSize);
  if (!options.loadFile.empty()) {
    const auto bytes = ReadFile(options.loadFile);
    // The plug-in only reports a state it cannot read to its user; a script must hear of it.
    try {
      plugin::CheckVornixState(bytes);
    } catch (const std::exception& e) {
      throw std::runtime_error(options.loadFile + " is not a Vornix preset or state: " + e.what());
    }
    if (host.SetChunk(bytes) == 0)
      throw std::runtime_error("the plug-in did not take the chunk from " + options.loadFile);
  }
  ApplyParameters(host, options.parameters);
}

RenderResult Play(hostkit::PluginHost& host, const Options& options) {
  const Transport transport(options);
  const auto notes = ScheduleNotes(transport, options.notes);
  RenderResult result;
  result.lengthInSamples = transport.LengthInSamples();

  // A long render would otherwise keep every time request.
  host.recordRequests = false;
  host.midi.clear();
  const int firstBlock = host.blocksProcessed;
  std::vector<std::int64_t> blockStarts;
  std::vector<int> blockFrames;

  host.Dispatch(effMainsChanged, 0, 1);
  host.Dispatch(effStartProcess);
  std::size_t nextNote = 0;
  for (std::int64_t start = 0; start < result.lengthInSamples; start += options.blockSize) {
    const int frames = static_cast<int>(std::min<std::int64_t>(options.blockSize, result.lengthInSamples - start));
    host.timeInfo = transport.TimeInfoAt(start);
    std::vector<VstMidiEvent> input;
    for (; nextNote < notes.size() && notes[nextNote].sample < start + frames; ++nextNote) {
      input.push_back(notes[nextNote].event);
      input.back().deltaFrames = static_cast<VstInt32>(notes[nextNote].sample - start);
    }
    if (!input.empty()) host.SendMidi(input);
    blockStarts.push_back(start);
    blockFrames.push_back(frames);
    host.ProcessBlock(frames);
  }
  host.Dispatch(effStopProcess);
  host.Dispatch(effMainsChanged, 0, 0);

  for (const auto& m : host.midi) {
    const int block = std::max(0, m.block - firstBlock);
    const bool inside = block < static_cast<int>(blockStarts.size());
    RenderedEvent e{};
    e.block = block;
    e.blockFrames = inside ? blockFrames[static_cast<std::size_t>(block)] : 0;
    e.deltaFrames = m.deltaFrames;
    e.sample = (inside ? blockStarts[static_cast<std::size_t>(block)] : result.lengthInSamples) + m.deltaFrames;
    e.quarterNotes = transport.QuarterNotesAt(static_cast<double>(e.sample));
    e.status = m.status;
    e.data1 = m.data1;
    e.data2 = m.data2;
    result.events.push_back(e);
  }
  return result;
}

void CloseEffect(hostkit::PluginHost& host, const Options& options) {
  if (!options.saveChunkFile.empty()) {
    const auto bytes = host.GetChunk();
    if (bytes.empty()) throw std::runtime_error("the plug-in gave no chunk to save");
    std::ofstream out(FileName(options.saveChunkFile), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error("cannot write " + options.saveChunkFile);
  }
  host.Close();
}

std::vector<std::string> CheckEvents(const RenderResult& result) {
  std::vector<std::string> problems;
  for (const auto& e : result.events) {
    const std::string where = Hex(e) + " at sample " + std::to_string(e.sample) + " (block " + std::to_string(e.block) +
                              ", offset " + std::to_string(e.deltaFrames) + ")";
    if (e.blockFrames == 0)
      problems.push_back(where + ": sent outside the processing of a block");
    else if (e.deltaFrames < 0 || e.deltaFrames >= e.blockFrames)
      problems.push_back(where + ": offset outside the block of " + std::to_string(e.blockFrames) + " samples");
    const std::uint8_t data[2] = {e.data1, e.data2};
    if (e.status < 0x80)
      problems.push_back(where + ": no status byte");
    else if (std::any_of(data, data + MessageLength(e.status) - 1, [](std::uint8_t b) { return b > 0x7F; }))
      problems.push_back(where + ": data byte above 127");
  }
  return problems;
}

}  // namespace vornix::render
