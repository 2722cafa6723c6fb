// The smallest GUI program Wine can start: it shows one message box and ends when it is closed.
// The reference of bench/options.sh, timed by kestrum-window-timer.exe like Kestrum.exe.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MessageBoxW(nullptr, L"Kestrum benchmark reference", L" Kestrum Reference", MB_OK);
    return 0;
}
