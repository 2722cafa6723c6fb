// The installed Kestrum.exe driven from outside, through its windows, as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "WinTestSupport.h"

// After windows.h, which it needs.
#include <commctrl.h>

namespace kestrum::wintest {
namespace {

constexpr DWORD kTimeout = 60000;  // generous: a loaded two-core machine under Wine
const std::wstring kOptions = L" Kestrum Options";

// A visible top-level window of the process with that title (and a child of that text) or nullptr.
HWND WaitForWindow(DWORD processId, const std::wstring& title, DWORD milliseconds,
                   const std::wstring& childText = L"") {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    do {
        for (HWND hwnd = nullptr;
             (hwnd = FindWindowExW(nullptr, hwnd, nullptr, title.c_str())) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == processId && IsWindowVisible(hwnd) &&
                (childText.empty() || FindWindowExW(hwnd, nullptr, nullptr, childText.c_str()))) {
                return hwnd;
            }
        }
        Sleep(50);
    } while (GetTickCount64() < deadline);
    return nullptr;
}

void Press(HWND button) {
    // The click's notification straight to the owner: BM_CLICK needs focus and mouse capture, which
    // Wine's X11 driver may move away from a background window mid-click, losing the click.
    HWND parent = button != nullptr ? GetParent(button) : nullptr;
    if (parent != nullptr) {
        PostMessageW(parent, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(button)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
}

HWND FindButton(HWND parent, const std::wstring& caption) {
    return FindWindowExW(parent, nullptr, L"Button", caption.c_str());
}

// Waits for a condition, with a deadline; false when it never held.
template <typename Condition>
bool Eventually(Condition condition) {
    const ULONGLONG deadline = GetTickCount64() + kTimeout;
    while (!condition()) {
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

// Closes the window, and when the options window asks whether to save its changes, answers No.
void ExpectCleanExit(Process& process, HWND window = nullptr) {
    if (window != nullptr) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        HWND prompt = nullptr;
        ASSERT_TRUE(Eventually([&] {
            prompt = WaitForWindow(process.id(), L" Exit Options Entry", 0);
            return prompt != nullptr || process.WaitForExit(0);
        }));
        if (prompt != nullptr) {
            Press(FindButton(prompt, L"&No"));
        }
    }
    DWORD code = 1;
    ASSERT_TRUE(process.WaitForExit(kTimeout, &code));
    EXPECT_EQ(code, 0u);
}

// Beside a running options window a second interactive start is refused with a message. Clean
// Now hides the options window behind the progress window; Cancel stops the run, the progress
// window goes, the stopped message comes and the options window is back.
TEST(Scenario, ASecondStartIsRefusedAndCancelStopsARun) {
    Process app(kKestrum);
    HWND options = WaitForWindow(app.id(), kOptions, kTimeout);
    ASSERT_NE(options, nullptr);
    {
        Process second(kKestrum);
        HWND box = WaitForWindow(second.id(), L"Kestrum", kTimeout,
                                 L"The Kestrum program is already running");
        ASSERT_NE(box, nullptr);
        Press(FindButton(box, L"OK"));
        ExpectCleanExit(second);
    }
    Press(FindButton(options, L"Clean &Now"));
    HWND banner = WaitForWindow(app.id(), L" Kestrum", kTimeout);
    ASSERT_NE(banner, nullptr);
    EXPECT_FALSE(IsWindowVisible(options));
    Press(FindButton(banner, L"Cancel"));
    HWND box = WaitForWindow(app.id(), L" Kestrum", kTimeout,
                             L"The Kestrum process was successfully stopped");
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(IsWindow(banner));
    Press(FindButton(box, L"OK"));
    ASSERT_EQ(WaitForWindow(app.id(), kOptions, kTimeout), options);
    ExpectCleanExit(app, options);
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::wstring> ChildTexts(HWND parent) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(TextOf(child));
    }
    return texts;
}

// True when one of the pixels around (x, y) of the window shows the colour on the screen: a
// ring one pixel wide may fall a pixel either way.
bool ColourNear(HWND window, int x, int y, COLORREF colour) {
    POINT at{x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr);
    bool found = false;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            found = found || GetPixel(screen, at.x + dx, at.y + dy) == colour;
        }
    }
    ReleaseDC(nullptr, screen);
    return found;
}

// The splash comes with its corners cut and goes by itself; the options window's "?" button is
// an oval with a bevel that sinks while pressed, and its click opens the About box; Esc closes
// that, F1 opens it again, and its System Info button starts what the registry names.
TEST(Scenario, SplashAboutBoxAndTheOvalButton) {
    const std::wstring tool = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
    wchar_t here[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, here, MAX_PATH);
    std::wstring recorder = here;
    recorder = recorder.substr(0, recorder.rfind(L'\\') + 1) + L"kestrum-recorder.exe";
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, tool.c_str(), L"PATH", REG_SZ, recorder.c_str(),
                              static_cast<DWORD>((recorder.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    DeleteFileW(L"C:\\kestrum-started.txt");

    Process app(kKestrum);
    HWND splash =
        WaitForWindow(app.id(), L"Kestrum", kTimeout, L"PLEASE WAIT...Retrieving options");
    ASSERT_NE(splash, nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(splash, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the top-left corner is cut";
    EXPECT_TRUE(PtInRegion(region, 200, 100));
    DeleteObject(region);
    HWND options = WaitForWindow(app.id(), kOptions, kTimeout);
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(IsWindow(splash)) << "the splash went by itself before the options window";

    // A 450-twip button at 96 dpi: the lower-right outer ring near (25, 25), the upper-left one
    // near (4, 4), the face in the middle.
    HWND help = FindButton(options, L"?");
    ASSERT_NE(help, nullptr);
    const COLORREF face = GetSysColor(COLOR_BTNFACE), black = RGB(0, 0, 0),
                   white = RGB(255, 255, 255);
    // Read off the screen, so only once the window is drawn there.
    const auto looks = [&](COLORREF lowerRight, COLORREF upperLeft) {
        return Eventually([&] {
            return ColourNear(help, 25, 25, lowerRight) && ColourNear(help, 4, 4, upperLeft) &&
                   ColourNear(help, 15, 8, face);
        });
    };
    EXPECT_TRUE(looks(black, white)) << "raised";
    PostMessageW(help, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_TRUE(looks(white, black)) << "sunken";
    PostMessageW(help, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));

    HWND about = WaitForWindow(app.id(), L" About Kestrum", kTimeout);
    ASSERT_NE(about, nullptr);
    const std::vector<std::wstring> texts = ChildTexts(about);
    for (const wchar_t* text : {L"Kestrum", L"OK", L"&System Info...", L"Web site:"}) {
        EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
    }
    EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                           [](const std::wstring& t) { return t.rfind(L"Version ", 0) == 0; }),
              texts.end());
    PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Eventually([&] { return !IsWindow(about); })) << "Esc closes it";

    PostMessageW(help, WM_KEYDOWN, VK_F1, 0);
    about = WaitForWindow(app.id(), L" About Kestrum", kTimeout);
    ASSERT_NE(about, nullptr);
    Press(FindButton(about, L"&System Info..."));
    std::string started;
    EXPECT_TRUE(Eventually([&] {
        std::ifstream log("C:\\kestrum-started.txt");
        started.assign(std::istreambuf_iterator<char>(log), {});
        return !started.empty();
    }));
    EXPECT_NE(started.find("kestrum-recorder.exe"), std::string::npos) << started;
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, tool.c_str());
    PostMessageW(about, WM_CLOSE, 0, 0);
    ExpectCleanExit(app, options);
}

// The control of the window, at any depth, whose text is the caption, or nullptr.
HWND FindControl(HWND window, const std::wstring& caption) {
    struct Search {
        const std::wstring* caption;
        HWND found;
    } search{&caption, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (TextOf(child) == *s->caption) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Ticked(HWND options, const std::wstring& caption) {
    return SendMessageW(FindControl(options, caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring ReadText(HKEY root, const std::wstring& key, const std::wstring& value) {
    wchar_t text[512] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(root, key.c_str(), value.c_str(), RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS) {
        return L"(none)";
    }
    return text;
}

std::string FileText(const wchar_t* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A first start opens with start-up and desktop ticked and Save enabled; Save writes the Run
// entry, the desktop's "Clean Now.lnk", the list file and the settings; the next start shows the
// saved state with Save disabled. The prefix is left as it was found.
TEST(Scenario, FirstStartSavesAndTheNextStartShowsTheSavedState) {
    const std::wstring run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const std::wstring settings = L"Software\\Kestrum";
    const wchar_t* list = L"C:\\Program Files\\Kestrum\\Kestrum.lst";
    wchar_t user[256] = {};
    DWORD userSize = 256;
    ASSERT_TRUE(GetUserNameW(user, &userSize));
    const std::wstring profile = std::wstring(L"C:\\Documents and Settings\\") + user + L"\\";
    const std::wstring link = profile + L"Desktop\\Clean Now.lnk";
    for (const wchar_t* folder :
         {L"C:\\Documents and Settings", L"", L"Desktop", L"Start Menu", L"Start Menu\\Programs"}) {
        CreateDirectoryW(folder[0] == L'C' ? folder : (profile + folder).c_str(), nullptr);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, settings.c_str());
    HKEY runKey = nullptr;  // Windows has it; a fresh prefix may not yet
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, run.c_str(), &runKey), ERROR_SUCCESS);
    RegCloseKey(runKey);
    DeleteFileW(link.c_str());
    { std::ofstream(list, std::ios::binary) << "c:\\kestrum-none\\x.txt\r\n"; }
    const std::wstring perform = L"&Perform Kestrum when Windows starts?";
    const std::wstring desktop = L"Add CleanNow shortcut to your &desktop?";
    {
        Process app(kKestrum);
        HWND options = WaitForWindow(app.id(), kOptions, kTimeout);
        ASSERT_NE(options, nullptr);
        EXPECT_TRUE(Ticked(options, perform));
        EXPECT_TRUE(Ticked(options, desktop));
        HWND save = FindButton(options, L"&Save");
        ASSERT_NE(save, nullptr);
        EXPECT_TRUE(IsWindowEnabled(save));
        Press(save);
        EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(save); })) << "saved";
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, run, L"Kestrum"),
                  L"c:\\program files\\kestrum\\kestrum.exe /startup");
        EXPECT_EQ(ReadText(HKEY_CURRENT_USER, settings + L"\\Settings", L"Defined"), L"Yes");
        EXPECT_EQ(GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << "the link";
        EXPECT_EQ(FileText(list), "c:\\kestrum-none\\x.txt\r\n");
        ExpectCleanExit(app, options);
    }
    {
        Process app(kKestrum);
        HWND options = WaitForWindow(app.id(), kOptions, kTimeout);
        ASSERT_NE(options, nullptr);
        EXPECT_TRUE(Ticked(options, perform));
        EXPECT_TRUE(Ticked(options, desktop));
        EXPECT_FALSE(IsWindowEnabled(FindButton(options, L"&Save")));
        ExpectCleanExit(app, options);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, run.c_str(), L"Kestrum");
    RegDeleteTreeW(HKEY_CURRENT_USER, settings.c_str());
    DeleteFileW(link.c_str());
    DeleteFileW(list);
}

// Waits for the message that ends a run that went through and answers it: OK to its
// completion, No to a reboot the run advises.
void AnswerTheRunsEnd(Process& app) {
    HWND done = nullptr;
    HWND reboot = nullptr;
    ASSERT_TRUE(Eventually([&] {
        done = WaitForWindow(app.id(), L" Kestrum", 0,
                             L"The Kestrum process was successfully completed");
        reboot = WaitForWindow(app.id(), L" Reboot", 0);
        return done != nullptr || reboot != nullptr;
    }));
    Press(done != nullptr ? FindButton(done, L"OK") : FindButton(reboot, L"&No"));
}

// Ticks or clears a check box by clicking it when it shows the other value: the notification a
// click sends, handled before this returns (a box's click opens no window, so this cannot hang).
void SetTicked(HWND window, const std::wstring& caption, bool ticked) {
    HWND box = FindControl(window, caption);
    ASSERT_NE(box, nullptr) << caption;
    if (Ticked(window, caption) != ticked) {
        SendMessageW(window, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(box)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(box));
    }
    EXPECT_EQ(Ticked(window, caption), ticked) << caption;
}

// The delete tab end to end: with every box cleared Save warns and writes nothing; a Clean Now of
// the temporary files alone removes a seeded one and leaves the stored choices; a path typed into
// the entry field over the list is saved to the list file.
TEST(Scenario, DeleteOptionsWarningCleanNowAndAnEntryTypedIntoTheList) {
    const std::wstring settings = L"Software\\Kestrum";
    const wchar_t* list = L"C:\\Program Files\\Kestrum\\Kestrum.lst";
    RegDeleteTreeW(HKEY_CURRENT_USER, settings.c_str());
    DeleteFileW(list);
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring seeded = std::wstring(windows) + L"\\temp\\kestrum-seeded.tmp";
    { std::ofstream(seeded.c_str()) << "junk"; }
    ASSERT_NE(GetFileAttributesW(seeded.c_str()), INVALID_FILE_ATTRIBUTES);

    Process app(kKestrum);
    HWND options = WaitForWindow(app.id(), kOptions, kTimeout);
    ASSERT_NE(options, nullptr);
    // Saving then neither registers a start-up entry nor makes a shortcut to clean away.
    SetTicked(options, L"&Perform Kestrum when Windows starts?", false);
    SetTicked(options, L"Add CleanNow shortcut to your &desktop?", false);
    // To the delete tab as a click on it would go: the tab control tells its owner the change.
    SendMessageW(FindWindowExW(options, nullptr, WC_TABCONTROLW, nullptr), TCM_SETCURFOCUS, 1, 0);
    const std::wstring temporary = L"Delete &temporary files?",
                       selected = L"Delete select &files?:";
    for (const wchar_t* caption :
         {L"Delete &browser history?", L"Delete coo&kies?", L"Delete \"r&ecent\" lists?",
          L"Delete &temporary files?", L"Delete cac&he files?", L"Clear Recycle B&in?",
          L"Delete select &files?:", L"Clear DNS cache?  (Windows 2000 and &XP only)",
          L"Delete prefetch files (&Windows XP only)"}) {
        SetTicked(options, caption, false);
    }
    HWND save = FindButton(options, L"&Save");
    HWND cleanNow = FindButton(options, L"Clean &Now");
    EXPECT_FALSE(IsWindowEnabled(cleanNow));
    Press(save);
    HWND warning = WaitForWindow(app.id(), L" Delete Options", kTimeout,
                                 L"Warning:  No delete options have been selected");
    ASSERT_NE(warning, nullptr);
    Press(FindButton(warning, L"OK"));
    ASSERT_TRUE(Eventually([&] { return IsWindowEnabled(options); }));
    EXPECT_TRUE(IsWindowEnabled(save)) << "nothing saved";
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, settings + L"\\Settings", L"Defined"), L"(none)");

    SetTicked(options, temporary, true);
    ASSERT_TRUE(IsWindowEnabled(cleanNow));
    Press(cleanNow);
    AnswerTheRunsEnd(app);
    EXPECT_EQ(GetFileAttributesW(seeded.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the seeded file went";
    ASSERT_EQ(WaitForWindow(app.id(), kOptions, kTimeout), options);
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, settings + L"\\Settings", L"DeleteOptions"), L"(none)");

    SetTicked(options, selected, true);
    HWND field = FindWindowExW(options, nullptr, L"Edit", nullptr);
    ASSERT_NE(field, nullptr);
    Press(FindButton(options, L"&Add"));
    ASSERT_TRUE(Eventually([&] { return IsWindowVisible(field) != FALSE; }));
    for (const wchar_t c : std::wstring(L"c:\\kestrum-kept\\notes.txt")) {
        PostMessageW(field, WM_CHAR, c, 1);
    }
    PostMessageW(field, WM_KEYDOWN, VK_RETURN, 1);
    HWND rows = FindWindowExW(options, nullptr, L"ListBox", nullptr);
    EXPECT_TRUE(Eventually([&] { return SendMessageW(rows, LB_GETCOUNT, 0, 0) == 1; }));
    // The field opens again a row lower, over the list, and shows whole there with its browse
    // button: the list's own drawing of the new row does not cover them with its white.
    HWND browse = FindButton(options, L"...");
    EXPECT_TRUE(Eventually([&] {
        RECT frame{};
        RECT button{};
        GetWindowRect(field, &frame);
        GetWindowRect(browse, &button);
        HDC screen = GetDC(nullptr);
        const COLORREF corner = GetPixel(screen, frame.left, frame.top);
        const COLORREF edge = GetPixel(screen, button.left, (button.top + button.bottom) / 2);
        ReleaseDC(nullptr, screen);
        const COLORREF white = GetSysColor(COLOR_WINDOW);
        return IsWindowVisible(browse) && corner != white && edge != white;
    }));
    PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(Eventually([&] { return !IsWindowVisible(field); }));
    Press(save);
    EXPECT_TRUE(Eventually([&] { return !IsWindowEnabled(save); })) << "saved";
    EXPECT_EQ(FileText(list), "c:\\kestrum-kept\\notes.txt\r\n");
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, settings + L"\\Settings", L"DeleteOptions"),
              L"00010010000000000000");
    ExpectCleanExit(app, options);
    RegDeleteTreeW(HKEY_CURRENT_USER, settings.c_str());
    DeleteFileW(list);
}

