#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/Window.h"

namespace kestrum {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The screen in twips. Twips per pixel is the integer 1440 / dpi, and every measure of the
// program goes to pixels and back through these two conversions only.
struct ScreenMetrics {
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
    // The desktop without the task bar.
    TwipsRect workArea;

    int PixelsX(int twips) const { return ToPixels(twips, twipsPerPixelX); }
    int PixelsY(int twips) const { return ToPixels(twips, twipsPerPixelY); }
    int TwipsX(int pixels) const { return pixels * twipsPerPixelX; }
    int TwipsY(int pixels) const { return pixels * twipsPerPixelY; }

  private:
    // To the nearest pixel, halves away from zero.
    static int ToPixels(int twips, int perPixel) {
        const int half = perPixel / 2;
        return twips >= 0 ? (twips + half) / perPixel : -((-twips + half) / perPixel);
    }
};

// A dialog's frame with its caption, or none at all: the window is then exactly its client area.
enum class WindowFrame { Dialog, None };

// The windowing system: windows, message boxes and the event queue of the one GUI thread.
class IUiToolkit {
  public:
    virtual ~IUiToolkit() = default;

    // The window exists but is hidden until Show(); the size is its client area, centred on
    // the work area. A window the system could not create answers Loaded() false.
    virtual std::unique_ptr<IWindow> CreateTopWindow(const std::string& name,
                                                     const std::string& title, int widthTwips,
                                                     int heightTwips,
                                                     WindowFrame frame = WindowFrame::Dialog) = 0;
    virtual ScreenMetrics Screen() const = 0;
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
