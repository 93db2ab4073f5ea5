#include "editor/logic/BinClipboard.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "editor/logic/StepClipboard.h"
#include "platform/Folders.h"
#include "platform/MemoryWindowSystem.h"

// Last: on Windows it brings <windows.h>, whose CreateDialog macro would rename the window
// system's method.
#include "../platform/TempEnvironment.h"

namespace vornix::editor {
namespace {

using platform::TMemoryClipboard;
using platform::TMemoryWindowSystem;
using platform::test::ReadText;
using platform::test::TTempFolder;
using platform::test::WriteText;
using Bytes = std::vector<std::uint8_t>;

Bytes StreamOf(int stepCount, float value) {
  sequencer::TCCStepList steps(sequencer::TCCStepList::kMaxSteps);
  for (int i = 0; i < stepCount; ++i) steps[i].SetValue(value);
  return WriteStepStream(steps, stepCount);
}

std::string Text(const Bytes& b) { return {b.begin(), b.end()}; }

class BinClipboardTest : public ::testing::Test {
 protected:
  std::filesystem::path Folder() const { return temp_.Path() / "Orvane" / "Vornix" / "Clipboard"; }

  TTempFolder temp_;
};

TEST_F(BinClipboardTest, APutWritesTheBlockToTheSystemClipboardAndTheFile) {
  TMemoryWindowSystem system;
  TBinClipboard clipboard(system, Folder());
  EXPECT_EQ(clipboard.FormatName(), "VornixStepData");
  EXPECT_EQ(clipboard.FileName(), Folder() / "VornixStepData.bin");
  EXPECT_FALSE(clipboard.HasStepData());
  EXPECT_EQ(clipboard.GetStream(), std::nullopt);

  const Bytes stream = StreamOf(1, 63.0f);
  clipboard.PutStream(stream);
  const Bytes block = MakeClipboardBlock(stream);
  EXPECT_EQ(system.Clipboard().Formats.at("VornixStepData"), block);
  EXPECT_EQ(ReadText(clipboard.FileName()), Text(block));
  EXPECT_TRUE(clipboard.HasStepData());
  EXPECT_EQ(clipboard.GetStream(), stream);
}

TEST_F(BinClipboardTest, InstancesSharingTheSystemClipboardNeedNoFile) {
  auto shared = std::make_shared<TMemoryClipboard>();
  TMemoryWindowSystem first(shared), second(shared);
  TBinClipboard copy(first, {}), paste(second, {});
  EXPECT_TRUE(copy.FileName().empty());
  copy.PutStream(StreamOf(8, 10.0f));
  EXPECT_TRUE(paste.HasStepData());
  EXPECT_EQ(paste.GetStream(), StreamOf(8, 10.0f));
  // Anything copied since replaces the steps.
  second.SetClipboardText("text");
  EXPECT_FALSE(paste.HasStepData());
}

TEST_F(BinClipboardTest, StepsCopiedInOneWindowSystemArePastedInAnother) {
  TMemoryWindowSystem first, second;  // two instances with clipboards of their own
  TBinClipboard copy(first, Folder()), paste(second, Folder());
  EXPECT_FALSE(paste.HasStepData());
  copy.PutStream(StreamOf(16, 100.0f));
  EXPECT_FALSE(second.HasClipboard("VornixStepData"));
  EXPECT_TRUE(paste.HasStepData());
  EXPECT_EQ(paste.GetStream(), StreamOf(16, 100.0f));
}

TEST_F(BinClipboardTest, TheFileOutlivesTheWindowSystem) {
  {
    TMemoryWindowSystem editor;
    TBinClipboard(editor, Folder()).PutStream(StreamOf(4, 1.0f));
  }
  TMemoryWindowSystem reopened;
  TBinClipboard clipboard(reopened, Folder());
  EXPECT_TRUE(clipboard.HasStepData());
  EXPECT_EQ(clipboard.GetStream(), StreamOf(4, 1.0f));
}

// The user's latest copy decides: the system clipboard while some program holds it, the file
// only when none does.
TEST_F(BinClipboardTest, TheHeldSystemClipboardIsTheTruthAndTheFileServesWhenNoneIsHeld) {
  const Bytes older = StreamOf(4, 1.0f), newer = StreamOf(6, 2.0f);
  enum class TClipboard { NotHeld, HeldWithNewerSteps, HeldWithText, HeldWithOtherData };
  struct TCase {
    std::string Name;
    bool FileWithOlderSteps;
    TClipboard Clipboard;
    std::optional<Bytes> Pasted;
  };
  const TCase cases[] = {
      {"nothing anywhere", false, TClipboard::NotHeld, std::nullopt},
      {"the copying editor closed: the file", true, TClipboard::NotHeld, older},
      {"steps copied by an instance with another documents folder", true, TClipboard::HeldWithNewerSteps, newer},
      {"the same without a file here", false, TClipboard::HeldWithNewerSteps, newer},
      {"text copied after the steps", true, TClipboard::HeldWithText, std::nullopt},
      {"another program's data copied after the steps", true, TClipboard::HeldWithOtherData, std::nullopt},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::filesystem::remove_all(Folder());
    if (c.FileWithOlderSteps) {
      TMemoryWindowSystem earlier;
      TBinClipboard(earlier, Folder()).PutStream(older);
    }
    auto shared = std::make_shared<TMemoryClipboard>();
    TMemoryWindowSystem other(shared), here(shared);
    switch (c.Clipboard) {
      case TClipboard::NotHeld: break;
      case TClipboard::HeldWithNewerSteps: TBinClipboard(other, temp_.Path() / "sandbox").PutStream(newer); break;
      case TClipboard::HeldWithText: other.SetClipboardText("text"); break;
      case TClipboard::HeldWithOtherData: other.SetClipboard("image/png", {1, 2, 3}); break;
    }
    TBinClipboard clipboard(here, Folder());
    EXPECT_EQ(clipboard.HasStepData(), c.Pasted.has_value());
    EXPECT_EQ(clipboard.GetStream(), c.Pasted);
  }
}

TEST_F(BinClipboardTest, CopiedStepsStayPastableAfterTheCopyingEditorCloses) {
  auto shared = std::make_shared<TMemoryClipboard>();
  TMemoryWindowSystem copying(shared), pasting(shared);
  TBinClipboard(copying, Folder()).PutStream(StreamOf(4, 1.0f));
  TBinClipboard paste(pasting, Folder());
  // Then other text is copied and that program goes away too: nothing holds the clipboard.
  pasting.SetClipboardText("text");
  EXPECT_FALSE(paste.HasStepData());
  shared->OwnerGone();
  EXPECT_TRUE(paste.HasStepData());
  EXPECT_EQ(paste.GetStream(), StreamOf(4, 1.0f));
}

TEST_F(BinClipboardTest, InstancesWithClipboardsOfTheirOwnEachPasteTheirHeldCopy) {
  TMemoryWindowSystem first, second;  // another display each
  TBinClipboard a(first, Folder()), b(second, Folder());
  a.PutStream(StreamOf(4, 1.0f));
  b.PutStream(StreamOf(4, 2.0f));
  EXPECT_EQ(a.GetStream(), StreamOf(4, 1.0f));
  EXPECT_EQ(b.GetStream(), StreamOf(4, 2.0f));
  // Once the first one's clipboard is held by nobody, the latest copy in the file is what it gets.
  first.Clipboard().OwnerGone();
  EXPECT_EQ(a.GetStream(), StreamOf(4, 2.0f));
}

TEST_F(BinClipboardTest, DamagedFilesAreNeverUsed) {
  const Bytes good = MakeClipboardBlock(StreamOf(2, 5.0f));
  struct TCase {
    std::string Name;
    std::string File;
  };
  const TCase cases[] = {
      {"empty", ""},
      {"three bytes", "\x18\x00\x00"},
      {"cut short", Text(Bytes(good.begin(), good.end() - 1))},
      {"bytes after the block", Text(good) + "x"},
      {"negative length", std::string("\xFF\xFF\xFF\xFF", 4) + Text(Bytes(good.begin() + 4, good.end()))},
      {"too large", Text(MakeClipboardBlock(Bytes(TBinClipboard::kMaxFileSize, 0)))},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::filesystem::create_directories(Folder());
    TMemoryWindowSystem system;
    TBinClipboard clipboard(system, Folder());
    WriteText(clipboard.FileName(), c.File);
    EXPECT_FALSE(clipboard.HasStepData());
    EXPECT_EQ(clipboard.GetStream(), std::nullopt);
    // Steps on the system clipboard are found beside it.
    system.SetClipboard("VornixStepData", MakeClipboardBlock(StreamOf(3, 7.0f)));
    EXPECT_TRUE(clipboard.HasStepData());
    EXPECT_EQ(clipboard.GetStream(), StreamOf(3, 7.0f));
  }
  // A folder where the file would be is no file either.
  std::filesystem::remove(Folder() / "VornixStepData.bin");
  std::filesystem::create_directories(Folder() / "VornixStepData.bin");
  TMemoryWindowSystem system;
  EXPECT_FALSE(TBinClipboard(system, Folder()).HasStepData());
}

TEST_F(BinClipboardTest, ABrokenBlockOnTheSystemClipboardIsReported) {
  TMemoryWindowSystem system;
  TBinClipboard clipboard(system, Folder());
  system.SetClipboard("VornixStepData", {0x30, 0x00, 0x00, 0x00, 0x01});
  EXPECT_TRUE(clipboard.HasStepData());
  try {
    clipboard.GetStream();
    FAIL() << "no exception";
  } catch (const EBinClipboardError& e) {
    EXPECT_STREQ(e.what(), "Invalid data in Clipboard!");
  }
  // While it is held, a copy in the file does not stand in for it; once nothing holds it, it does.
  TMemoryWindowSystem other;
  TBinClipboard(other, Folder()).PutStream(StreamOf(2, 9.0f));
  EXPECT_THROW(clipboard.GetStream(), EBinClipboardError);
  system.Clipboard().OwnerGone();
  EXPECT_EQ(clipboard.GetStream(), StreamOf(2, 9.0f));
}

TEST_F(BinClipboardTest, AFileThatCannotBeWrittenNeverHoldsAnOlderCopy) {
  TMemoryWindowSystem system;
  TBinClipboard clipboard(system, Folder());
  // An empty folder in the file's place: the write fails, the folder goes, the copy stands.
  std::filesystem::create_directories(clipboard.FileName());
  clipboard.PutStream(StreamOf(2, 4.0f));
  EXPECT_FALSE(std::filesystem::exists(clipboard.FileName()));
  EXPECT_EQ(clipboard.GetStream(), StreamOf(2, 4.0f));

  // One that cannot be removed either: the put fails, with the steps on the system clipboard.
  std::filesystem::create_directories(clipboard.FileName() / "inside");
  EXPECT_THROW(clipboard.PutStream(StreamOf(2, 6.0f)), EBinClipboardError);
  EXPECT_EQ(system.Clipboard().Formats.at("VornixStepData"), MakeClipboardBlock(StreamOf(2, 6.0f)));
  EXPECT_EQ(clipboard.GetStream(), StreamOf(2, 6.0f));
}

TEST_F(BinClipboardTest, TheFileIsNamedAfterTheFormat) {
  TMemoryWindowSystem system;
  TBinClipboard clipboard(system, Folder());
  clipboard.SetFormatName("Other: Steps");
  EXPECT_EQ(clipboard.FileName(), Folder() / "Other_ Steps.bin");
  clipboard.PutStream(StreamOf(1, 1.0f));
  EXPECT_TRUE(system.HasClipboard("Other: Steps"));
  EXPECT_FALSE(TBinClipboard(system, Folder()).HasStepData());
}

TEST(StepClipboardFolder, IsInTheDataFolderOnlyWhenThatIsAbsolute) {
  TTempFolder temp;
  const std::string data = platform::DataFolder(temp.Path().string(), "Vornix");
  EXPECT_EQ(StepClipboardFolder(data), temp.Path() / "Orvane" / "Vornix" / "Clipboard");
  // Without a documents folder the data folder stays relative; nothing is written then.
  EXPECT_TRUE(StepClipboardFolder(platform::DataFolder("", "Vornix")).empty());
  EXPECT_TRUE(StepClipboardFolder("").empty());
}

#ifndef _WIN32
// Another host process copies (its own windows, its own clipboard) and goes away; this one pastes.
TEST_F(BinClipboardTest, StepsCopiedInAnotherProcessArePastedHere) {
  const Bytes stream = StreamOf(8, 100.0f);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TMemoryWindowSystem system;
    TBinClipboard(system, Folder()).PutStream(stream);
    std::_Exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  TMemoryWindowSystem system;
  TBinClipboard clipboard(system, Folder());
  EXPECT_TRUE(clipboard.HasStepData());
  EXPECT_EQ(clipboard.GetStream(), stream);
}
#endif

}  // namespace
}  // namespace vornix::editor
