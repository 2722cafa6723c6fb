// A silent start-up run of the installed Kestrum.exe in a prefix seeded with an XP-style profile
// and the registry's history lists: traces in every category folder and list go, the rest stays.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "WinTestSupport.h"

namespace kestrum::wintest {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::wstring>;

const std::wstring kSettingsKey = L"Software\\Kestrum\\Settings",
                   kOwnKey = L"Software\\Kestrum e2e";
const std::wstring kHive = L"S-1-5-21-1004336348-1177238915-682003330-1003";
const fs::path kListFile = L"C:\\Program Files\\Kestrum\\Kestrum.lst";
const fs::path kScratch = L"C:\\kestrum-e2e";
const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
const std::wstring kRunList = kExplorer + L"RunMRU";
const std::wstring kOpenSaveLink = kExplorer + L"ComDlg32\\OpenSaveMRU\\doc";

std::wstring Env(const wchar_t* name) {
    return _wgetenv(name) ? _wgetenv(name) : L"";
}

void Put(const fs::path& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    fs::create_directories(path.parent_path());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    SetFileAttributesW(path.c_str(), attributes);
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A key made with every missing level, holding one text value per name ("<name>!" unless given).
void SeedValues(HKEY root, const std::wstring& path, const Names& names, std::wstring data = L"") {
    for (const std::wstring& name : names) {
        const std::wstring text = data.empty() ? name + L"!" : data;
        ASSERT_EQ(RegSetKeyValueW(root, path.c_str(), name.c_str(), REG_SZ, text.c_str(),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  0);
    }
}

// The key's values as "name=text" in the registry's order, or "(no key)".
Names ValuesOf(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {L"(no key)"};
    }
    Names values;
    wchar_t name[512], data[512] = {};
    for (DWORD i = 0;; ++i) {
        DWORD length = 512;
        DWORD bytes = sizeof(data) - 2;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                          &bytes) != 0) {
            break;
        }
        values.push_back(std::wstring(name, length) + L"=" + std::wstring(data, bytes / 2).c_str());
    }
    RegCloseKey(key);
    return values;
}

// The prefix outlives the run and other tests share it: nothing of this one's may stay.
class CleaningRun : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const auto& [root, path] : {std::pair(HKEY_CURRENT_USER, kSettingsKey),
                                         {HKEY_LOCAL_MACHINE, kOwnKey},
                                         {HKEY_USERS, kHive}}) {
            RegDeleteTreeW(root, path.c_str());
        }
        for (const std::wstring& link : {kRunList, kOpenSaveLink}) {
            DeleteRegistryLink(HKEY_CURRENT_USER, link);
        }
        std::error_code ignored;
        fs::remove(kListFile, ignored);
        fs::remove_all(kScratch, ignored);
    }
};

