// The configuration in the registry, in a user registry of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "TempEnvironment.h"
#include "platform/OrvRegistry.h"
#include "platform/PlatformError.h"

namespace vornix::platform {
namespace {

using test::TScopedUserRegistry;

const wchar_t* const kConfigKey = L"Software\\Orvane\\Vornix\\Config";

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void SetString(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
  SetValue(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// The value as stored: its type and its text.
std::pair<DWORD, std::wstring> StoredValue(const wchar_t* name) {
  wchar_t text[64] = {};
  DWORD type = 0, size = sizeof text - sizeof(wchar_t);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kConfigKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  return {type, text};
}

TEST(WindowsRegistry, TheKeyIsSoftwareOrvaneProductUnderTheCurrentUser) {
  EXPECT_EQ(ConfigKeyPath("Vornix"), "Software\\Orvane\\Vornix");
}

TEST(WindowsRegistry, MissingKeyReadsDefaultsAndReadingCreatesNothing) {
  TScopedUserRegistry registry;
  const auto config = OpenConfigKey("Vornix");
  EXPECT_EQ(config->ReadInteger("Config", "Style", 0), 0);
  EXPECT_EQ(config->ReadInteger("Config", "LowestOctave", -2), -2);
  EXPECT_EQ(config->ReadString("Config", "Style", "none"), "none");
  EXPECT_FALSE(KeyExists(L"Software\\Orvane"));
}

TEST(WindowsRegistry, EntriesAreStringValuesWithDecimalTextInTheSectionsSubkey) {
  TScopedUserRegistry registry;
  {
    const auto config = OpenConfigKey("Vornix");
    config->WriteInteger("Config", "Style", 3);
    config->WriteInteger("Config", "LowestOctave", -1);
    config->WriteInteger("config", "STYLE", 4);  // names ignore case: replaces, does not add
    EXPECT_EQ(config->ReadInteger("Config", "Style", 0), 4);
  }
  EXPECT_EQ(StoredValue(L"Style"), (std::pair<DWORD, std::wstring>{REG_SZ, L"4"}));
  EXPECT_EQ(StoredValue(L"LowestOctave"), (std::pair<DWORD, std::wstring>{REG_SZ, L"-1"}));
  const auto again = OpenConfigKey("Vornix");
  EXPECT_EQ(again->ReadInteger("Config", "Style", 0), 4);
  EXPECT_EQ(again->ReadInteger("Config", "LowestOctave", -2), -1);
  again->WriteString("Config", "Title", "Caf\xc3\xa9 \xe2\x82\xac");
  EXPECT_EQ(StoredValue(L"Title").second, L"Caf\u00e9 \u20ac");
  EXPECT_EQ(OpenConfigKey("Vornix")->ReadString("Config", "Title", ""), "Caf\xc3\xa9 \xe2\x82\xac");
}

TEST(WindowsRegistry, ValuesThatAreNoDecimalTextReadAsTheDefault) {
  TScopedUserRegistry registry;
  const DWORD number = 3;
  SetValue(L"Dword", REG_DWORD, &number, sizeof number);
  SetValue(L"Binary", REG_BINARY, "7", 1);
  SetString(L"Empty", L"");
  SetString(L"Hex", L"0x10");
  SetString(L"Padded", L" 12 ");
  SetString(L"Expand", L"5", REG_EXPAND_SZ);
  // A string stored without its terminating NUL.
  SetValue(L"Unterminated", REG_SZ, L"27", 2 * sizeof(wchar_t));
  struct Case {
    const char* ident;
    std::int32_t expected;
  };
  const Case cases[] = {{"Dword", -9},  {"Binary", -9}, {"Empty", -9},        {"Hex", -9},
                        {"Padded", 12}, {"Expand", 5},  {"Unterminated", 27}, {"Missing", -9}};
  const auto config = OpenConfigKey("Vornix");
  for (const auto& c : cases) EXPECT_EQ(config->ReadInteger("Config", c.ident, -9), c.expected) << c.ident;
}

TEST(WindowsRegistry, RefusesNamesTheRegistryCannotHoldAndRaisesWhenItRefusesAWrite) {
  TScopedUserRegistry registry;
  const auto config = OpenConfigKey("Vornix");
  EXPECT_THROW(config->WriteString("Config", "", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("", "A", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Con\\fig", "A", "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Config", std::string("A\0B", 3), "1"), std::invalid_argument);
  EXPECT_THROW(config->WriteString("Config", "A", std::string("1\0", 2)), std::invalid_argument);
  EXPECT_FALSE(KeyExists(L"Software\\Orvane"));

  // The registry refuses key names longer than 255 characters.
  const std::string longSection(300, 'S');
  EXPECT_THROW(config->WriteString(longSection, "A", "1"), EOSError);
}

}  // namespace
}  // namespace vornix::platform
