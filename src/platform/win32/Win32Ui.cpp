#include "platform/win32/Win32Ui.h"

#include <commctrl.h>

#include "platform/win32/WideString.h"

namespace kestrum::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"KestrumTopWindow";

Win32Window* WindowOf(HWND hwnd) {
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK TopWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (Win32Window* window = WindowOf(hwnd)) {
        return window->Handle(message, wparam, lparam);
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return WideToUtf8(text);
}

}  // namespace

// ---- controls ----

void Win32Control::SetText(const std::string& text) {
    text_ = text;
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, Utf8ToWide(text).c_str());
        // A status line must show at once, even when the run does not process events for a while.
        UpdateWindow(hwnd_);
    }
}

std::string Win32Control::Text() const { return hwnd_ != nullptr ? WindowText(hwnd_) : text_; }

void Win32Control::SetEnabled(bool enabled) {
    if (hwnd_ != nullptr) {
        EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
}

bool Win32Control::Enabled() const { return hwnd_ != nullptr && IsWindowEnabled(hwnd_) != 0; }

void Win32PushButton::SetDefault(bool isDefault) {
    if (hwnd_ == nullptr) {
        return;
    }
    SendMessageW(hwnd_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    if (isDefault) {
        SendMessageW(GetParent(hwnd_), DM_SETDEFID, static_cast<WPARAM>(id_), 0);
    }
}

// ---- windows ----

Win32Window::Win32Window(Win32UiToolkit& ui, std::string name, HWND hwnd)
    : ui_(ui), name_(std::move(name)), hwnd_(hwnd) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    title_ = WindowText(hwnd_);
    ui_.WindowCreated();
}

Win32Window::~Win32Window() {
    // The handler belongs to the owner, which is going away with this object.
    onUnload_ = nullptr;
    Unload();
}

void Win32Window::SetTitle(const std::string& title) {
    title_ = title;
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, Utf8ToWide(title).c_str());
    }
}

std::string Win32Window::Title() const { return title_; }

HWND Win32Window::CreateChild(const wchar_t* className, DWORD style, const TwipsRect& where,
                              const std::string& caption, int id) {
    HWND child = CreateWindowExW(0, className, Utf8ToWide(caption).c_str(), WS_CHILD | WS_VISIBLE | style,
                                 ui_.TwipsToPixelsX(where.left), ui_.TwipsToPixelsY(where.top),
                                 ui_.TwipsToPixelsX(where.width), ui_.TwipsToPixelsY(where.height),
                                 hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (child != nullptr) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(ui_.font()), TRUE);
    }
    return child;
}

ILabel& Win32Window::AddLabel(const std::string& name, const TwipsRect& where,
                              const std::string& caption) {
    HWND child = hwnd_ != nullptr ? CreateChild(L"STATIC", SS_LEFT | SS_NOPREFIX, where, caption, nextId_++)
                                  : nullptr;
    labels_.push_back(std::make_unique<Win32Label>(child, name));
    labels_.back()->SetText(caption);
    return *labels_.back();
}

IPushButton& Win32Window::AddPushButton(const std::string& name, const TwipsRect& where,
                                        const std::string& caption) {
    const int id = nextId_++;
    HWND child = hwnd_ != nullptr ? CreateChild(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, where, caption, id)
                                  : nullptr;
    buttons_.push_back(std::make_unique<Win32PushButton>(child, name, id));
    buttons_.back()->SetText(caption);
    return *buttons_.back();
}

void Win32Window::Show() {
    if (hwnd_ == nullptr) {
        return;
    }
    ShowWindow(hwnd_, shownOnce_ ? SW_SHOW : SW_SHOWNORMAL);
    shownOnce_ = true;
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
}

void Win32Window::Hide() {
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

bool Win32Window::Visible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_) != 0; }

void Win32Window::Unload() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

