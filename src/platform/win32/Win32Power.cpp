#include "platform/win32/Win32Services.h"

#include <vector>

#include "platform/win32/WideString.h"

namespace kestrum::win32 {

namespace {

class Win32AccessToken final : public IAccessToken {
public:
    explicit Win32AccessToken(HANDLE token) : token_(token) {}
    ~Win32AccessToken() override { CloseHandle(token_); }
    Win32AccessToken(const Win32AccessToken&) = delete;
    Win32AccessToken& operator=(const Win32AccessToken&) = delete;

    bool EnablePrivilege(std::uint64_t privilege) override {
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Luid.LowPart = static_cast<DWORD>(privilege & 0xFFFFFFFFu);
        wanted.Privileges[0].Luid.HighPart = static_cast<LONG>(privilege >> 32);
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        // The previous state is received into a record of one entry and not used.
        TOKEN_PRIVILEGES previous{};
        DWORD previousSize = sizeof(previous);
        if (!AdjustTokenPrivileges(token_, FALSE, &wanted, sizeof(previous), &previous,
                                   &previousSize)) {
            return false;
        }
        // The call succeeds even when the token lacks the privilege; that is a refusal too.
        return GetLastError() == ERROR_SUCCESS;
    }

private:
    HANDLE token_;
};

}  // namespace

std::optional<std::uint64_t> Win32Power::LookupPrivilege(const std::string& name) {
    LUID luid{};
    if (!LookupPrivilegeValueW(nullptr, Utf8ToWide(name).c_str(), &luid)) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(static_cast<DWORD>(luid.HighPart)) << 32) | luid.LowPart;
}

std::uintptr_t Win32Power::CurrentProcess() {
    return reinterpret_cast<std::uintptr_t>(GetCurrentProcess());
}

std::unique_ptr<IAccessToken> Win32Power::OpenProcessToken(std::uintptr_t process,
                                                           std::uint32_t access) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(reinterpret_cast<HANDLE>(process), access, &token)) {
        return nullptr;
    }
    return std::make_unique<Win32AccessToken>(token);
}

bool Win32Power::EndSession(std::uint32_t flags, std::uint32_t reserved) {
    return ExitWindowsEx(flags, reserved) != FALSE;
}

std::uint32_t Win32Power::LastError() { return GetLastError(); }

std::string Win32Power::SystemMessage(std::uint32_t code, std::size_t bufferChars) {
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, buffer.data(),
                                        static_cast<DWORD>(buffer.size()), nullptr);
    if (length == 0) {
        return std::string();
    }
    return WideToUtf8(std::wstring_view(buffer.data(), length));
}

}  // namespace kestrum::win32
