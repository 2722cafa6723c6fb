// A silent start-up run of the installed Kestrum.exe in a prefix seeded with an XP-style profile
// layout and the registry's history lists: traces in every category folder and list go,
// everything else stays.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "WinTestSupport.h"

namespace kestrum::wintest {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kRunTimeout = 120000;
const std::wstring kSettingsKey = L"Software\\Kestrum\\Settings";
const fs::path kListFile = L"C:\\Program Files\\Kestrum\\Kestrum.lst";

std::wstring Env(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::wstring() : std::wstring(value, value + std::strlen(value));
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

std::wstring WindowsFolder() {
    wchar_t buffer[MAX_PATH];
    GetWindowsDirectoryW(buffer, MAX_PATH);
    return buffer;
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH];
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

std::wstring UserName() {
    wchar_t buffer[256];
    DWORD size = 256;
    GetUserNameW(buffer, &size);
    return Lower(buffer);
}

void Put(const fs::path& path, const std::string& bytes, DWORD attributes = 0) {
    fs::create_directories(path.parent_path());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    if (attributes != 0) {
        SetFileAttributesW(path.c_str(), attributes);
    }
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void SetSetting(const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// A key made with every missing level, holding one text value per name.
void SeedValues(HKEY root, const std::wstring& path, std::initializer_list<const wchar_t*> names) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << Narrow(path);
    for (const wchar_t* name : names) {
        const std::wstring data = std::wstring(L"entry ") + name;
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

std::vector<std::wstring> ValuesOf(HKEY root, const std::wstring& path) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return {L"(no key)"};
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD length = 512;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

bool KeyExists(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::wstring ValueText(HKEY root, const std::wstring& path, const wchar_t* name) {
    wchar_t data[512] = {};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) {
        return L"(none)";
    }
    return data;
}

// A file held open the way a running browser holds its index: others may write, not delete.
class HeldOpen {
public:
    explicit HeldOpen(const fs::path& path)
        : h_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    bool held() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// The registry's history lists of both hives, seeded before the run and checked after it.
struct RegistryLists {

    const std::wstring explorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";
    const std::wstring typed = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
    const std::wstring run = explorer + L"RunMRU";
    const std::wstring openSaved = explorer + L"ComDlg32\\OpenSaveMRU";
    const std::wstring lastVisited = explorer + L"ComDlg32\\LastVisitedMRU";
    const std::wstring searchBar =
        L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}";
    const std::wstring assistant = L"Software\\Microsoft\\Search Assistant\\ACMru\\5603";
    const std::wstring docFind = explorer + L"Doc Find Spec MRU";
    const std::wstring clips = L"Software\\RealNetworks\\RealPlayer\\6.0\\Preferences";
    const std::wstring paint = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
    const std::wstring movies = L"Software\\Apple Computer, Inc.\\QuickTime\\Recent Movies";
    const std::wstring unrelated = L"Software\\Kestrum e2e\\Unrelated";
    // A user's hive as Windows lists it, a longer name than the one Wine gives the current user.
    const std::wstring hive = L"S-1-5-21-1004336348-1177238915-682003330-1003";
    const std::vector<std::wstring> orderOnly{L"MRUList"};
    const std::vector<std::wstring> none;

    void Seed() const {
        SeedValues(HKEY_CURRENT_USER, typed, {L"url1", L"url2"});
        SeedValues(HKEY_CURRENT_USER, run, {L"a", L"b", L"MRUList"});
        SeedValues(HKEY_CURRENT_USER, openSaved + L"\\*", {L"a", L"MRUList"});
        SeedValues(HKEY_CURRENT_USER, openSaved + L"\\txt", {L"a", L"MRUList"});
        SeedValues(HKEY_CURRENT_USER, lastVisited, {L"a", L"MRUList"});
        SeedValues(HKEY_CURRENT_USER, searchBar + L"\\FilesNamedMRU", {L"000", L"MRUList"});
        SeedValues(HKEY_CURRENT_USER, assistant, {L"000", L"001"});
        SeedValues(HKEY_CURRENT_USER, docFind, {L"a", L"MRUList"});
        SeedValues(HKEY_CURRENT_USER, clips + L"\\MostRecentClips1", {L""});
        SeedValues(HKEY_CURRENT_USER, clips + L"\\Volume", {L"level"});
        SeedValues(HKEY_CURRENT_USER, paint, {L"File1"});
        SeedValues(HKEY_CURRENT_USER, unrelated, {L"a", L"MRUList"});
        SeedValues(HKEY_LOCAL_MACHINE, movies, {L"Movie 1"});
        SeedValues(HKEY_USERS, hive + L"\\" + typed, {L"url1"});
        SeedValues(HKEY_USERS, hive + L"\\" + run, {L"a", L"MRUList"});
        SeedValues(HKEY_USERS, hive + L"\\" + assistant, {L"000"});
        SeedValues(HKEY_USERS, hive + L"_Classes", {});
        SeedValues(HKEY_USERS, L".Default\\" + run, {L"a"});
        SeedValues(HKEY_USERS, L".Default\\" + docFind, {L"a"});
    }

    void ExpectCleared(bool nt) const {

        EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, typed), none);
        EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, run), orderOnly);
        EXPECT_EQ(ValueText(HKEY_CURRENT_USER, run, L"MRUList"), L"");
        EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, openSaved + L"\\*"), orderOnly);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, openSaved + L"\\txt"));
        EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, lastVisited), orderOnly);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, clips + L"\\MostRecentClips1"));
        EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, clips + L"\\Volume"));
        EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, paint), none);
        EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, movies), none) << "the prefix lets the user write there";
        EXPECT_EQ(ValuesOf(HKEY_USERS, hive + L"\\" + typed), none);
        EXPECT_EQ(ValuesOf(HKEY_USERS, hive + L"\\" + run), orderOnly);
        if (nt) {
            EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, searchBar + L"\\FilesNamedMRU"), orderOnly);
            EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, assistant), none);
            EXPECT_EQ(ValuesOf(HKEY_USERS, hive + L"\\" + assistant), none);
            EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, docFind).size(), 2u);
            EXPECT_EQ(ValuesOf(HKEY_USERS, L".Default\\" + docFind).size(), 1u);
        } else {
            EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, docFind), orderOnly);
            EXPECT_EQ(ValuesOf(HKEY_USERS, L".Default\\" + docFind), none);
            EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, assistant).size(), 2u);
            EXPECT_EQ(ValuesOf(HKEY_USERS, hive + L"\\" + assistant).size(), 1u);
        }
        // Lists no step names stay whole, whatever their values are called.
        EXPECT_EQ(ValuesOf(HKEY_CURRENT_USER, unrelated), (std::vector<std::wstring>{L"a", L"MRUList"}));
        EXPECT_EQ(ValueText(HKEY_CURRENT_USER, unrelated, L"MRUList"), L"entry MRUList");
        EXPECT_EQ(ValuesOf(HKEY_USERS, L".Default\\" + run).size(), 1u);
    }

    ~RegistryLists() {
        RegDeleteTreeW(HKEY_USERS, hive.c_str());
        RegDeleteTreeW(HKEY_USERS, (hive + L"_Classes").c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrum e2e");
    }
};

