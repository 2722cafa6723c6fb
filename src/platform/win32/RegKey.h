#pragma once

#include <windows.h>

namespace kestrum::win32 {

// An open registry key, closed on every path out of its scope.
class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            key_ = other.key_;
            other.key_ = nullptr;
        }
        return *this;
    }

    HKEY get() const { return key_; }
    HKEY* receive() {
        Close();
        return &key_;
    }
    explicit operator bool() const { return key_ != nullptr; }

private:
    void Close() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
    }
    HKEY key_ = nullptr;
};

}  // namespace kestrum::win32
