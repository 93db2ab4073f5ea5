// Where the per-user data lives.
#pragma once

#include <string>
#include <string_view>

namespace vornix::platform {

// The separator that ends every folder name handed to the module.
#ifdef _WIN32
inline constexpr char PathDelim = '\\';
#else
inline constexpr char PathDelim = '/';

// $HOME when it is an absolute path, else the home folder of the user's account; empty when
// neither exists. No trailing separator.
std::string HomeFolder();
#endif

// The user's documents folder without trailing separator, empty when there is none. POSIX: the
// answer of "xdg-user-dir DOCUMENTS" when that command exists and names a folder of its own (it
// answers the home folder when the user has not set one up), else <home>/Documents. Windows: the
// shell's personal folder (CSIDL_PERSONAL).
std::string PersonalDocumentsFolder();

// <documents>/Orvane/<product>/. Without a documents folder the result stays relative
// ("Orvane/<product>/"), so that it is never mistaken for a folder under the file-system root and
// FileExistsAbsolute refuses every file in it.
std::string DataFolder(std::string_view documentsFolder, std::string_view productName);

// <data folder>Presets/.
std::string PresetsFolder(std::string_view dataFolder);

// The file this code was loaded from (the plug-in, or a program that links it), as an absolute
// UTF-8 path; empty when the system cannot say.
std::string ModuleFileName();
// The folder of ModuleFileName with a trailing separator; empty when that is unknown.
std::string ModuleFolder();

}  // namespace vornix::platform
