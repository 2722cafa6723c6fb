#include "platform/win32/ui/Win32PaintBox.h"

#include "platform/win32/UniqueHandle.h"
#include "platform/win32/ui/Win32Canvas.h"
#include "platform/win32/ui/Win32UiToolkit.h"
#include "platform/win32/ui/Win32Window.h"

namespace kestrum::win32 {

Win32PaintBox::Win32PaintBox(Win32Window& window, const std::string& name, int id,
                             const TwipsRect& where, const std::string& caption)
    : Win32Control(window, name, id) {
    Create(L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, where, caption);
    if (hwnd_ != nullptr) {
        Subclass();
    }
}

void Win32PaintBox::Repaint() {
    if (hwnd_ != nullptr) {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

bool Win32PaintBox::OnCommand(WORD code) {
    if (code != BN_CLICKED) {
        return false;
    }
    if (AcceptsInput()) {
        Raise(onClick_);
    }
    return true;
}

bool Win32PaintBox::OnDrawItem(const DRAWITEMSTRUCT& item) {
    const RECT& area = item.rcItem;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Drawn off screen and copied in one go, so that a repaint never flickers.
    MemoryDc memory(CreateCompatibleDC(item.hDC));
    BitmapHandle bitmap(CreateCompatibleBitmap(item.hDC, width, height));
    if (!memory || !bitmap) {
        return false;
    }
    const HGDIOBJ oldBitmap = SelectObject(memory.get(), bitmap.get());
    const HGDIOBJ oldFont = SelectObject(memory.get(), window_.toolkit().font());
    Win32Canvas canvas(memory.get(), RECT{0, 0, width, height}, window_.toolkit().Scale());
    try {
        Raise(onPaint_, canvas);
    } catch (...) {
        // A painter that fails leaves what it drew.
    }
    BitBlt(item.hDC, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
    SelectObject(memory.get(), oldFont);
    SelectObject(memory.get(), oldBitmap);
    return true;
}

bool Win32PaintBox::OnSubclassMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE: {
            Raise(onMouse_, MouseEventOf(message, wparam, lparam, window_.toolkit().Scale()));
            // The system button goes on to capture the mouse and to click on release.
            return false;
        }
        case WM_KEYDOWN: {
            // Not passed on: the system button would click on the space bar's release.
            KeyEvent key{static_cast<int>(wparam), GetKeyState(VK_SHIFT) < 0,
                         GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
            Raise(onKeyDown_, key);
            return true;
        }
        case WM_KEYUP:
        case WM_CHAR:
            // The system button clicks on the space bar's release: that is withheld.
            return wparam == VK_SPACE || wparam == L' ';
        case WM_GETDLGCODE: {
            result = DefSubclassProc(hwnd_, message, wparam, lparam);
            const auto* msg = reinterpret_cast<const MSG*>(lparam);
            if (msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
                result |= DLGC_WANTMESSAGE;
            }
            return true;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Raise(onFocus_, message == WM_SETFOCUS);
            return false;
        case WM_ERASEBKGND:
            // Every pixel is painted by the owner.
            result = 1;
            return true;
        default:
            return false;
    }
}

}  // namespace kestrum::win32
