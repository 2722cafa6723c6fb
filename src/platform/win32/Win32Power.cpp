#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideString.h"
#include "platform/win32/Win32Services.h"

namespace kestrum::win32 {

namespace {

// Anything else but "none" asks for the system's own reserved reason code.
constexpr DWORD kExitReserved = 0xFFFFFFFF;
constexpr DWORD kMessageBufferChars = 255;

PrivilegeRefusal Refusal(PrivilegeStep step) {
    return {step, GetLastError()};
}

}  // namespace

std::optional<PrivilegeRefusal> Win32Power::EnableShutdownPrivilege() {
    LUID luid{};
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid)) {
        return Refusal(PrivilegeStep::Lookup);
    }
    const HANDLE process = GetCurrentProcess();
    if (process == nullptr) {
        return Refusal(PrivilegeStep::Process);
    }
    KernelHandle token;
    if (!OpenProcessToken(process, kShutdownTokenAccess, token.receive())) {
        return Refusal(PrivilegeStep::OpenToken);
    }
    TOKEN_PRIVILEGES wanted{};
    wanted.PrivilegeCount = 1;
    wanted.Privileges[0].Luid = luid;
    wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // The previous state is received into a record of one entry (16 bytes) and not used.
    TOKEN_PRIVILEGES previous{};
    DWORD previousSize = sizeof(previous);
    // The call succeeds even when the token lacks the privilege; that is a refusal too.
    if (!AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof(previous), &previous,
                               &previousSize) ||
        GetLastError() != ERROR_SUCCESS) {
        return Refusal(PrivilegeStep::Enable);
    }
    return std::nullopt;
}

std::optional<std::uint32_t> Win32Power::EndSession(std::uint32_t flags) {
    if (ExitWindowsEx(flags, kExitReserved)) {
        return std::nullopt;
    }
    return GetLastError();
}

std::string Win32Power::SystemMessage(std::uint32_t code) {
    wchar_t buffer[kMessageBufferChars] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, buffer, kMessageBufferChars, nullptr);
    return WideToUtf8(std::wstring_view(buffer, length));
}

}  // namespace kestrum::win32
