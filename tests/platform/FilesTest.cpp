#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include <cstdlib>
#include <locale>
#include <optional>
#include <string>

#include "TempEnvironment.h"
#include "platform/Files.h"
#include "platform/NameOrder.h"
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

  // What Windows hides is not listed either.
  SetFileAttributesW((dir / "b.orvanep").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW((dir / "E.ORVANEP").c_str(), FILE_ATTRIBUTE_SYSTEM);
  EXPECT_THAT(ListPresetNames(dir), ElementsAre(".hidden", "_x", "A", "B10", "caf\xc3\xa9", "init"));
}
#else
TEST(ListFiles, PresetFilesSortIgnoringCaseWithoutHiddenFilesFoldersOrOtherNames) {
  test::TScopedEnv language("LC_ALL", "C");
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

#ifndef _WIN32
// Where a Swedish locale is found: "" when the machine has one; else a folder for LOCPATH with one
// made by localedef from the machine's locale sources; nothing when neither is there.
std::optional<std::string> SwedishLocales(const std::filesystem::path& folder) {
  try {
    std::locale("sv_SE.UTF-8");
    return "";
  } catch (const std::exception&) {
  }
  if (!std::filesystem::exists("/usr/share/i18n/locales/sv_SE")) return std::nullopt;
  std::filesystem::create_directories(folder);
  const std::string command = "localedef -i sv_SE -f UTF-8 '" + (folder / "sv_SE.UTF-8").string() + "' >/dev/null 2>&1";
  // Warnings about the sources give a status other than 0 as well: what was made decides.
  [[maybe_unused]] const int status = std::system(command.c_str());
  if (!std::filesystem::exists(folder / "sv_SE.UTF-8" / "LC_COLLATE")) return std::nullopt;
  return folder.string();
}
#endif

// The order without a language (no locale named, or none generated on the machine): letters
// without case and accents, then the bytes.
TEST(NameOrder, WithoutALanguageComparesLettersWithoutCaseOrAccentsThenBytes) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows always has the user's locale";
#else
  for (const char* language : {"C", "POSIX", "C.UTF-8", "xx_XX.UTF-8"}) {
    SCOPED_TRACE(language);
    test::TScopedEnv all("LC_ALL", language);
    const TNameOrder less;
    EXPECT_TRUE(less("A", "b"));
    EXPECT_TRUE(less("a", "B"));
    EXPECT_TRUE(less("A", "a"));
    EXPECT_FALSE(less("a", "A"));
    EXPECT_FALSE(less("a", "a"));
    EXPECT_TRUE(less("ab", "ABC"));
    EXPECT_TRUE(less("e", "\xc3\x89lan"));  // Élan between e and f, not after z
    EXPECT_TRUE(less("\xc3\x89lan", "f"));
    EXPECT_TRUE(less("\xc3\x84rger", "b"));
    const std::string strasse =
        "Stra\xc3\x9f"
        "e";
    EXPECT_EQ(less.Compare(strasse, "strasse"), -1);  // the same letters: by bytes
  }
  const std::string names =
      "\xc3\x89lan \xc5\x92uvre Stra\xc3\x9f"
      "e \xc5\x81\xc3\xb3"
      "d\xc5\xba";
  EXPECT_EQ(FoldedLetters(names), U"elan oeuvre strasse lodz");
#endif
}

TEST(ListFiles, SortsInTheUsersOrder) {
  TTempFolder temp;
  for (const char* name : {"z", "f", "\xc3\x89lan", "e", "\xc3\x85sa"})
    WriteText(temp.Path() / FilePath(std::string(name) + ".orvanep"), "x");
#ifdef _WIN32
  // English, as Wine and most machines have it; Åsa sorts with the a's there.
  EXPECT_THAT(ListPresetNames(temp.Path()), ElementsAre("\xc3\x85sa", "e", "\xc3\x89lan", "f", "z"));
#else
  {
    test::TScopedEnv all("LC_ALL", "C");
    EXPECT_THAT(ListPresetNames(temp.Path()), ElementsAre("\xc3\x85sa", "e", "\xc3\x89lan", "f", "z"));
  }
  // Swedish sorts Å after z: the order really is the language's.
  const std::optional<std::string> locales = SwedishLocales(temp.Path() / "locales");
  if (!locales) GTEST_SKIP() << "no Swedish locale here, and none can be made";
  test::TScopedEnv path("LOCPATH", locales->empty() ? std::optional<std::string>() : locales);
  test::TScopedEnv all("LC_ALL", std::nullopt);
  test::TScopedEnv collate("LC_COLLATE", "sv_SE.UTF-8");
#if defined(__SANITIZE_ADDRESS__)
  __lsan_disable();  // glibc keeps its copy of LOCPATH from loading the locale
#endif
  EXPECT_THAT(ListPresetNames(temp.Path()), ElementsAre("e", "\xc3\x89lan", "f", "z", "\xc3\x85sa"));
#if defined(__SANITIZE_ADDRESS__)
  __lsan_enable();
#endif
#endif
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
