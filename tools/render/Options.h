// The command line of vornix-render.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vornix::render {

// A note the host plays into the plug-in; times are host positions in quarter notes.
struct NoteInput {
  int note = 60;
  double start = 0.0;
  double end = 1.0;
  int velocity = 100;
  int channel = 1;  // 1..16
};

struct ParameterSetting {
  std::string name;
  std::string value;        // the text the plug-in shows, or a host value in 0..1
  bool normalized = false;  // value is the host value itself
};

enum class LengthUnit { Bars, Seconds };

// What --screenshot shows open over the editor.
enum class EditorView {
  Editor,
  MainMenu,
  SkinMenu,
  SequenceMenu,
  RateMenu,
  TypeMenu,
  OrderMenu,
  TriggerMenu,
  CCMenu,
  About,
  Title,
};

struct EditorViewName {
  EditorView view;
  const char* name;
};

// The names --show takes, in the order --help lists them.
const std::vector<EditorViewName>& EditorViewNames();

struct Options {
  bool help = false;
  bool info = false;
  std::string plugin;  // empty: the one beside this tool in the build tree

  double tempo = 120.0;
  int timeSigNumerator = 4;
  int timeSigDenominator = 4;
  double sampleRate = 44100.0;
  int blockSize = 512;
  double length = 2.0;
  LengthUnit lengthUnit = LengthUnit::Bars;
  double start = 0.0;

  std::vector<NoteInput> notes;
  std::vector<ParameterSetting> parameters;
  std::string loadFile;

  std::string midiFile;
  int ppq = 960;
  bool text = false;
  std::string textFile;
  std::string saveChunkFile;

  // The editor as a PNG file instead of a render.
  std::string screenshotFile;
  int skin = -1;  // a style index; -1: the one the user's configuration selects
  int zoom = 0;   // a zoom step in percent; 0: the user's choice, else 100
  EditorView show = EditorView::Editor;
  int playingStep = 0;  // 1..64 lit as the playing step; 0: none

  // With no output asked for, the events go to standard output as text.
  bool TextToStdout() const {
    return text || (midiFile.empty() && textFile.empty() && saveChunkFile.empty() && screenshotFile.empty());
  }
};

// A command line that cannot be used; the message says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name.
Options ParseOptions(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace vornix::render
