#include <windows.h>

#include "platform/win32/Win32Platform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    kestrum::win32::Win32Platform platform;
    kestrum::KestrumModule module(platform.services());
    if (kestrum::Main(module) == kestrum::StartupOutcome::WindowShown) {
        platform.services().ui.RunUntilAllWindowsClosed();
    }
    return 0;
}
