// The Win32 services against the real file system, system and power service of a sandbox prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"
#include "settings/ListFile.h"

namespace kestrum::win32 {
namespace {

TEST(Win32Services, AnsiListFilesLongPathsMisreadPathsBuffersThatAreTooSmallPowerAndArguments) {
    Win32FileSystem files;
    const std::string folder =
        WideToUtf8((std::filesystem::temp_directory_path() / L"kestrum-files").wstring());
    std::filesystem::create_directory(Utf8ToWide(folder));
    ASSERT_EQ(GetACP(), 1252u) << "the byte expectations below are for Western European";
    std::string path = folder + "\\Kestrum.lst";
    ASSERT_TRUE(WriteListFile(files, path,
                              {"c:\\caf\xC3\xA9\\",
                               "c:\\\xC5\x82\xC3\xB3"
                               "d\\x.txt"}));
    // Read back through the code page checked below; U+0142 is not in it and becomes its default.
    EXPECT_EQ(files.ReadTextFile(path),
              "c:\\caf\xC3\xA9\\\r\nc:\\?\xC3\xB3"
              "d\\x.txt\r\n");
    std::ofstream(std::filesystem::path(Utf8ToWide(path)), std::ios::binary)
        << "c:\\caf\xE9\nc:\\\x81\x8D\x9D.txt\rc:\\\x80.txt\r\n\r\nc:\\after";
    // Undefined bytes stay inside their own line; 0x80 is the euro sign.
    auto entries = ParseListText(files.ReadTextFile(path).value_or(""), kMaxSelectedFiles);
    ASSERT_EQ(entries.size(), 3u);
    entries[1].resize(3);
    EXPECT_EQ(entries,
              (std::vector<std::string>{"c:\\caf\xC3\xA9", "c:\\", "c:\\\xE2\x82\xAC.txt"}));

    std::string deep = folder;
    while (deep.size() < 400) {
        deep += "\\" + std::string(40, 'd');
        ASSERT_TRUE(CreateDirectoryW(ToWin32Path(deep)->c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    }
    path = deep + "\\Kestrum.lst";
    ASSERT_TRUE(WriteListFile(files, path, {"c:\\x"}));
    EXPECT_TRUE(files.FileExists(path));
    EXPECT_FALSE(files.FileExists(deep)) << "a folder is no file";
    EXPECT_TRUE(files.ChangeDirectory(deep));
    // A NUL would cut the path short for the system: nothing is taken for the shorter path.
    EXPECT_FALSE(files.ReadTextFile(std::string("Kestrum.lst\0", 12)).has_value());
    EXPECT_FALSE(files.WriteTextFile(path + std::string(1, '\0') + "x", "y"));
    EXPECT_EQ(files.ReadTextFile(path), "c:\\x\r\n");
    EXPECT_TRUE(files.ChangeDirectory("C:\\"));
    EXPECT_TRUE(files.RemoveFile(path));
    for (; deep.size() > folder.size(); deep.resize(deep.rfind('\\'))) {
        EXPECT_TRUE(files.RemoveFolder(deep));
    }
    std::filesystem::remove_all(Utf8ToWide(folder));

    EXPECT_FALSE(files.ChangeDrive("Q:")) << "the sandbox has no drive Q:";
    const auto drives = files.Drives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0].letter, 'C') << "the sandbox's only drive";
    EXPECT_EQ(drives[0].type, DriveType::Fixed);
    const std::pair<const char*, bool> folders[] = {{"C:\\", true},
                                                    {"c:\\WINDOWS", true},
                                                    {"C:\\windows\\win.ini", false},
                                                    {"C:\\no such folder", false},
                                                    {"", false}};
    for (const auto& [folderPath, exists] : folders) {
        EXPECT_EQ(files.FolderExists(folderPath), exists) << folderPath;
    }
    Win32Locale locale;
    EXPECT_LT(locale.CompareNames("apple", "Banana"), 0) << "without regard to case";
    EXPECT_EQ(locale.CompareNames("WINDOWS", "windows"), 0);
    EXPECT_EQ(locale.FormatCount(1204), "1,204");
    EXPECT_EQ(locale.FormatCount(0), "0");
    EXPECT_FALSE(files.ChangeDirectory("C:\\no such folder"));

    Win32SystemInfo system;
    const auto windows = system.WindowsDirectory();
    ASSERT_EQ(windows, "C:\\windows");
    EXPECT_FALSE(QueryWindowsDirectory(static_cast<UINT>(windows->size())).has_value()) << "no NUL";
    EXPECT_EQ(QueryWindowsDirectory(static_cast<UINT>(windows->size() + 1)), windows);
    EXPECT_FALSE(QueryUserName(static_cast<DWORD>(system.UserName().value().size())).has_value());

    // Never asked to end the session here.
    Win32Power power;
    EXPECT_FALSE(power.EnableShutdownPrivilege().has_value());

    EXPECT_EQ(ArgumentsOf(L"C:\\Kestrum.exe   /startup"), "/startup");
    EXPECT_EQ(ArgumentsOf(L"Kestrum.exe /run "), "/run ");
    EXPECT_EQ(ArgumentsOf(L"\"C:\\a b\\Kestrum.exe\""), "")
        << "the quoted path, as the start-up entry holds it";
}

// A file deleted while kept to itself goes at once; one that another program has open, in any way,
// or that refuses deletion, is left as it was, even after that program lets go.
TEST(Win32Services, OnlyAFileNobodyElseHoldsIsRemovedUnshared) {
    Win32FileSystem files;
    const std::wstring folder = std::filesystem::temp_directory_path() / L"kestrum-unshared";
    std::filesystem::create_directory(folder);
    const std::wstring wide = folder + L"\\File.tmp";
    const std::string file = WideToUtf8(wide);
    const struct {
        DWORD holderShare;  // 0: nobody holds it
        DWORD attributes;
        bool removed;
    } cases[] = {
        {0, FILE_ATTRIBUTE_ARCHIVE, true},
        {FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_ATTRIBUTE_ARCHIVE, false},
        {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_ATTRIBUTE_HIDDEN, false},
        {0, FILE_ATTRIBUTE_READONLY, false}};
    for (const auto& c : cases) {
        std::ofstream(std::filesystem::path(wide)) << "x";
        SetFileAttributesW(wide.c_str(), c.attributes);
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.holderShare != 0) {
            holder = CreateFileW(wide.c_str(), GENERIC_READ, c.holderShare, nullptr, OPEN_EXISTING,
                                 0, nullptr);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        }
        EXPECT_EQ(files.RemoveUnsharedFile(file), c.removed)
            << c.holderShare << " " << c.attributes;
        if (holder != INVALID_HANDLE_VALUE) {
            CloseHandle(holder);
        }
        EXPECT_EQ(files.Attributes(file).has_value(), !c.removed) << "no deletion left pending";
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wide.c_str());
    }
    EXPECT_FALSE(files.RemoveUnsharedFile(WideToUtf8(folder))) << "never a folder";
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kestrum::win32
