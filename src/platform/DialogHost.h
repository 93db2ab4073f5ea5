// The questions and messages the module puts to the user. The editor answers them with modal
// dialogs of its own; without an editor the headless host answers; tests script the answers.
#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vornix::platform {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgButtons { mbOK, mbYesNo };
// The values the dialogs close with.
enum class TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// One dialog host stands for one owner: the editor's host centres its dialogs on the editor.
class TDialogHost {
 public:
  virtual ~TDialogHost() = default;

  // A message or a question; the title is the caption, or the application title when it is empty.
  // Returns the button pressed: mrOk for mbOK, mrYes or mrNo for mbYesNo.
  virtual TModalResult ShowMessageDialog(const std::string& text, const std::string& caption, TMsgDlgType type,
                                         TMsgDlgButtons buttons) = 0;

  // One line of text, starting from `text`. The answer is the edited text, not trimmed, at most
  // `maxLength` characters, and not blank unless `allowEmpty`; nothing on Cancel.
  virtual std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                               const std::string& text, bool allowEmpty, int maxLength) = 0;

  // A number with `decimals` decimals, starting from `value`. When minimum != maximum the answer
  // lies within them (the dialog asks again until it does); nothing on Cancel.
  virtual std::optional<double> InputNumber(const std::string& caption, const std::string& prompt, double value,
                                            double minimum, double maximum, int decimals) = 0;

  // The preset browser over the preset files of `presetsFolder` (with trailing separator), with
  // `currentPreset` preselected. The browser may delete files itself. Returns the chosen preset
  // name (the file name without folder and extension); nothing when the browser closes otherwise.
  virtual std::optional<std::string> ChoosePreset(const std::string& presetsFolder,
                                                  const std::string& currentPreset) = 0;
};

// Answers without a user: messages go to the stream (standard error by default) and to `onMessage`
// (the module passes them on to the editor's info line); questions are answered No, inputs and
// the browser Cancel. Any thread may ask.
class THeadlessDialogHost final : public TDialogHost {
 public:
  using TMessageSink = std::function<void(const std::string& text)>;
  explicit THeadlessDialogHost(std::string applicationTitle, TMessageSink onMessage = nullptr);
  THeadlessDialogHost(std::string applicationTitle, std::ostream& out, TMessageSink onMessage = nullptr);

  TModalResult ShowMessageDialog(const std::string& text, const std::string& caption, TMsgDlgType type,
                                 TMsgDlgButtons buttons) override;
  std::optional<std::string> InputText(const std::string& caption, const std::string& prompt, const std::string& text,
                                       bool allowEmpty, int maxLength) override;
  std::optional<double> InputNumber(const std::string& caption, const std::string& prompt, double value, double minimum,
                                    double maximum, int decimals) override;
  std::optional<std::string> ChoosePreset(const std::string& presetsFolder, const std::string& currentPreset) override;

 private:
  std::string applicationTitle_;
  std::ostream& out_;
  TMessageSink onMessage_;
  std::mutex mutex_;  // one message at a time on the stream
};

// How an error reaches the user: a fixed sentence, an empty line and the error's own message in
// double quotes.
std::string ErrorText(const std::string& sentence, const std::string& message);

enum class TDialogKind { Message, Text, Number, Preset };

// What was asked, as the user would have seen it.
struct TDialogQuestion {
  TDialogKind Kind = TDialogKind::Message;
  std::string Caption;
  std::string Text;    // message text; the starting text of InputText; the current preset
  std::string Prompt;  // InputText, InputNumber
  TMsgDlgType Type = TMsgDlgType::mtInformation;
  TMsgDlgButtons Buttons = TMsgDlgButtons::mbOK;
  bool AllowEmpty = false;
  int MaxLength = 0;
  double Value = 0, Minimum = 0, Maximum = 0;
  int Decimals = 0;
  std::string Folder;                // ChoosePreset
  std::vector<std::string> Choices;  // ChoosePreset: the preset names in the folder when asked
};

// One scripted user action.
struct TDialogAnswer {
  enum class TKind { Button, Text, Number, Preset, Cancel };
  TKind Kind = TKind::Cancel;
  TModalResult Button = TModalResult::mrNone;
  std::string Text;
  double Number = 0;

  static TDialogAnswer Ok() { return {TKind::Button, TModalResult::mrOk, {}, 0}; }
  static TDialogAnswer Yes() { return {TKind::Button, TModalResult::mrYes, {}, 0}; }
  static TDialogAnswer No() { return {TKind::Button, TModalResult::mrNo, {}, 0}; }
  static TDialogAnswer Cancel() { return {TKind::Cancel, TModalResult::mrNone, {}, 0}; }
  static TDialogAnswer Typed(std::string text) { return {TKind::Text, TModalResult::mrNone, std::move(text), 0}; }
  static TDialogAnswer Entered(double number) { return {TKind::Number, TModalResult::mrNone, {}, number}; }
  static TDialogAnswer Chosen(std::string preset) {
    return {TKind::Preset, TModalResult::mrNone, std::move(preset), 0};
  }
};

// Answers from a queue and records every question. An answer the real dialog could not give
// (a button the box does not have, an over-long or forbidden text, a preset not offered, a missing
// answer) is noted in Problems() and replaced by what the headless host would answer. A number
// outside the range is what the user may type: the dialog is shown again (a second question) and
// the next answer is taken.
class TScriptedDialogHost final : public TDialogHost {
 public:
  TScriptedDialogHost() = default;
  explicit TScriptedDialogHost(std::vector<TDialogAnswer> answers);

  TScriptedDialogHost& Answer(TDialogAnswer answer);

  TModalResult ShowMessageDialog(const std::string& text, const std::string& caption, TMsgDlgType type,
                                 TMsgDlgButtons buttons) override;
  std::optional<std::string> InputText(const std::string& caption, const std::string& prompt, const std::string& text,
                                       bool allowEmpty, int maxLength) override;
  std::optional<double> InputNumber(const std::string& caption, const std::string& prompt, double value, double minimum,
                                    double maximum, int decimals) override;
  std::optional<std::string> ChoosePreset(const std::string& presetsFolder, const std::string& currentPreset) override;

  const std::vector<TDialogQuestion>& Questions() const { return questions_; }
  const std::vector<std::string>& Problems() const { return problems_; }
  std::size_t PendingAnswers() const { return answers_.size(); }

  // Runs when a question has been recorded, before it is answered: the moment a user would act
  // while the dialog is open (for example delete a preset file in the browser).
  std::function<void(const TDialogQuestion&)> OnQuestion;

 private:
  std::optional<TDialogAnswer> Next(const TDialogQuestion& question);
  void Problem(const TDialogQuestion& question, const std::string& what);

  std::deque<TDialogAnswer> answers_;
  std::vector<TDialogQuestion> questions_;
  std::vector<std::string> problems_;
};

}  // namespace vornix::platform
