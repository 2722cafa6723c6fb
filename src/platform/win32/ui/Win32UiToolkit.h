#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Ui.h"
#include "platform/win32/UniqueHandle.h"

namespace kestrum::win32 {

class Win32Window;

class Win32UiToolkit final : public IUiToolkit {
  public:
    static constexpr wchar_t kWindowClass[] = L"KestrumTopWindow";

    explicit Win32UiToolkit(IApplication& application);
    Win32UiToolkit(const Win32UiToolkit&) = delete;
    Win32UiToolkit& operator=(const Win32UiToolkit&) = delete;

    std::unique_ptr<IWindow> CreateTopWindow(const std::string& name, const std::string& title,
                                             int widthTwips, int heightTwips,
                                             WindowFrame frame = WindowFrame::Dialog) override;
    ScreenMetrics Screen() const override;
    MessageAnswer ShowMessage(const std::string& text, const std::string& title,
                              MessageButtons buttons, MessageIcon icon) override;
    bool HasPendingInput() override;
    void ProcessPendingEvents() override;
    void WaitForEvents(std::uint32_t milliseconds) override;
    void RunUntilAllWindowsClosed() override;

    // Twips per pixel alone, for the conversions of a control or an event: no system call, unlike
    // the work area of Screen().
    const ScreenMetrics& Scale() const { return scale_; }
    HFONT font() const { return font_.get(); }
    bool TaskListVisible() const { return application_.TaskListVisible(); }
    // Dispatches one message: the key preview first, then the dialog manager's keyboard handling.
    void Dispatch(MSG& msg);
    // Disables every other enabled window of the program; answers those it disabled.
    std::vector<HWND> DisableWindowsBut(const Win32Window& keep);
    // One of the program's windows, by its handle.
    bool IsProgramWindow(HWND hwnd) const;

  private:
    friend class Win32Window;
    // Only windows that the system really made are counted, from their first message to their last.
    void WindowCreated(Win32Window& window) { windows_.push_back(&window); }
    void WindowDestroyed(Win32Window& window);

    IApplication& application_;
    FontHandle font_;
    // The dots per inch are fixed for the process, so the scale is worked out once.
    ScreenMetrics scale_;
    std::vector<Win32Window*> windows_;
};

}  // namespace kestrum::win32