// One run with every category, history and recent lists included, so the registry step too; on
// XP every file goes through the wipe.
TEST_F(CleaningRun, TracesGoCanariesStay) {
    const std::wstring version = Env(L"KESTRUM_WINDOWS_VERSION");
    const bool nt = version != L"win98";
    const fs::path profiles = L"C:\\Documents and Settings", user = profiles / Env(L"USERNAME");
    const fs::path w = Env(L"WINDIR"), sysProfile = w / L"system32\\config\\systemprofile",
                   temp = Env(L"TEMP");

    std::vector<std::pair<fs::path, bool>> seeded;  // with whether this family's run removes it
    const auto seed = [&](bool goes, DWORD attributes, const fs::path& base, const Names& names) {
        for (const std::wstring& name : names) {
            Put(base / name, "trace of " + fs::path(name).string(), attributes);
            seeded.emplace_back(base / name, goes);
        }
    };
    const DWORD plain = FILE_ATTRIBUTE_NORMAL, hidden = FILE_ATTRIBUTE_HIDDEN,
                locked = hidden | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    seed(true, plain, w,
         {L"temporary internet files\\content.ie5\\AB12CD\\page.htm", L"temp\\x.log",
          L"kestrum-e2e.tmp", L"system32\\dllcache\\old.dll"});
    seed(true, locked, w,
         {L"history\\history.ie5\\MSHist01\\visit.dat", L"cookies\\alice@example.txt",
          L"recent\\report.lnk"});
    seed(false, plain, w,
         {L"KESTRUM-UPPER.TMP", L"kestrum-e2e.tmp2", L"kestrumtmp", L"kestrum-keep.ini"});
    seed(version == L"winxp", plain, w, {L"prefetch\\APP.EXE-1234ABCD.pf"});
    seed(true, FILE_ATTRIBUTE_READONLY, temp, {L"setup\\nested\\a.tmp", L"b.log"});
    // The user's own profile on NT; the other profiles' folders are the fakes' to show.
    seed(nt, plain, user,
         {L"cookies\\user@example.txt", L"Application Data\\Real\\RealOne Player\\History\\h.dat",
          L"Local Settings\\Temporary Internet Files\\Content.IE5\\ZZ99\\p.htm"});
    seed(false, plain, sysProfile, {L"keep.txt"});
    seed(false, plain, user,
         {L"My Documents\\thesis.doc", L"Application Data\\Microsoft\\keep.txt",
          L"Local Settings\\Application Data\\keep.txt"});
    seed(true, hidden, kScratch,
         {L"selected\\folder\\inner\\x.txt", L"selected\\a.log", L"selected\\b.log",
          L"selected\\one.txt"});
    seed(false, plain, kScratch, {L"selected\\a.log.txt", L"selected\\keep.txt", L"keep\\x.txt"});

    // Indexes held open as a browser holds them (others may write, not delete): the history one is
    // overwritten in place, the cookies one left as it is unless the wipe's passes went over it.
    const fs::path historyIndex = w / L"history\\history.ie5\\index.dat",
                   cookiesIndex = w / L"cookies\\index.dat";
    Put(historyIndex, std::string(5000, 'h'));
    Put(cookiesIndex, "cookie index");
    for (const fs::path& index : {historyIndex, cookiesIndex}) {
        ASSERT_NE(CreateFileW(index.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
    }

    // A symbolic link in the temporary folder, made by the script that runs this test.
    const fs::path link = Env(L"KESTRUM_LINK"), linkTarget = Env(L"KESTRUM_LINK_TARGET");
    const DWORD linkAttributes = GetFileAttributesW(link.c_str());
    ASSERT_TRUE(linkAttributes != INVALID_FILE_ATTRIBUTES &&
                (linkAttributes & FILE_ATTRIBUTE_REPARSE_POINT));
    Put(linkTarget / L"precious\\thesis.doc", "my thesis");

    // Links planted in two lists to machine-wide keys, and another name in
    // the temporary folder for a document's data: the run reaches through none of them.
    const std::wstring canaries[] = {kOwnKey + L"\\Precious", kOwnKey + L"\\Machine-wide"};
    for (const std::wstring& canary : canaries) {
        SeedValues(HKEY_LOCAL_MACHINE, canary, {L"keep"});
    }
    for (const std::wstring& list : {kRunList, kOpenSaveLink}) {
        DeleteRegistryLink(HKEY_CURRENT_USER, list);  // a key from an earlier run goes, too
    }
    ASSERT_TRUE(
        MakeRegistryLink(HKEY_CURRENT_USER, kRunList, L"\\Registry\\Machine\\" + canaries[0]));
    ASSERT_TRUE(
        MakeRegistryLink(HKEY_CURRENT_USER, kOpenSaveLink, L"\\Registry\\Machine\\" + canaries[1]));
    const fs::path document = kScratch / L"keep\\report.doc";
    Put(document, "the only copy");
    ASSERT_TRUE(CreateHardLinkW((temp / L"report-link.tmp").c_str(), document.c_str(), nullptr));

    // History lists that only the real registry can show, with what a run leaves of each on NT
    // and on 9x: k kept whole, e emptied, o only an empty MRUList left, g the key gone.
    // Which lists are named, and how each is left, the fakes show; here the real registry deletes
    // a key, empties an order and reaches the users' hives, the user's as Windows names it (longer
    // than the name Wine gives the current user).
    const std::tuple<HKEY, std::wstring, Names, const char*> lists[] = {
        {HKEY_CURRENT_USER, kExplorer + L"ComDlg32\\OpenSaveMRU\\txt", {L"a", L"MRUList"}, "gg"},
        {HKEY_USERS, kHive + L"\\" + kRunList, {L"a", L"MRUList"}, "oo"},
        {HKEY_USERS, L".Default\\" + kExplorer + L"Doc Find Spec MRU", {L"a"}, "ke"},
    };
    std::vector<Names> before;
    for (const auto& [root, path, names, after] : lists) {
        SeedValues(root, path, names);
        before.push_back(ValuesOf(root, path));
    }

    SeedValues(HKEY_CURRENT_USER, kSettingsKey, {L"GeneralOptions"},
               version == L"winxp" ? L"00100000000000000000" : L"00000000000000000000");
    SeedValues(HKEY_CURRENT_USER, kSettingsKey, {L"DeleteOptions"}, L"11111111100000000000");
    // Text mode writes CR LF.
    std::wofstream(kListFile)
        << L"C:\\kestrum-e2e\\selected\\folder\\\nc:\\kestrum-e2e\\selected\\*.log\n"
        << L"C:\\kestrum-e2e\\selected\\one.txt\nno-folder.txt\n";
    Process program(kKestrum + L"/startup");
    DWORD code = 1;
    ASSERT_TRUE(program.WaitForExit(120000, &code));
    EXPECT_EQ(code, 0u);

    for (const auto& [path, goes] : seeded) {
        EXPECT_EQ(fs::exists(path), !goes) << path.string();
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(kScratch / L"selected"), {}), 2)
        << "no renamed copy left";
    EXPECT_EQ(Bytes(historyIndex), std::string(5000, '\x55'));
    EXPECT_EQ(Bytes(cookiesIndex), version == L"winxp" ? std::string(12, '\xAA') : "cookie index");
    EXPECT_EQ(Bytes(linkTarget / L"precious\\thesis.doc"), "my thesis")
        << "nothing behind the link is touched";
    EXPECT_EQ(Bytes(document), "the only copy");
    EXPECT_FALSE(fs::exists(temp / L"report-link.tmp"));
    for (const std::wstring& canary : canaries) {
        EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, canary), Names{L"keep=keep!"});
    }
    HKEY planted = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, kOpenSaveLink.c_str(), REG_OPTION_OPEN_LINK,
                            KEY_READ, &planted),
              ERROR_SUCCESS)
        << "the link in a list whose subkeys go is gone itself";

    for (std::size_t i = 0; i < std::size(lists); ++i) {
        const auto& [root, path, names, after] = lists[i];
        const char what = after[nt ? 0 : 1];
        const Names expected = what == 'k'   ? before[i]
                               : what == 'o' ? Names{L"MRUList="}
                               : what == 'g' ? Names{L"(no key)"}
                                             : Names{};
        EXPECT_EQ(ValuesOf(root, path), expected) << fs::path(path).string();
    }
}

}  // namespace
}  // namespace kestrum::wintest
