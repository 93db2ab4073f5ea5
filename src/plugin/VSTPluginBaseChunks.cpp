// The whole state as one chunk: a header list (version, preset name, two reserved strings), the
// module's own section and the CC map, in the tagged value encoding.
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "plugin/StateChunk.h"
#include "plugin/VSTPluginBaseDM.h"

namespace vornix::plugin {

std::unique_ptr<TPluginStateSection> TVSTPluginBase::ReadPluginState(TaggedValueReader&, const std::string&) {
  return std::make_unique<TPluginStateSection>();
}

bool TVSTPluginBase::SaveStateToChunk(TMemoryStreamChunk& chunk) {
  std::vector<std::uint8_t>& body = chunk.Body();
  body.clear();
  try {
    TaggedValueWriter w(body);
    w.WriteSignature();
    w.WriteListBegin();
    w.WriteString(FVersion);
    w.WriteString(PresetName());
    w.WriteString("");
    w.WriteString("");
    w.WriteListEnd();
    w.WriteListBegin();
    SavePluginState(w);
    w.WriteListEnd();
    w.WriteListBegin();
    for (const TMidiCCItem& link : MidiCCListToSave()) {
      w.WriteListBegin();
      w.WriteString(link.ParameterName);
      w.WriteInteger(link.CC);
      w.WriteListEnd();
    }
    w.WriteListEnd();
    return true;
  } catch (const std::exception& e) {
    ShowError("Error saving preset.", e, "Save Preset");
    return false;
  }
}

bool TVSTPluginBase::LoadStateFromChunk(const TMemoryStreamChunk& chunk, bool checkPresetFile) {
  std::unique_ptr<TPluginStateSection> section;
  TStateChunkContents contents;
  try {
    contents = ReadStateChunkBody(
        chunk.Body(), [&](TaggedValueReader& r, const std::string& version) { section = ReadPluginState(r, version); });
  } catch (const std::exception& e) {
    ShowError("Error loading preset.", e, "Load Preset");
    return false;
  }
  // Everything was readable: reset, then apply.
  RunStateLoad([&] {
    ApplyInitialState();
    SetPresetName(contents.PresetName);
    ApplyPluginState(*section);
    if (contents.Links) {
      TMidiCCList links;
      for (const auto& [name, cc] : *contents.Links) links.SetCC(name, cc);
      ReplaceLinks(links);
    }
  });
  if (const std::string name = PresetName(); checkPresetFile && !name.empty() && !PresetFileExists(name))
    SetPresetName("");
  return true;
}

bool TVSTPluginBase::PresetFileExists(const std::string& name) const {
  return platform::FileExistsAbsolute(FPresetsFolder + name + std::string(platform::PresetFileExtension));
}

std::filesystem::path TVSTPluginBase::PresetPath(const std::string& name) const {
  return platform::FilePath(FPresetsFolder + name + std::string(platform::PresetFileExtension));
}

void TVSTPluginBase::VSTPluginBasePrograms0StoreChunk(host::TCustomVstProgram& program) {
  TMemoryStreamChunk chunk;
  SaveStateToChunk(chunk);
  std::vector<std::uint8_t> bytes;
  chunk.SaveToStream(bytes);
  program.Chunk.Clear();
  program.Chunk.Write(bytes.data(), bytes.size());
}

// A chunk of 8 bytes or fewer carries no state. A header that cannot be read is reported like a
// body that cannot be read, and changes nothing either.
void TVSTPluginBase::VSTPluginBasePrograms0LoadChunk(host::TCustomVstProgram& program) {
  if (program.Chunk.Size() <= 8) return;
  TMemoryStreamChunk chunk;
  try {
    chunk.LoadFromStream(program.Chunk.Bytes);
  } catch (const std::exception& e) {
    ShowError("Error loading preset.", e, "Load Preset");
    return;
  }
  LoadStateFromChunk(chunk, true);
}

// A bank hands every program its chunk and the current one again: all of it is one load.
vst::VstIntPtr TVSTPluginBase::HostCallSetChunk(vst::VstInt32 index, vst::VstIntPtr value, void* ptr, float opt) {
  vst::VstIntPtr result = 0;
  GroupStateLoads([&] { result = host::TVSTModule::HostCallSetChunk(index, value, ptr, opt); });
  return result;
}

void TVSTPluginBase::ShowError(const std::string& sentence, const std::exception& e, const std::string& caption) {
  DialogHost()->ShowMessageDialog(platform::ErrorText(sentence, e.what()), caption, platform::TMsgDlgType::mtWarning,
                                  platform::TMsgDlgButtons::mbOK);
}

std::shared_ptr<platform::TDialogHost> TVSTPluginBase::SetDialogHost(std::shared_ptr<platform::TDialogHost> host) {
  return FDialogHost.exchange(std::move(host));
}

// Without an editor (or on another thread than the editor's), messages go to standard error and
// wait in the inbox for the editor's info line.
std::shared_ptr<platform::TDialogHost> TVSTPluginBase::DialogHost() {
  std::shared_ptr<platform::TDialogHost> host = FDialogHost.load();
  if (host) return host;
  auto headless = std::make_shared<platform::THeadlessDialogHost>(
      EffectName(), [this](const std::string& text) { FEditorInbox.PostInfo(text); });
  if (FDialogHost.compare_exchange_strong(host, headless)) return headless;
  return host;  // another thread was first
}

}  // namespace vornix::plugin
