#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/ui/Win32UiToolkit.h"

namespace kestrum::win32 {

// Every service on the real system, for the whole process.
class Win32Platform {
  public:
    Win32Platform() : ui_(application_) {}
    Platform services() {
        return Platform{application_, system_, settings_, files_, clock_,
                        ui_,          shell_,  registry_, power_, mail_, locale_};
    }

  private:
    Win32Application application_;
    Win32SystemInfo system_;
    Win32SettingsStore settings_;
    Win32FileSystem files_;
    Win32Clock clock_;
    Win32UiToolkit ui_;
    Win32Shell shell_;
    Win32Registry registry_;
    Win32Power power_;
    Win32Mail mail_;
    Win32Locale locale_;
};

}  // namespace kestrum::win32
