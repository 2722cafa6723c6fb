// The Win32 services against the real registry, file system and system of a sandbox prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"
#include "settings/ListFile.h"
#include "settings/Settings.h"

namespace kestrum::win32 {
namespace {

constexpr char kApp[] = "KestrumPlatformTest";
constexpr wchar_t kKey[] = L"Software\\KestrumPlatformTest\\Settings";

class SettingsStoreTest : public ::testing::Test {
protected:
    Win32SettingsStore store;
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KestrumPlatformTest"); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KestrumPlatformTest"); }

    void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        RegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  key.receive(), nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes),
                  ERROR_SUCCESS);
    }
};

TEST_F(SettingsStoreTest, TextValuesRoundTripAsRegSz) {
    EXPECT_FALSE(store.Read(kApp, "Settings", "GeneralOptions").has_value());
    ASSERT_TRUE(store.Write(kApp, "Settings", "GeneralOptions", "00100000000000000000"));
    ASSERT_TRUE(store.Write(kApp, "Settings", "Defined", "caf\xC3\xA9"));
    ASSERT_TRUE(store.Write(kApp, "Settings", "Empty", ""));
    EXPECT_EQ(store.Read(kApp, "Settings", "GeneralOptions"), "00100000000000000000");
    EXPECT_EQ(store.Read(kApp, "Settings", "Defined"), "caf\xC3\xA9");
    EXPECT_EQ(store.Read(kApp, "Settings", "Empty"), "");

    RegKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, key.receive()), ERROR_SUCCESS);
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key.get(), L"GeneralOptions", nullptr, &type, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsStoreTest, OtherTypesAndOddTextReadSafely) {
    const DWORD number = 1;
    PutRaw(L"DeleteOptions", REG_DWORD, &number, sizeof(number));
    PutRaw(L"GeneralOptions", REG_BINARY, "1111", 4);
    // Text stored without its NUL, and text with an early NUL.
    PutRaw(L"NoNul", REG_SZ, L"101", 3 * sizeof(wchar_t));
    PutRaw(L"EarlyNul", REG_SZ, L"10\0" L"1", 5 * sizeof(wchar_t));
    const std::wstring huge(200000, L'1');
    PutRaw(L"Huge", REG_SZ, huge.c_str(), static_cast<DWORD>((huge.size() + 1) * sizeof(wchar_t)));

    EXPECT_FALSE(store.Read(kApp, "Settings", "DeleteOptions").has_value());
    EXPECT_FALSE(store.Read(kApp, "Settings", "GeneralOptions").has_value());
    EXPECT_EQ(store.Read(kApp, "Settings", "NoNul"), "101");
    EXPECT_EQ(store.Read(kApp, "Settings", "EarlyNul"), "10");
    EXPECT_EQ(store.Read(kApp, "Settings", "Huge")->size(), huge.size());
}

TEST(KestrumSettings, AbsentAndForeignTypedValuesGiveTheDefaults) {
    Win32SettingsStore store;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrum");
    EXPECT_EQ(ReadGeneralOptions(store), "11000000000000000000");
    {
        RegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Kestrum\\Settings", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, key.receive(), nullptr),
                  ERROR_SUCCESS);
        const DWORD number = 7;
        RegSetValueExW(key.get(), L"DeleteOptions", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&number), sizeof(number));
    }
    EXPECT_EQ(ReadDeleteOptions(store), "11111100000000000000");
    ASSERT_TRUE(SaveSettings(store, {"001", "000000001", false, "Yes"}));
    const StoredSettings back = ReadSettings(store);
    EXPECT_EQ(back.GeneralOptions, "001");
    EXPECT_EQ(back.DeleteOptions, "000000001");
    EXPECT_FALSE(back.ShowSplash);
    EXPECT_EQ(back.Defined, "Yes");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrum");
}