class CleaningRun : public ::testing::Test {
protected:
    void SetUp() override {
        version_ = Env("KESTRUM_WINDOWS_VERSION");
        ASSERT_FALSE(version_.empty()) << "the test needs to know the prefix's Windows version";
        windows_ = WindowsFolder();
        temp_ = TempFolder();
        const std::wstring profiles = L"C:\\Documents and Settings\\";
        user_ = profiles + UserName();
        admin_ = profiles + L"Administrator";
        default_ = profiles + L"Default User";
        fs::remove_all(L"C:\\kestrum-e2e");
    }

    void TearDown() override {
        RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey.c_str());
        std::error_code ignored;
        fs::remove(kListFile, ignored);
        fs::remove_all(L"C:\\kestrum-e2e", ignored);
    }

    void RunStartup(const std::wstring& general, const std::wstring& deletes,
                    const std::vector<std::wstring>& list) {
        SetSetting(L"GeneralOptions", general);
        SetSetting(L"DeleteOptions", deletes);
        std::wofstream out(kListFile);
        for (const std::wstring& entry : list) {
            out << entry << L"\n";  // text mode writes CR LF
        }
        out.close();
        Process run(L"\"" + InstalledKestrum() + L"\" /startup");
        ASSERT_TRUE(run.started());
        DWORD code = 1;
        ASSERT_TRUE(run.WaitForExit(kRunTimeout, &code));
        EXPECT_EQ(code, 0u);
    }

    bool nt() const { return version_ != L"win98"; }
    bool prefetch() const { return version_ == L"winxp"; }

    std::wstring version_, windows_, temp_, user_, admin_, default_;
};

