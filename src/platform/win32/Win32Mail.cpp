#include "platform/win32/Win32Services.h"

#include <mapi.h>

#include <vector>

namespace kestrum::win32 {

namespace {

// Simple MAPI takes text in the system's ANSI code page.
std::string ToAnsi(const std::string& utf8) {
    const int wideLength =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        wideLength);
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLength, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

}  // namespace

HMODULE Win32Mail::Library() {
    if (!tried_) {
        tried_ = true;
        library_.reset(LoadLibraryW(L"mapi32.dll"));
    }
    return library_.get();
}

template <typename Fn>
Fn Win32Mail::Function(const char* name) {
    HMODULE library = Library();
    FARPROC found = library != nullptr ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(found));
}

std::uint64_t Win32Mail::SignOn() {
    const auto logon = Function<LPMAPILOGON>("MAPILogon");
    LHANDLE session = 0;
    if (logon == nullptr ||
        logon(0, nullptr, nullptr, MAPI_LOGON_UI, 0, &session) != SUCCESS_SUCCESS) {
        return 0;
    }
    return static_cast<std::uint64_t>(session);
}

bool Win32Mail::SendWithDialog(std::uint64_t session, const std::string& to,
                               const std::string& subject) {
    const auto send = Function<LPMAPISENDMAIL>("MAPISendMail");
    if (send == nullptr || session == 0) {
        return false;
    }
    std::string address = "SMTP:" + ToAnsi(to);
    std::string name = ToAnsi(to);
    std::string title = ToAnsi(subject);
    MapiRecipDesc recipient{};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = name.data();
    recipient.lpszAddress = address.data();
    MapiMessage message{};
    message.lpszSubject = title.data();
    message.nRecipCount = 1;
    message.lpRecips = &recipient;
    return send(static_cast<LHANDLE>(session), 0, &message, MAPI_DIALOG, 0) == SUCCESS_SUCCESS;
}

void Win32Mail::SignOff(std::uint64_t session) {
    const auto logoff = Function<LPMAPILOGOFF>("MAPILogoff");
    if (logoff != nullptr && session != 0) {
        logoff(static_cast<LHANDLE>(session), 0, 0, 0);
    }
}

}  // namespace kestrum::win32
