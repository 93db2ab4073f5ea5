#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "TempEnvironment.h"
#include "platform/Files.h"
#include "platform/PlatformError.h"

namespace vornix::platform {
namespace {

using test::ReadText;
using test::TTempFolder;
using test::WriteText;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

#ifdef _WIN32
// Windows names ignore case (so "A" and "a" cannot both exist) and hide nothing by a leading dot.
TEST(ListFiles, PresetFilesSortIgnoringCaseWithoutFoldersOrOtherNames) {
  TTempFolder temp;
  const auto& dir = temp.Path();
  for (const char* name : {"b.orvanep", "A.orvanep", "c.txt", ".hidden.orvanep", ".orvanep", "B10.orvanep",
                           "_x.orvanep", "E.ORVANEP", "f.orvanep.bak", "init.orvanep", "caf\xc3\xa9.orvanep"})
    WriteText(dir / FilePath(name), "x");
  std::filesystem::create_directory(dir / "folder.orvanep");

  EXPECT_THAT(ListPresetNames(dir), ElementsAre(".hidden", "_x", "A", "b", "B10", "caf\xc3\xa9", "E", "init"));
  EXPECT_THAT(ListFiles(dir, ".txt"), ElementsAre("c.txt"));
  // The folder as the module holds it, with its trailing separator.
  EXPECT_EQ(ListPresetNames(FileNameText(dir) + "\\"), ListPresetNames(dir));
}
#else
TEST(ListFiles, PresetFilesSortIgnoringCaseWithoutHiddenFilesFoldersOrOtherNames) {
  TTempFolder temp;
  const auto& dir = temp.Path();
  for (const char* name : {"b.orvanep", "A.orvanep", "a.orvanep", "c.txt", ".hidden.orvanep", ".orvanep", "B10.orvanep",
                           "_x.orvanep", "E.ORVANEP", "f.orvanep.bak", "init.orvanep"})
    WriteText(dir / name, "x");
  std::filesystem::create_directory(dir / "folder.orvanep");
  std::filesystem::create_symlink(dir / "b.orvanep", dir / "link.orvanep");
  std::filesystem::create_symlink(dir / "gone", dir / "broken.orvanep");

  EXPECT_THAT(ListPresetNames(dir), ElementsAre("_x", "A", "a", "b", "B10", "init", "link"));
  EXPECT_THAT(ListFiles(dir, ".orvanep"), ElementsAre("_x.orvanep", "A.orvanep", "a.orvanep", "b.orvanep",
                                                      "B10.orvanep", "init.orvanep", "link.orvanep"));
  // The folder as the module holds it, with its trailing separator.
  EXPECT_EQ(ListPresetNames(dir.string() + "/"), ListPresetNames(dir));
  EXPECT_THAT(ListFiles(dir, ".txt"), ElementsAre("c.txt"));
}
#endif

TEST(ListFiles, MissingFolderOrAFileInsteadListsNothing) {
  TTempFolder temp;
  WriteText(temp.Path() / "file", "x");
  EXPECT_THAT(ListPresetNames(temp.Path() / "missing"), IsEmpty());
  EXPECT_THAT(ListPresetNames(temp.Path() / "file"), IsEmpty());
}

TEST(TextLessIgnoringCase, OrdersIgnoringCaseThenByBytes) {
  EXPECT_TRUE(TextLessIgnoringCase("A", "b"));
  EXPECT_TRUE(TextLessIgnoringCase("a", "B"));
  EXPECT_TRUE(TextLessIgnoringCase("A", "a"));
  EXPECT_FALSE(TextLessIgnoringCase("a", "A"));
  EXPECT_FALSE(TextLessIgnoringCase("a", "a"));
  EXPECT_TRUE(TextLessIgnoringCase("ab", "ABC"));
  EXPECT_TRUE(TextLessIgnoringCase("z", "\xc3\x84"));  // non-ASCII after ASCII, by bytes
}

TEST(ForceDirectories, CreatesEveryMissingParentAndRaisesWhenAFileIsInTheWay) {
  TTempFolder temp;
  const auto deep = temp.Path() / "a" / "b" / "c";
  ForceDirectories(deep.string() + "/");
  EXPECT_TRUE(std::filesystem::is_directory(deep));
  ForceDirectories(deep);  // existing is fine

  WriteText(temp.Path() / "file", "x");
  for (const auto& blocked : {temp.Path() / "file", temp.Path() / "file" / "sub"}) {
    try {
      ForceDirectories(blocked);
      ADD_FAILURE() << "no error for " << blocked;
    } catch (const EOSError& e) {
      EXPECT_THAT(e.what(), ::testing::HasSubstr(blocked.string()));
    }
  }
  EXPECT_EQ(ReadText(temp.Path() / "file"), "x");
}

TEST(RemoveFile, DeletesFilesButNeverFolders) {
  TTempFolder temp;
  WriteText(temp.Path() / "p.orvanep", "x");
  std::filesystem::create_directory(temp.Path() / "folder");
  EXPECT_TRUE(RemoveFile(temp.Path() / "p.orvanep"));
  EXPECT_FALSE(std::filesystem::exists(temp.Path() / "p.orvanep"));
  EXPECT_FALSE(RemoveFile(temp.Path() / "p.orvanep"));
  EXPECT_FALSE(RemoveFile(temp.Path() / "folder"));
  EXPECT_TRUE(std::filesystem::is_directory(temp.Path() / "folder"));
}

TEST(FileExistsAbsolute, OnlyExistingFilesOnAbsolutePaths) {
  TTempFolder temp;
  WriteText(temp.Path() / "init.orvanep", "x");
  std::filesystem::create_directory(temp.Path() / "folder");
  const std::string file = (temp.Path() / "init.orvanep").string();
  const auto oldCwd = std::filesystem::current_path();
  std::filesystem::current_path(temp.Path());
  struct Case {
    std::string path;
    bool expected;
  };
  const Case cases[] = {
      {file, true},
      {"\"" + file + "\"", true},
      {"  \"" + file + "\"  ", true},
      {"init.orvanep", false},  // exists relative to the working folder, but is not absolute
      {"./init.orvanep", false},
      {(temp.Path() / "folder").string(), false},
      {(temp.Path() / "missing").string(), false},
      {"", false},
      {"\"\"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExistsAbsolute(c.path), c.expected) << c.path;
  EXPECT_TRUE(FileExists("init.orvanep"));
  EXPECT_FALSE(FileExists("folder"));
  std::filesystem::current_path(oldCwd);
}

#ifdef _WIN32
TEST(WriteFileAtomically, CreatesOrReplacesAndLeavesNoTemporaryFile) {
  TTempFolder temp;
  const auto file = temp.Path() / FilePath(
                                      "Gr\xc3\xbc\xc3\x9f"
                                      "e.orvanep");
  WriteFileAtomically(file, std::string("mmst\0\0\0\0", 8));
  EXPECT_EQ(ReadText(file), std::string("mmst\0\0\0\0", 8));
  WriteFileAtomically(file, "second");
  EXPECT_EQ(ReadText(file), "second");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
  EXPECT_THAT(ListPresetNames(temp.Path()), ElementsAre("Gr\xc3\xbc\xc3\x9f"
                                                        "e"));
}
#else
// Permissions and symbolic links as POSIX systems have them.
TEST(WriteFileAtomically, CreatesOrReplacesKeepingPermissionsAndLeavesNoTemporaryFile) {
  TTempFolder temp;
  const auto file = temp.Path() / "p.orvanep";
  WriteFileAtomically(file, std::string("mmst\0\0\0\0", 8));
  EXPECT_EQ(ReadText(file), std::string("mmst\0\0\0\0", 8));
  ::chmod(file.c_str(), 0640);
  WriteFileAtomically(file, "second");
  EXPECT_EQ(ReadText(file), "second");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);

  std::filesystem::create_directory(temp.Path() / "elsewhere");
  std::filesystem::rename(file, temp.Path() / "elsewhere" / "real");
  std::filesystem::create_symlink(temp.Path() / "elsewhere" / "real", file);
  WriteFileAtomically(file, "third");
  EXPECT_TRUE(std::filesystem::is_symlink(file));
  EXPECT_EQ(ReadText(temp.Path() / "elsewhere" / "real"), "third");
}
#endif

TEST(WriteFileAtomically, AFailedReplaceKeepsWhatWasThereAndCleansUp) {
  TTempFolder temp;
  std::filesystem::create_directory(temp.Path() / "p.orvanep");
  EXPECT_THROW(WriteFileAtomically(temp.Path() / "p.orvanep", "new"), EOSError);
  EXPECT_TRUE(std::filesystem::is_directory(temp.Path() / "p.orvanep"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), 1);
  EXPECT_THROW(WriteFileAtomically(temp.Path() / "missing" / "p.orvanep", "new"), EOSError);
}

TEST(MakeValidFileName, ReplacesCharactersNoFileNameMayHold) {
  struct Case {
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      {"a/b:c", "a_b_c"},
      {"\\/:*?\"<>|", "_________"},
      {"Bass Line 1", "Bass Line 1"},
      {"50% (v2) & more", "50% (v2) & more"},
      {"", ""},
#ifdef _WIN32
      {".hidden", ".hidden"},  // an ordinary name there
      {"..", ".."},
#else
      {".hidden", "_hidden"},  // would not be listed
      {"..", "_."},
#endif
      {"a.b", "a.b"},
      {"caf\xc3\xa9", "caf\xc3\xa9"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeValidFileName(c.name), c.expected) << c.name;
}

}  // namespace
}  // namespace vornix::platform