class TextFileTest : public ::testing::Test {
protected:
    Win32FileSystem files;
    std::string folder;

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = WideToUtf8(temp) + "kestrum-text-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryW(Utf8ToWide(folder).c_str(), nullptr);
    }
    void TearDown() override {
        // The extended form reaches the deep folders a test made, too.
        std::wstring command = L"cmd /c rd /s /q \"" + Utf8ToWide(folder) + L"\"";
        _wsystem(command.c_str());
    }

    void WriteBytes(const std::string& path, const std::string& bytes) {
        HANDLE h = CreateFileW(ToWin32Path(path)->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD wrote = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
        CloseHandle(h);
    }
    std::string ReadBytes(const std::string& path) {
        HANDLE h = CreateFileW(ToWin32Path(path)->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        std::string bytes(1 << 16, '\0');
        DWORD got = 0;
        ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(h);
        bytes.resize(got);
        return bytes;
    }
};

TEST_F(TextFileTest, ListFileIsAnsiTextInTheSystemCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the byte expectations below are for Western European";
    const std::string path = folder + "\\Kestrum.lst";
    ASSERT_TRUE(WriteListFile(files, path, {"c:\\caf\xC3\xA9\\", "c:\\\xC5\x82\xC3\xB3" "d\\x.txt"}));
    // U+0142 is not in the code page and becomes its default character.
    EXPECT_EQ(ReadBytes(path), "c:\\caf\xE9\\\r\nc:\\?\xF3" "d\\x.txt\r\n");

    WriteBytes(path, "c:\\caf\xE9\nc:\\\x81\x8D\x9D.txt\rc:\\\x80.txt\r\n\r\nc:\\after");
    const auto text = files.ReadTextFile(path);
    ASSERT_TRUE(text.has_value());
    const auto entries = ParseListText(*text, kMaxSelectedFiles);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], "c:\\caf\xC3\xA9");
    EXPECT_EQ(entries[2], "c:\\\xE2\x82\xAC.txt") << "0x80 is the euro sign";
    EXPECT_EQ(entries[1].substr(0, 3), "c:\\") << "undefined bytes stay inside their own line";
}

TEST_F(TextFileTest, ExistenceAndPathsTheSystemWouldMisread) {
    const std::string path = folder + "\\a.txt";
    WriteBytes(path, "x");
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_FALSE(files.FileExists(folder)) << "a folder is no file";
    EXPECT_FALSE(files.FileExists(path + std::string(1, '\0')));
    EXPECT_FALSE(files.ReadTextFile(std::string("a.txt\0", 6)).has_value());
    EXPECT_FALSE(files.WriteTextFile(path + std::string(1, '\0') + "x", "y"));
    EXPECT_EQ(ReadBytes(path), "x");
}

TEST_F(TextFileTest, PathsLongerThanMaxPathWork) {
    std::string deep = folder;
    while (deep.size() < 400) {
        deep += "\\" + std::string(40, 'd');
        ASSERT_TRUE(CreateDirectoryW(ToWin32Path(deep)->c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const std::string path = deep + "\\Kestrum.lst";
    ASSERT_TRUE(WriteListFile(files, path, {"c:\\x"}));
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_EQ(files.ReadTextFile(path), "c:\\x\r\n");
    EXPECT_TRUE(files.ChangeDirectory(deep));
    EXPECT_TRUE(files.ChangeDirectory(folder));
}

TEST(CurrentDirectory, DriveAndFolderChanges) {
    Win32FileSystem files;
    ASSERT_TRUE(files.ChangeDirectory("C:\\windows"));
    EXPECT_EQ(files.CurrentDirectory(), "C:\\windows");
    EXPECT_TRUE(files.ChangeDrive("C:"));
    EXPECT_FALSE(files.ChangeDrive("\\\\"));
    EXPECT_FALSE(files.ChangeDrive("C"));
    EXPECT_FALSE(files.ChangeDrive("Q:")) << "the sandbox has no drive Q:";
    EXPECT_FALSE(files.ChangeDirectory("C:\\no such folder"));
    EXPECT_EQ(files.CurrentDirectory(), "C:\\windows");
}

TEST(SystemInfo, BuffersThatAreTooSmallGiveNothing) {
    Win32SystemInfo system;
    const auto windows = system.WindowsDirectory();
    ASSERT_TRUE(windows.has_value());
    EXPECT_EQ(*windows, "C:\\windows");
    const auto length = static_cast<UINT>(windows->size());
    EXPECT_FALSE(QueryWindowsDirectory(length).has_value()) << "no room for the NUL";
    EXPECT_EQ(QueryWindowsDirectory(length + 1), windows);
    EXPECT_EQ(system.SystemDirectory(), "C:\\windows\\system32");
    const auto temp = system.TempDirectory();
    ASSERT_TRUE(temp.has_value());
    EXPECT_EQ(temp->back(), '\\');

    const auto user = system.UserName();
    ASSERT_TRUE(user.has_value());
    EXPECT_FALSE(user->empty());
    EXPECT_FALSE(QueryUserName(static_cast<DWORD>(user->size())).has_value());
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
    EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Kestrum\\Kestrum.exe\" /run"), "/run");
    EXPECT_EQ(ArgumentsOf(L"C:\\Kestrum.exe   /startup"), "/startup");
    EXPECT_EQ(ArgumentsOf(L"Kestrum.exe /run "), "/run ");
    EXPECT_EQ(ArgumentsOf(L"\"C:\\a b\\Kestrum.exe\""), "");
    EXPECT_EQ(ArgumentsOf(L"Kestrum.exe"), "");
    EXPECT_EQ(ArgumentsOf(L""), "");
}

}  // namespace
}  // namespace kestrum::win32
