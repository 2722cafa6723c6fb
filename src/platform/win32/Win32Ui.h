#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Ui.h"

namespace kestrum::win32 {

class Win32UiToolkit;

class Win32Control : public virtual IControl {
public:
    Win32Control(HWND hwnd, std::string name) : hwnd_(hwnd), name_(std::move(name)) {}
    std::string Name() const override { return name_; }
    void SetText(const std::string& text) override;
    std::string Text() const override;
    void SetEnabled(bool enabled) override;
    bool Enabled() const override;
    HWND hwnd() const { return hwnd_; }
    void Detach() { hwnd_ = nullptr; }

protected:
    HWND hwnd_;
    std::string name_;
    // The text is kept here as well, so a control whose window has gone still answers it.
    std::string text_;
};

class Win32Label final : public Win32Control, public ILabel {
public:
    using Win32Control::Win32Control;
};

class Win32PushButton final : public Win32Control, public IPushButton {
public:
    Win32PushButton(HWND hwnd, std::string name, int id) : Win32Control(hwnd, std::move(name)), id_(id) {}
    void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
    void SetDefault(bool isDefault) override;
    int id() const { return id_; }
    void Clicked() {
        if (onClick_) {
            onClick_();
        }
    }

private:
    int id_;
    std::function<void()> onClick_;
};

class Win32Window final : public IWindow {
public:
    Win32Window(Win32UiToolkit& ui, std::string name, HWND hwnd);
    ~Win32Window() override;

    std::string Name() const override { return name_; }
    void SetTitle(const std::string& title) override;
    std::string Title() const override;
    ILabel& AddLabel(const std::string& name, const TwipsRect& where,
                     const std::string& caption) override;
    IPushButton& AddPushButton(const std::string& name, const TwipsRect& where,
                               const std::string& caption) override;
    void Show() override;
    void Hide() override;
    bool Visible() const override;
    void Unload() override;
    bool Loaded() const override { return hwnd_ != nullptr; }
    void SetOnUnload(std::function<void()> handler) override { onUnload_ = std::move(handler); }

    HWND hwnd() const { return hwnd_; }
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

private:
    HWND CreateChild(const wchar_t* className, DWORD style, const TwipsRect& where,
                     const std::string& caption, int id);

    Win32UiToolkit& ui_;
    std::string name_;
    std::string title_;
    HWND hwnd_;
    std::function<void()> onUnload_;
    std::vector<std::unique_ptr<Win32Label>> labels_;
    std::vector<std::unique_ptr<Win32PushButton>> buttons_;
    int nextId_ = 1000;
    bool shownOnce_ = false;
};

class Win32UiToolkit final : public IUiToolkit {
public:
    explicit Win32UiToolkit(IApplication& application);
    ~Win32UiToolkit() override;
    Win32UiToolkit(const Win32UiToolkit&) = delete;
    Win32UiToolkit& operator=(const Win32UiToolkit&) = delete;

    std::unique_ptr<IWindow> CreateTopWindow(const std::string& name, const std::string& title,
                                             int widthTwips, int heightTwips) override;
    MessageAnswer ShowMessage(const std::string& text, const std::string& title,
                              MessageButtons buttons, MessageIcon icon) override;
    bool HasPendingInput() override;
    void ProcessPendingEvents() override;
    void WaitForEvents(std::uint32_t milliseconds) override;
    void RunUntilAllWindowsClosed() override;

    int TwipsToPixelsX(int twips) const { return MulDiv(twips, dpiX_, 1440); }
    int TwipsToPixelsY(int twips) const { return MulDiv(twips, dpiY_, 1440); }
    HFONT font() const { return font_; }

private:
    friend class Win32Window;
    void WindowCreated() { ++liveWindows_; }
    void WindowDestroyed();
    // Dispatches one message, giving our windows' keyboard navigation its turn first.
    void Dispatch(MSG& msg);

    IApplication& application_;
    HINSTANCE instance_;
    HFONT font_ = nullptr;
    int dpiX_ = 96;
    int dpiY_ = 96;
    int liveWindows_ = 0;
};

}  // namespace kestrum::win32
