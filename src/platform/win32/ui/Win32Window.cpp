#include "platform/win32/ui/Win32Window.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/ui/Win32CheckBox.h"
#include "platform/win32/ui/Win32Label.h"
#include "platform/win32/ui/Win32ListBox.h"
#include "platform/win32/ui/Win32PaintBox.h"
#include "platform/win32/ui/Win32PushButton.h"
#include "platform/win32/ui/Win32Tabs.h"
#include "platform/win32/ui/Win32TextBox.h"
#include "platform/win32/ui/Win32TreeView.h"
#include "platform/win32/ui/Win32UiToolkit.h"

namespace kestrum::win32 {

Win32Window::Win32Window(Win32UiToolkit& ui, std::string name, const std::string& title,
                         int widthTwips, int heightTwips, WindowFrame frame)
    : ui_(ui), name_(std::move(name)), title_(title) {
    const DWORD style = frame == WindowFrame::None
                            ? WS_POPUP
                            : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const DWORD exStyle =
        WS_EX_CONTROLPARENT | (ui_.TaskListVisible() ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW);
    const ScreenMetrics screen = ui_.Screen();
    // The size given is the client area; the frame comes on top.
    RECT outer{0, 0, screen.PixelsX(widthTwips), screen.PixelsY(heightTwips)};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int x =
        screen.PixelsX(screen.workArea.left) + (screen.PixelsX(screen.workArea.width) - width) / 2;
    const int y =
        screen.PixelsY(screen.workArea.top) + (screen.PixelsY(screen.workArea.height) - height) / 2;
    // hwnd_ is set by the procedure on WM_NCCREATE, and only a window that got that far counts.
    CreateWindowExW(exStyle, Win32UiToolkit::kWindowClass, Utf8ToWide(title).c_str(), style, x, y,
                    width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

Win32Window::~Win32Window() {
    // The handlers belong to the owner, which is going away with this object.
    onUnload_ = nullptr;
    onQueryUnload_ = nullptr;
    onActivate_ = nullptr;
    onDeactivate_ = nullptr;
    Unload(true);
}

Win32Window* Win32Window::From(HWND hwnd) {
    if (hwnd == nullptr) {
        return nullptr;
    }
    wchar_t className[64] = {};
    if (GetClassNameW(hwnd, className, 64) == 0 ||
        lstrcmpW(className, Win32UiToolkit::kWindowClass) != 0) {
        return nullptr;
    }
    return reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK Win32Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* window =
            static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        window->hwnd_ = hwnd;
        window->ui_.WindowCreated(*window);
    }
    Win32Window* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (window == nullptr) {
        return DefDlgProcW(hwnd, message, wparam, lparam);
    }
    // The exception boundary: a handler that throws is passed over and the message gets its
    // default handling, except a close, which then leaves the window open.
    try {
        return window->Handle(message, wparam, lparam);
    } catch (...) {
        return message == WM_CLOSE ? 0 : DefDlgProcW(hwnd, message, wparam, lparam);
    }
}

void Win32Window::SetTitle(const std::string& title) {
    title_ = title;
    if (hwnd_ != nullptr) {
        SetWindowTextW(hwnd_, Utf8ToWide(title).c_str());
    }
}

template <typename Kind>
Kind& Win32Window::Adopt(std::unique_ptr<Kind> control) {
    Kind& adopted = *control;
    byName_.try_emplace(adopted.Name(), &adopted);
    byId_.emplace(adopted.id(), &adopted);
    controls_.push_back(std::move(control));
    return adopted;
}

ILabel& Win32Window::AddLabel(const std::string& name, const TwipsRect& where,
                              const std::string& caption) {
    return Adopt(std::make_unique<Win32Label>(*this, name, nextId_++, where, caption));
}

IPushButton& Win32Window::AddPushButton(const std::string& name, const TwipsRect& where,
                                        const std::string& caption) {
    return Adopt(std::make_unique<Win32PushButton>(*this, name, nextId_++, where, caption));
}

ICheckBox& Win32Window::AddCheckBox(const std::string& name, const TwipsRect& where,
                                    const std::string& caption) {
    return Adopt(std::make_unique<Win32CheckBox>(*this, name, nextId_++, where, caption));
}

IPaintBox& Win32Window::AddPaintBox(const std::string& name, const TwipsRect& where,
                                    const std::string& caption) {
    return Adopt(std::make_unique<Win32PaintBox>(*this, name, nextId_++, where, caption));
}

ILinkLabel& Win32Window::AddLinkLabel(const std::string& name, const TwipsRect& where,
                                      const std::string& caption) {
    return Adopt(std::make_unique<Win32LinkLabel>(*this, name, nextId_++, where, caption));
}

ITextBox& Win32Window::AddTextBox(const std::string& name, const TwipsRect& where) {
    return Adopt(std::make_unique<Win32TextBox>(*this, name, nextId_++, where));
}

IListBox& Win32Window::AddListBox(const std::string& name, const TwipsRect& where, bool sorted) {
    return Adopt(std::make_unique<Win32ListBox>(*this, name, nextId_++, where, sorted));
}

ITreeView& Win32Window::AddTreeView(const std::string& name, const TwipsRect& where) {
    return Adopt(std::make_unique<Win32TreeView>(*this, name, nextId_++, where));
}

ITabs& Win32Window::AddTabs(const std::string& name, const TwipsRect& where,
                            const std::vector<std::string>& captions) {
    return Adopt(std::make_unique<Win32Tabs>(*this, name, nextId_++, where, captions));
}

IControl& Win32Window::AddPicture(const std::string& name, const TwipsRect& where,
                                  Picture picture) {
    return Adopt(std::make_unique<Win32Ornament>(*this, name, nextId_++, where,
                                                 Win32Ornament::Kind::Picture, picture));
}

void Win32Window::SetState(WindowState state) {
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, state == WindowState::Minimized ? SW_MINIMIZE : SW_RESTORE);
    }
}