// One run with every category, history and recent lists included, so the registry step too.
TEST_F(CleaningRun, TracesGoCanariesStay) {
    const fs::path w = windows_;
    const fs::path sys = w / L"system32";
    const fs::path sysProfile = sys / L"config\\systemprofile";
    const fs::path user = user_, admin = admin_, def = default_, temp = temp_;
    const fs::path e2e = L"C:\\kestrum-e2e";

    // Paths seeded, each with whether this family's run must remove it.
    std::vector<std::pair<fs::path, bool>> seeded;
    const auto seed = [&](const fs::path& path, bool goes, DWORD attributes = 0) {
        Put(path, "trace of " + path.string(), attributes);
        seeded.emplace_back(path, goes);
    };

    seed(w / L"temporary internet files\\content.ie5\\AB12CD\\page.htm", true);
    seed(w / L"history\\history.ie5\\MSHist01\\visit.dat", true, FILE_ATTRIBUTE_HIDDEN);
    seed(w / L"cookies\\alice@example.txt", true, FILE_ATTRIBUTE_READONLY);
    seed(w / L"recent\\report.lnk", true, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    seed(temp / L"setup\\nested\\a.tmp", true);
    seed(temp / L"b.log", true, FILE_ATTRIBUTE_READONLY);
    seed(w / L"temp\\x.log", true);
    seed(w / L"kestrum-e2e.tmp", true);
    seed(w / L"KESTRUM-UPPER.TMP", false);
    seed(w / L"kestrum-e2e.tmp2", false);
    seed(w / L"kestrumtmp", false);
    seed(w / L"kestrum-keep.ini", false);
    seed(sys / L"dllcache\\old.dll", true);
    seed(w / L"prefetch\\APP.EXE-1234ABCD.pf", prefetch());

    seed(user / L"cookies\\user@example.txt", nt());
    seed(admin / L"cookies\\admin@example.txt", nt());
    seed(def / L"cookies\\default@example.txt", nt());
    seed(sysProfile / L"cookies\\system@example.txt", nt());
    seed(user / L"Local Settings\\History\\History.IE5\\MSHist02\\x.dat", nt());
    seed(user / L"Local Settings\\Temporary Internet Files\\Content.IE5\\ZZ99\\p.htm", nt());
    seed(admin / L"Recent\\r.lnk", nt());
    seed(def / L"Application Data\\Microsoft\\Office\\Recent\\d.lnk", nt());
    seed(user / L"Application Data\\Real\\RealOne Player\\History\\h.dat", nt());
    seed(admin / L"Local Settings\\Temp\\t.tmp", nt());
    seed(user / L"Local Settings\\Temp\\deep\\t2.tmp", nt());
    seed(def / L"Local Settings\\Temporary Internet Files\\x.htm", nt());

    seed(user / L"My Documents\\thesis.doc", false);
    seed(user / L"Application Data\\Microsoft\\keep.txt", false);
    seed(user / L"Local Settings\\Application Data\\keep.txt", false);
    seed(sysProfile / L"keep.txt", false);
    seed(e2e / L"keep\\x.txt", false);

    seed(e2e / L"selected\\folder\\inner\\x.txt", true);
    seed(e2e / L"selected\\a.log", true);
    seed(e2e / L"selected\\b.log", true, FILE_ATTRIBUTE_HIDDEN);
    seed(e2e / L"selected\\one.txt", true);
    seed(e2e / L"selected\\a.log.txt", false);
    seed(e2e / L"selected\\keep.txt", false);

    // Indexes in use: the history one is overwritten in place, the cookies one left as it is.
    const fs::path historyIndex = w / L"history\\history.ie5\\index.dat";
    const fs::path cookiesIndex = w / L"cookies\\index.dat";
    Put(historyIndex, std::string(5000, 'h'));
    Put(cookiesIndex, "cookie index");
    HeldOpen historyHeld(historyIndex);
    HeldOpen cookiesHeld(cookiesIndex);
    ASSERT_TRUE(historyHeld.held() && cookiesHeld.held());

    // A symbolic link in the temporary folder, made by the script that runs this test.
    const fs::path link = Env("KESTRUM_LINK");
    const fs::path linkTarget = Env("KESTRUM_LINK_TARGET");
    ASSERT_FALSE(link.empty() || linkTarget.empty());
    ASSERT_EQ(Lower(link.parent_path().wstring() + L"\\"), Lower(temp_));
    const DWORD linkAttributes = GetFileAttributesW(link.c_str());
    ASSERT_NE(linkAttributes, INVALID_FILE_ATTRIBUTES);
    ASSERT_NE(linkAttributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << "the link must look like one";
    Put(linkTarget / L"precious\\thesis.doc", "my thesis");

    const RegistryLists lists;
    lists.Seed();

    RunStartup(L"00000000000000000000", L"11111111100000000000",
               {L"C:\\kestrum-e2e\\selected\\folder\\", L"c:\\kestrum-e2e\\selected\\*.log",
                L"C:\\kestrum-e2e\\selected\\one.txt", L"no-folder.txt"});

    for (const auto& [path, goes] : seeded) {
        EXPECT_EQ(fs::exists(path), !goes) << path.string();
    }
    EXPECT_FALSE(fs::exists(w / L"temporary internet files\\content.ie5\\AB12CD"));
    EXPECT_TRUE(fs::is_directory(w / L"temporary internet files\\content.ie5"));
    EXPECT_TRUE(fs::is_directory(w / L"history\\history.ie5"));
    EXPECT_FALSE(fs::exists(w / L"history\\history.ie5\\MSHist01"));
    EXPECT_FALSE(fs::exists(temp / L"setup"));
    EXPECT_TRUE(fs::is_directory(temp)) << "the temporary folder itself stays";
    EXPECT_FALSE(fs::exists(e2e / L"selected\\folder"));
    EXPECT_EQ(fs::is_directory(user / L"Local Settings\\Temporary Internet Files\\Content.IE5"), true);

    EXPECT_EQ(Bytes(historyIndex), std::string(5000, '\x55'));
    EXPECT_EQ(Bytes(cookiesIndex), "cookie index");
    EXPECT_EQ(Bytes(linkTarget / L"precious\\thesis.doc"), "my thesis");
    // Wine 8 cannot remove a link to a folder at all; where it can, the link itself goes. Either
    // way nothing behind it was touched.
    const DWORD after = GetFileAttributesW(link.c_str());
    EXPECT_TRUE(after == INVALID_FILE_ATTRIBUTES || (after & FILE_ATTRIBUTE_REPARSE_POINT) != 0);

    lists.ExpectCleared(nt());
}

TEST_F(CleaningRun, WipingAReadOnlyHiddenFileLeavesNothingBehind) {
    if (version_ != L"winxp") {
        GTEST_SKIP() << "the wipe goes through the same Win32 file calls in every family";
    }
    const fs::path folder = L"C:\\kestrum-e2e\\wipe";
    std::string secret(300000, '\0');
    for (std::size_t i = 0; i < secret.size(); ++i) {
        secret[i] = static_cast<char>((i * 7919) % 251);
    }
    Put(folder / L"secret report.txt", secret, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Put(L"C:\\kestrum-e2e\\beside.txt", "stays");

    RunStartup(L"00100000000000000000", L"00000010000000000000",
               {L"C:\\kestrum-e2e\\wipe\\secret report.txt"});

    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder)) << "neither the file nor a renamed copy is left";
    EXPECT_EQ(Bytes(L"C:\\kestrum-e2e\\beside.txt"), "stays");
}

}  // namespace
}  // namespace kestrum::wintest
