#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kestrum {

// Positions and sizes of windows and controls, in twips (1/1440 inch).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class IControl {
public:
    virtual ~IControl() = default;
    virtual std::string Name() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual std::string Text() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};

class ILabel : public virtual IControl {};

class IPushButton : public virtual IControl {
public:
    virtual void SetOnClick(std::function<void()> handler) = 0;
    // The default button answers Enter anywhere in its window.
    virtual void SetDefault(bool isDefault) = 0;
};

// A top-level window and the controls it owns. The controls live as long as the window object.
class IWindow {
public:
    virtual ~IWindow() = default;

    virtual std::string Name() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual std::string Title() const = 0;

    virtual ILabel& AddLabel(const std::string& name, const TwipsRect& where,
                             const std::string& caption) = 0;
    virtual IPushButton& AddPushButton(const std::string& name, const TwipsRect& where,
                                       const std::string& caption) = 0;

    // Not modal: returns at once.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Visible() const = 0;
    // Destroys the window on screen; the object stays and answers Loaded() false. Closing the
    // window by the user unloads it the same way. Unloading twice does nothing.
    virtual void Unload() = 0;
    virtual bool Loaded() const = 0;
    // Runs once, after the window has gone, whether code or the user closed it. The handler must
    // not destroy the window object.
    virtual void SetOnUnload(std::function<void()> handler) = 0;
};

// The windowing system: windows, message boxes and the event queue of the one GUI thread.
class IUiToolkit {
public:
    virtual ~IUiToolkit() = default;

    // The window exists but is hidden until Show().
    virtual std::unique_ptr<IWindow> CreateTopWindow(const std::string& name,
                                                     const std::string& title, int widthTwips,
                                                     int heightTwips) = 0;
    // Modal; answers the button pressed.
    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& title,
                                      MessageButtons buttons, MessageIcon icon) = 0;

    // True when keyboard or mouse input waits for this thread.
    virtual bool HasPendingInput() = 0;
    // Processes every event that is waiting now, then returns.
    virtual void ProcessPendingEvents() = 0;
    // Returns when an event arrives or the time has passed, whichever comes first.
    virtual void WaitForEvents(std::uint32_t milliseconds) = 0;
    // Processes events until no window of the program is loaded any more.
    virtual void RunUntilAllWindowsClosed() = 0;
};

}  // namespace kestrum