LRESULT Win32Window::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND self = hwnd_;
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wparam) == BN_CLICKED) {
                const int id = LOWORD(wparam);
                for (auto& button : buttons_) {
                    if (button->id() == id) {
                        button->Clicked();
                        return 0;
                    }
                }
            }
            break;
        case WM_CTLCOLORSTATIC:
            // Labels on the window's own face colour, not the white of a plain static.
            SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_DESTROY:
            ui_.WindowDestroyed();
            break;
        case WM_NCDESTROY: {
            SetWindowLongPtrW(self, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            for (auto& label : labels_) {
                label->Detach();
            }
            for (auto& button : buttons_) {
                button->Detach();
            }
            const LRESULT result = DefWindowProcW(self, message, wparam, lparam);
            if (auto handler = onUnload_) {
                handler();
            }
            return result;
        }
        default:
            break;
    }
    return DefWindowProcW(self, message, wparam, lparam);
}

// ---- toolkit ----

Win32UiToolkit::Win32UiToolkit(IApplication& application)
    : application_(application), instance_(GetModuleHandleW(nullptr)) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TopWindowProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);
    }
    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
        dpiX_ = GetDeviceCaps(screen, LOGPIXELSX);
        dpiY_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
}

Win32UiToolkit::~Win32UiToolkit() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

std::unique_ptr<IWindow> Win32UiToolkit::CreateTopWindow(const std::string& name,
                                                         const std::string& title, int widthTwips,
                                                         int heightTwips) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const DWORD exStyle = WS_EX_CONTROLPARENT |
                          (application_.TaskListVisible() ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW);
    // The size given is the client area; the frame comes on top.
    RECT frame{0, 0, TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + ((work.right - work.left) - width) / 2;
    const int y = work.top + ((work.bottom - work.top) - height) / 2;

    HWND hwnd = CreateWindowExW(exStyle, kWindowClass, Utf8ToWide(title).c_str(), style, x, y, width,
                                height, nullptr, nullptr, instance_, nullptr);
    return std::make_unique<Win32Window>(*this, name, hwnd);
}

MessageAnswer Win32UiToolkit::ShowMessage(const std::string& text, const std::string& title,
                                          MessageButtons buttons, MessageIcon icon) {
    UINT flags = MB_SETFOREGROUND;
    switch (buttons) {
        case MessageButtons::Ok: flags |= MB_OK; break;
        case MessageButtons::OkCancel: flags |= MB_OKCANCEL; break;
        case MessageButtons::YesNo: flags |= MB_YESNO; break;
        case MessageButtons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    switch (icon) {
        case MessageIcon::None: break;
        case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
        case MessageIcon::Exclamation: flags |= MB_ICONEXCLAMATION; break;
        case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
        case MessageIcon::Critical: flags |= MB_ICONHAND; break;
    }
    // Owned by the visible window in front, if the program has one, so it stays above it.
    HWND owner = GetActiveWindow();
    if (owner != nullptr && !IsWindowVisible(owner)) {
        owner = nullptr;
    }
    const int answer =
        MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(title).c_str(), flags);
    switch (answer) {
        case IDYES: return MessageAnswer::Yes;
        case IDNO: return MessageAnswer::No;
        case IDCANCEL: return MessageAnswer::Cancel;
        default: return MessageAnswer::Ok;
    }
}

bool Win32UiToolkit::HasPendingInput() {
    return HIWORD(GetQueueStatus(QS_INPUT)) != 0;
}

void Win32UiToolkit::Dispatch(MSG& msg) {
    HWND top = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top != nullptr && WindowOf(top) != nullptr && IsDialogMessageW(top, &msg)) {
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32UiToolkit::ProcessPendingEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // The quit message only wakes the main loop, which looks at the window count itself.
        if (msg.message != WM_QUIT) {
            Dispatch(msg);
        }
    }
}

void Win32UiToolkit::WaitForEvents(std::uint32_t milliseconds) {
    MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32UiToolkit::WindowDestroyed() {
    if (--liveWindows_ == 0) {
        // Wakes the main loop, which ends once no window is left.
        PostQuitMessage(0);
    }
}

void Win32UiToolkit::RunUntilAllWindowsClosed() {
    MSG msg;
    while (liveWindows_ > 0) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) {
            break;
        }
        if (got != 0) {
            Dispatch(msg);
        }
    }
}

}  // namespace kestrum::win32
