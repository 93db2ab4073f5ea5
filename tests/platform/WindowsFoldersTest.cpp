// The documents folder as the Windows shell names it, in a user registry of the test's own.
#include <gtest/gtest.h>

#include "TempEnvironment.h"
#include "platform/Files.h"
#include "platform/Folders.h"

namespace vornix::platform {
namespace {

using test::TScopedUserRegistry;
using test::TTempFolder;

TEST(WindowsFolders, DocumentsFolderIsTheShellsPersonalFolderWithoutTrailingSeparator) {
  TTempFolder temp;
  TScopedUserRegistry registry;
  // Non-ASCII names must survive the trip through the wide-character interface.
  const auto documents = temp.Path() / FilePath("Eigene Dateien \xc3\xa4\xe2\x82\xac");
  std::filesystem::create_directories(documents);
  for (const auto& named : {documents, documents / ""}) {
    registry.SetPersonalFolder(named);
    EXPECT_EQ(PersonalDocumentsFolder(), FileNameText(documents)) << named;
  }
  EXPECT_EQ(DataFolder(PersonalDocumentsFolder(), "Vornix"), FileNameText(documents) + "\\Orvane\\Vornix\\");
}

TEST(WindowsFolders, NoDocumentsFolderWhenTheShellCannotGiveOne) {
  TTempFolder temp;
  TScopedUserRegistry registry;
  registry.SetPersonalFolder(temp.Path() / "missing");
  EXPECT_EQ(PersonalDocumentsFolder(), "");
  EXPECT_EQ(DataFolder(PersonalDocumentsFolder(), "Vornix"), "Orvane\\Vornix\\");
}

}  // namespace
}  // namespace vornix::platform
