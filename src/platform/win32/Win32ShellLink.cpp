#include "platform/win32/Win32Services.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/WideString.h"

namespace kestrum::win32 {

namespace {

// COM for the calling thread for as long as the scope lasts; a thread already set up in another
// mode keeps it.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_ != nullptr) {
            p_->Release();
        }
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return p_; }
    T** receive() { return &p_; }
    void** receiveVoid() { return reinterpret_cast<void**>(&p_); }

private:
    T* p_ = nullptr;
};

}  // namespace

bool Win32Shell::CreateShellLink(const std::string& linkPath, const std::string& target,
                                 const std::string& arguments) {
    // A NUL would silently cut a text short and name another file or program.
    for (const std::string* text : {&linkPath, &target, &arguments}) {
        if (text->find('\0') != std::string::npos) {
            return false;
        }
    }
    const std::wstring wideTarget = Utf8ToWide(target);
    const std::size_t slash = wideTarget.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : wideTarget.substr(0, slash);

    ComScope com;
    if (!com.usable()) {
        return false;
    }
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.receiveVoid()))) {
        return false;
    }
    if (FAILED(link->SetPath(wideTarget.c_str())) ||
        FAILED(link->SetArguments(Utf8ToWide(arguments).c_str())) ||
        FAILED(link->SetWorkingDirectory(folder.c_str())) ||
        FAILED(link->SetIconLocation(wideTarget.c_str(), 0))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receiveVoid()))) {
        return false;
    }
    return SUCCEEDED(file->Save(Utf8ToWide(linkPath).c_str(), TRUE));
}

}  // namespace kestrum::win32