WindowState Win32Window::State() const {
    return hwnd_ != nullptr && IsIconic(hwnd_) ? WindowState::Minimized : WindowState::Normal;
}

TextExtent Win32Window::MeasureText(const std::string& text) const {
    const ScreenDc screen{GetDC(nullptr)};
    if (!screen) {
        return {};
    }
    const HGDIOBJ old = SelectObject(screen.get(), ui_.font());
    const std::wstring wide = Utf8ToWide(text);
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    SelectObject(screen.get(), old);
    const ScreenMetrics& scale = ui_.Scale();
    return {scale.TwipsX(size.cx), scale.TwipsY(size.cy)};
}

IControl& Win32Window::AddSeparator(const std::string& name, const TwipsRect& where) {
    return Adopt(std::make_unique<Win32Ornament>(*this, name, nextId_++, where,
                                                 Win32Ornament::Kind::Separator));
}

TwipsRect Win32Window::Bounds() const {
    RECT frame{};
    if (hwnd_ == nullptr || !GetWindowRect(hwnd_, &frame)) {
        return bounds_;
    }
    const ScreenMetrics& scale = ui_.Scale();
    return {scale.TwipsX(frame.left), scale.TwipsY(frame.top),
            scale.TwipsX(frame.right - frame.left), scale.TwipsY(frame.bottom - frame.top)};
}

