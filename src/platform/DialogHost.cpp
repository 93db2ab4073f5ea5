#include "platform/DialogHost.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <utility>

#include "platform/Files.h"

namespace vornix::platform {

std::string ErrorText(const std::string& sentence, const std::string& message) {
  return sentence + "\r\n\r\n\"" + message + "\"";
}

namespace {

// What a user who cannot be asked answers.
TModalResult DefaultButton(TMsgDlgButtons buttons) {
  return buttons == TMsgDlgButtons::mbYesNo ? TModalResult::mrNo : TModalResult::mrOk;
}

bool IsBlankText(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

const char* KindName(TDialogKind kind) {
  switch (kind) {
    case TDialogKind::Message: return "message";
    case TDialogKind::Text: return "text input";
    case TDialogKind::Number: return "number input";
    case TDialogKind::Preset: return "preset browser";
  }
  return "dialog";
}

}  // namespace

// ---- THeadlessDialogHost

THeadlessDialogHost::THeadlessDialogHost(std::string applicationTitle, TMessageSink onMessage)
    : THeadlessDialogHost(std::move(applicationTitle), std::cerr, std::move(onMessage)) {}

THeadlessDialogHost::THeadlessDialogHost(std::string applicationTitle, std::ostream& out, TMessageSink onMessage)
    : applicationTitle_(std::move(applicationTitle)), out_(out), onMessage_(std::move(onMessage)) {}

TModalResult THeadlessDialogHost::ShowMessageDialog(const std::string& text, const std::string& caption, TMsgDlgType,
                                                    TMsgDlgButtons buttons) {
  // Messages carry CR LF pairs for the dialog; one stream line per line of text.
  std::string plain;
  for (char c : text)
    if (c != '\r') plain += c;
  {
    const std::lock_guard lock(mutex_);
    out_ << (caption.empty() ? applicationTitle_ : caption) << ": " << plain;
    if (buttons == TMsgDlgButtons::mbYesNo) out_ << " [No]";
    out_ << '\n' << std::flush;
  }
  if (onMessage_) onMessage_(text);
  return DefaultButton(buttons);
}

std::optional<std::string> THeadlessDialogHost::InputText(const std::string&, const std::string&, const std::string&,
                                                          bool, int) {
  return std::nullopt;
}

std::optional<double> THeadlessDialogHost::InputNumber(const std::string&, const std::string&, double, double, double,
                                                       int) {
  return std::nullopt;
}

std::optional<std::string> THeadlessDialogHost::ChoosePreset(const std::string&, const std::string&) {
  return std::nullopt;
}

// ---- TScriptedDialogHost

TScriptedDialogHost::TScriptedDialogHost(std::vector<TDialogAnswer> answers)
    : answers_(answers.begin(), answers.end()) {}

TScriptedDialogHost& TScriptedDialogHost::Answer(TDialogAnswer answer) {
  answers_.push_back(std::move(answer));
  return *this;
}

void TScriptedDialogHost::Problem(const TDialogQuestion& question, const std::string& what) {
  problems_.push_back(std::string(KindName(question.Kind)) + " \"" + question.Caption + "\": " + what);
}

std::optional<TDialogAnswer> TScriptedDialogHost::Next(const TDialogQuestion& question) {
  questions_.push_back(question);
  // A copy: the handler may ask further questions.
  if (OnQuestion) OnQuestion(TDialogQuestion(question));
  if (answers_.empty()) {
    Problem(question, "no answer left");
    return std::nullopt;
  }
  TDialogAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

TModalResult TScriptedDialogHost::ShowMessageDialog(const std::string& text, const std::string& caption,
                                                    TMsgDlgType type, TMsgDlgButtons buttons) {
  TDialogQuestion question;
  question.Kind = TDialogKind::Message;
  question.Caption = caption;
  question.Text = text;
  question.Type = type;
  question.Buttons = buttons;
  const auto answer = Next(question);
  if (!answer) return DefaultButton(buttons);
  const bool fits =
      answer->Kind == TDialogAnswer::TKind::Button &&
      (buttons == TMsgDlgButtons::mbOK ? answer->Button == TModalResult::mrOk
                                       : answer->Button == TModalResult::mrYes || answer->Button == TModalResult::mrNo);
  if (!fits) {
    Problem(question, "answered with a button it does not have");
    return DefaultButton(buttons);
  }
  return answer->Button;
}

std::optional<std::string> TScriptedDialogHost::InputText(const std::string& caption, const std::string& prompt,
                                                          const std::string& text, bool allowEmpty, int maxLength) {
  TDialogQuestion question;
  question.Kind = TDialogKind::Text;
  question.Caption = caption;
  question.Prompt = prompt;
  question.Text = text;
  question.AllowEmpty = allowEmpty;
  question.MaxLength = maxLength;
  const auto answer = Next(question);
  if (!answer || answer->Kind == TDialogAnswer::TKind::Cancel) return std::nullopt;
  if (answer->Kind != TDialogAnswer::TKind::Text) {
    Problem(question, "answered with something other than text");
    return std::nullopt;
  }
  if (maxLength > 0 && answer->Text.size() > static_cast<std::size_t>(maxLength)) {
    Problem(question, "text longer than " + std::to_string(maxLength) + " characters");
    return std::nullopt;
  }
  if (!allowEmpty && IsBlankText(answer->Text)) {
    Problem(question, "blank text where OK is disabled");
    return std::nullopt;
  }
  return answer->Text;
}

std::optional<double> TScriptedDialogHost::InputNumber(const std::string& caption, const std::string& prompt,
                                                       double value, double minimum, double maximum, int decimals) {
  TDialogQuestion question;
  question.Kind = TDialogKind::Number;
  question.Caption = caption;
  question.Prompt = prompt;
  question.Value = value;
  question.Minimum = minimum;
  question.Maximum = maximum;
  question.Decimals = decimals;
  for (;;) {
    const auto answer = Next(question);
    if (!answer || answer->Kind == TDialogAnswer::TKind::Cancel) return std::nullopt;
    if (answer->Kind != TDialogAnswer::TKind::Number || !std::isfinite(answer->Number)) {
      Problem(question, "answered with something other than a number");
      return std::nullopt;
    }
    if (minimum == maximum || (answer->Number >= minimum && answer->Number <= maximum)) return answer->Number;
    // The dialog comes back with what was typed.
    question.Value = answer->Number;
  }
}

std::optional<std::string> TScriptedDialogHost::ChoosePreset(const std::string& presetsFolder,
                                                             const std::string& currentPreset) {
  TDialogQuestion question;
  question.Kind = TDialogKind::Preset;
  question.Caption = "Load Preset";
  question.Text = currentPreset;
  question.Folder = presetsFolder;
  question.Choices = ListPresetNames(FilePath(presetsFolder));
  const auto answer = Next(question);
  if (!answer || answer->Kind == TDialogAnswer::TKind::Cancel) return std::nullopt;
  if (answer->Kind != TDialogAnswer::TKind::Preset) {
    Problem(question, "answered with something other than a preset");
    return std::nullopt;
  }
  const auto& offered = question.Choices;
  if (std::find(offered.begin(), offered.end(), answer->Text) == offered.end()) {
    Problem(question, "chose \"" + answer->Text + "\", which was not listed");
    return std::nullopt;
  }
  return answer->Text;
}

}  // namespace vornix::platform