// A "Clean Now" shortcut's start shows the stored choices and the list; Cancel ends it having
// cleaned nothing; Clean Now with the temporary files unticked removes a seeded cookie, keeps a
// seeded temporary file, ends the program and leaves the stored choices as they were.
TEST(Scenario, TheConfirmationWindowCleansOnceWithItsOwnChoices) {
    const std::wstring settings = L"Software\\Kestrum\\Settings";
    const wchar_t* list = L"C:\\Program Files\\Kestrum\\Kestrum.lst";
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrum");
    const std::wstring stored = L"01010000000000000000";  // cookies and temporary files
    ASSERT_EQ(
        RegSetKeyValueW(HKEY_CURRENT_USER, settings.c_str(), L"DeleteOptions", REG_SZ,
                        stored.c_str(), static_cast<DWORD>((stored.size() + 1) * sizeof(wchar_t))),
        ERROR_SUCCESS);
    {
        std::ofstream(list, std::ios::binary)
            << "c:\\kestrum-none\\a.txt\r\nc:\\kestrum-none\\b\\\r\n";
    }
    wchar_t windows[MAX_PATH] = {};
    ASSERT_NE(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring temporary = std::wstring(windows) + L"\\temp\\kestrum-kept.tmp";
    const std::wstring cookie = std::wstring(windows) + L"\\cookies\\kestrum@example.txt";
    CreateDirectoryW((std::wstring(windows) + L"\\cookies").c_str(), nullptr);
    for (const std::wstring& file : {temporary, cookie}) {
        std::ofstream(file.c_str()) << "seeded";
    }
    const auto exists = [](const std::wstring& file) {
        return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    };

    for (const bool clean : {false, true}) {
        SCOPED_TRACE(clean ? "Clean Now" : "Cancel");
        Process app(kKestrum + L"/run");
        HWND window = WaitForWindow(app.id(), kOptions, kTimeout, L"Clean &Now");
        ASSERT_NE(window, nullptr);
        std::wstring ticks;
        for (const wchar_t* caption :
             {L"All &Options", L"Delete &browser history?", L"Delete coo&kies?",
              L"Delete &temporary files?", L"Delete select &files?:",
              L"Delete prefetch files?  (&Windows XP only)"}) {
            ticks += Ticked(window, caption) ? L'1' : L'0';
        }
        EXPECT_EQ(ticks, L"001100");
        HWND rows = FindWindowExW(window, nullptr, L"ListBox", nullptr);
        ASSERT_EQ(SendMessageW(rows, LB_GETCOUNT, 0, 0), 2);
        wchar_t row[MAX_PATH] = {};
        SendMessageW(rows, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
        EXPECT_STREQ(row, L"c:\\kestrum-none\\b\\");
        if (clean) {
            SetTicked(window, L"Delete &temporary files?", false);
            Press(FindButton(window, L"Clean &Now"));
            AnswerTheRunsEnd(app);
        } else {
            Press(FindButton(window, L"Cancel"));
        }
        ExpectCleanExit(app);
        EXPECT_TRUE(exists(temporary));
        EXPECT_EQ(exists(cookie), !clean);
    }
    EXPECT_EQ(ReadText(HKEY_CURRENT_USER, settings, L"DeleteOptions"), stored);
    DeleteFileW(temporary.c_str());
    DeleteFileW(list);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Kestrum");
}

}  // namespace
}  // namespace kestrum::wintest