void Win32Window::MoveTo(int left, int top) {
    bounds_ = Bounds();
    bounds_.left = left;
    bounds_.top = top;
    if (hwnd_ != nullptr) {
        const ScreenMetrics& scale = ui_.Scale();
        SetWindowPos(hwnd_, nullptr, scale.PixelsX(left), scale.PixelsY(top), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Window::Refresh() {
    if (hwnd_ != nullptr) {
        RedrawWindow(hwnd_, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
}

void Win32Window::SetRoundedRegion(int left, int top, int right, int bottom, int cornerWidth,
                                   int cornerHeight) {
    if (hwnd_ == nullptr) {
        return;
    }
    RegionHandle region(CreateRoundRectRgn(left, top, right, bottom, cornerWidth, cornerHeight));
    // Once set, the region belongs to the window.
    if (region && SetWindowRgn(hwnd_, region.get(), TRUE) != 0) {
        region.release();
    }
}

IControl* Win32Window::Find(const std::string& name) {
    const auto it = byName_.find(name);
    return it != byName_.end() ? it->second : nullptr;
}

Win32Control* Win32Window::ControlById(int id) const {
    const auto it = byId_.find(id);
    return it != byId_.end() ? it->second : nullptr;
}

Win32Control* Win32Window::ControlByHwnd(HWND child) const {
    if (child == nullptr || GetParent(child) != hwnd_) {
        return nullptr;
    }
    return ControlById(GetDlgCtrlID(child));
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

void Win32Window::ShowModal() {
    if (hwnd_ == nullptr) {
        return;
    }
    disabledByModal_ = ui_.DisableWindowsBut(*this);
    Show();
    while (hwnd_ != nullptr) {
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) {
            break;
        }
        if (got != 0) {
            ui_.Dispatch(msg);
        }
    }
    EndModal();
}

void Win32Window::EndModal() {
    for (HWND other : disabledByModal_) {
        if (IsWindow(other)) {
            EnableWindow(other, TRUE);
        }
    }
    disabledByModal_.clear();
}

void Win32Window::Hide() {
    if (hwnd_ != nullptr) {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

bool Win32Window::Visible() const {
    return hwnd_ != nullptr && IsWindowVisible(hwnd_) != 0;
}

bool Win32Window::AskToUnload(CloseReason reason) {
    if (!onQueryUnload_) {
        return true;
    }
    auto handler = onQueryUnload_;
    return !handler(reason);
}

bool Win32Window::Unload(bool force) {
    if (hwnd_ == nullptr) {
        return true;
    }
    if (!force && !AskToUnload(CloseReason::Code)) {
        return false;
    }
    if (hwnd_ == nullptr) {
        return true;  // the handler unloaded it itself
    }
    // The windows a modal window disabled come back first, so that one of them is activated.
    unloading_ = true;
    EndModal();
    DestroyWindow(hwnd_);
    unloading_ = false;
    return hwnd_ == nullptr;
}

void Win32Window::SetDefaultButton(IPushButton* button) {
    auto* next = dynamic_cast<Win32PushButton*>(button);
    if (default_ != nullptr && default_ != next) {
        default_->ShowAsDefault(false);
    }
    default_ = next;
    if (hwnd_ != nullptr) {
        // The dialog manager keeps its own default id for the frame it draws as the focus moves.
        DefDlgProcW(hwnd_, DM_SETDEFID,
                    default_ != nullptr ? static_cast<WPARAM>(default_->id()) : 0, 0);
    }
    if (default_ != nullptr) {
        default_->ShowAsDefault(true);
    }
}

IPushButton* Win32Window::DefaultButton() const {
    return default_;
}

void Win32Window::SetCancelButton(IPushButton* button) {
    cancel_ = dynamic_cast<Win32PushButton*>(button);
}

IPushButton* Win32Window::CancelButton() const {
    return cancel_;
}

void Win32Window::StartTimer(int id, std::uint32_t intervalMs, std::function<void()> onTick) {
    if (hwnd_ == nullptr || id <= 0) {
        return;
    }
    timers_[id] = std::move(onTick);
    SetTimer(hwnd_, static_cast<UINT_PTR>(id), intervalMs, nullptr);
}

void Win32Window::StopTimer(int id) {
    if (timers_.erase(id) != 0 && hwnd_ != nullptr) {
        KillTimer(hwnd_, static_cast<UINT_PTR>(id));
    }
}

std::optional<std::size_t> Win32Window::ShowPopupMenu(const std::vector<MenuItem>& items, int x,
                                                      int y) {
    MenuHandle menu(CreatePopupMenu());
    if (!menu || hwnd_ == nullptr) {
        return std::nullopt;
    }
    // Command ids count from 1: TrackPopupMenu answers 0 for a dismissed menu.
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UINT flags = MF_STRING | (items[i].enabled ? MF_ENABLED : MF_GRAYED);
        AppendMenuW(menu.get(), flags, i + 1, Utf8ToWide(items[i].caption).c_str());
    }
    const ScreenMetrics& screen = ui_.Scale();
    POINT at{screen.PixelsX(x), screen.PixelsY(y)};
    ClientToScreen(hwnd_, &at);
    const auto chosen = static_cast<std::size_t>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                       at.x, at.y, 0, hwnd_, nullptr));
    if (chosen == 0 || chosen > items.size()) {
        return std::nullopt;
    }
    return chosen - 1;
}

HWND Win32Window::ToolTips() {
    if (toolTips_ == nullptr && hwnd_ != nullptr) {
        toolTips_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    return toolTips_;
}

bool Win32Window::PreviewKey(const MSG& msg) {
    if (!onKeyPreview_) {
        return false;
    }
    KeyEvent event;
    event.key = static_cast<int>(msg.wParam);
    event.shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    event.control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    event.alt = msg.message == WM_SYSKEYDOWN || (GetKeyState(VK_MENU) & 0x8000) != 0;
    // The loop is outside the window procedure, so the boundary is repeated here.
    try {
        auto handler = onKeyPreview_;
        return handler(event);
    } catch (...) {
        return false;
    }
}

bool Win32Window::TabsKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB ||
        (GetKeyState(VK_CONTROL) & 0x8000) == 0 || hwnd_ == nullptr || !IsWindowEnabled(hwnd_)) {
        return false;
    }
    const int by = (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1;
    for (auto& control : controls_) {
        if (auto* tabs = dynamic_cast<Win32Tabs*>(control.get());
            tabs != nullptr && tabs->Step(by)) {
            return true;
        }
    }
    return false;
}

void Win32Window::Destroyed() {
    EndModal();
    hwnd_ = nullptr;
    toolTips_ = nullptr;  // owned by this window, destroyed with it
    timers_.clear();
    for (auto& control : controls_) {
        control->Detach();
    }
    ui_.WindowDestroyed(*this);
}

LRESULT Win32Window::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND self = hwnd_;
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wparam);
            // Esc through the dialog manager; Enter with no default button arrives as IDOK.
            if (id == IDCANCEL) {
                if (cancel_ != nullptr) {
                    cancel_->Click();
                }
                return 0;
            }
            if (id == IDOK) {
                return 0;
            }
            if (Win32Control* control = ControlById(id);
                control != nullptr && control->OnCommand(HIWORD(wparam))) {
                return 0;
            }
            break;
        }
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
            LRESULT result = 0;
            if (Win32Control* control = ControlById(static_cast<int>(header.idFrom));
                control != nullptr && control->OnNotify(header, &result)) {
                return result;
            }
            break;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            if (Win32Control* control = ControlById(static_cast<int>(item.CtlID));
                control != nullptr && control->OnDrawItem(item)) {
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
            if (Win32Control* control = ControlByHwnd(reinterpret_cast<HWND>(lparam))) {
                if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wparam))) {
                    return reinterpret_cast<LRESULT>(brush);
                }
            }
            break;
        case DM_GETDEFID: {
            // Enter: the focused push button if there is one, else the window's current default.
            Win32Control* focused = ControlByHwnd(GetFocus());
            Win32Control* target = focused != nullptr && focused->TakesEnter() ? focused : default_;
            return target != nullptr ? MAKELRESULT(target->id(), DC_HASDEFID) : 0;
        }
        case WM_CLOSE:
            if (AskToUnload(CloseReason::User) && hwnd_ != nullptr) {
                Unload(true);
            }
            return 0;
        case WM_ACTIVATE: {
            const LRESULT result = DefDlgProcW(self, message, wparam, lparam);
            if (LOWORD(wparam) != WA_INACTIVE) {
                Raise(onActivate_);
            } else if (const auto other = reinterpret_cast<HWND>(lparam);
                       !unloading_ && other != hwnd_ && ui_.IsProgramWindow(other)) {
                Raise(onDeactivate_);
            }
            return result;
        }
        case WM_TIMER: {
            const auto it = timers_.find(static_cast<int>(wparam));
            if (it != timers_.end()) {
                auto handler = it->second;  // it may stop or restart its own timer
                if (handler) {
                    handler();
                }
                return 0;
            }
            break;
        }
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            if (onMouse_) {
                auto handler = onMouse_;
                handler(MouseEventOf(message, wparam, lparam, ui_.Scale()));
                return 0;
            }
            break;
        case WM_NCDESTROY: {
            SetWindowLongPtrW(self, GWLP_USERDATA, 0);
            Destroyed();
            const LRESULT result = DefDlgProcW(self, message, wparam, lparam);
            // Past the point where the default handling could be given again.
            try {
                if (auto handler = onUnload_) {
                    handler();
                }
            } catch (...) {
            }
            return result;
        }
        default:
            break;
    }
    return DefDlgProcW(self, message, wparam, lparam);
}

}  // namespace kestrum::win32
