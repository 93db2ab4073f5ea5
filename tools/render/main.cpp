// vornix-render: runs the plug-in without a DAW, through its real entry point.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "hostkit/PluginHost.h"
#include "render/Info.h"
#include "render/MidiFile.h"
#include "render/Options.h"
#include "render/Render.h"
#include "render/TextOutput.h"
#include "render/Transport.h"

namespace {

using namespace vornix::render;

constexpr int kFailed = 2;

// The build puts the tool at <build>/tools/render/ and the plug-in at <build>/Vornix.so.
std::string PluginBesideTool() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  const auto candidate = self.parent_path().parent_path().parent_path() / "Vornix.so";
  return std::filesystem::exists(candidate, ec) ? candidate.string() : std::string();
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

MidiFileContent MidiContent(const Options& o, const RenderResult& result) {
  MidiFileContent c;
  c.ppq = o.ppq;
  c.tempo = o.tempo;
  c.timeSigNumerator = o.timeSigNumerator;
  c.timeSigDenominator = o.timeSigDenominator;
  for (const auto& e : result.events)
    c.events.push_back({TickAt(e.sample, o.tempo, o.ppq, o.sampleRate), e.status, e.data1, e.data2});
  c.endTick = TickAt(result.lengthInSamples, o.tempo, o.ppq, o.sampleRate);
  return c;
}

int Run(const Options& o) {
  std::string plugin = o.plugin.empty() ? PluginBesideTool() : o.plugin;
  if (plugin.empty()) throw UsageError("no plug-in given, and no Vornix.so in this tool's build tree");

  vornix::hostkit::PluginHost host(plugin);
  OpenEffect(host, o);
  if (o.info) {
    PrintInfo(host, std::cout);
    CloseEffect(host, o);
    return 0;
  }
  const RenderResult result = Play(host, o);
  CloseEffect(host, o);

  for (const auto& problem : CheckEvents(result)) std::cerr << "vornix-render: warning: " << problem << "\n";
  if (!o.midiFile.empty()) WriteBytes(o.midiFile, BuildMidiFile(MidiContent(o, result)));
  if (!o.textFile.empty()) {
    std::ofstream out(o.textFile);
    WriteText(result, out);
    if (!out.flush()) throw std::runtime_error("cannot write " + o.textFile);
  }
  if (o.TextToStdout()) WriteText(result, std::cout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::cout << UsageText();
      return 0;
    }
    return Run(options);
  } catch (const std::exception& e) {
    std::cerr << "vornix-render: " << e.what() << "\n";
    return kFailed;
  }
}
