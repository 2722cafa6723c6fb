// The Win32 services against the real file system, system and power service of a sandbox prefix.
// The registry and settings store are held to their contracts in ContractTest.cpp.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/Completion.h"
#include "fakes/FakePlatform.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"
#include "settings/ListFile.h"
#include "startup/KestrumModule.h"

namespace kestrum::win32 {
namespace {

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
    EXPECT_FALSE(QueryVersion(276)) << "the wide record is not the form asked for";
}

TEST(CommandLine, ArgumentsFollowTheProgramName) {
    EXPECT_EQ(ArgumentsOf(L"\"C:\\Program Files\\Kestrum\\Kestrum.exe\" /run"), "/run");
    EXPECT_EQ(ArgumentsOf(L"C:\\Kestrum.exe   /startup"), "/startup");
    EXPECT_EQ(ArgumentsOf(L"Kestrum.exe /run "), "/run ");
    EXPECT_EQ(ArgumentsOf(L"\"C:\\a b\\Kestrum.exe\""), "");
    EXPECT_EQ(ArgumentsOf(L"Kestrum.exe"), "");
    EXPECT_EQ(ArgumentsOf(L""), "");
}

// The power service is never asked to end the session here.
TEST(RealPower, EnablesTheShutdownPrivilegeAndExplainsErrors) {
    fakes::FakePlatform fake;
    Win32Power power;
    Platform services = fake.services();
    Platform real{services.application, services.system, services.settings, services.files,
                  services.clock,       services.ui,     services.shell,    services.registry,
                  power};
    KestrumModule module(real);
    const ShutdownOutcome enabled = EnableShutdownPrivilege(module.Context);
    EXPECT_TRUE(enabled.ok);
    EXPECT_FALSE(enabled.error);

    const std::string denied = SystemErrorText(module.Context, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(denied.empty());
    EXPECT_EQ(SystemErrorText(module.Context, 0x2FFFFFFF), "") << "no text for an unknown code";
}

}  // namespace
}  // namespace kestrum::win32
