#include "platform/win32/Win32Services.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/win32/UniqueHandle.h"
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
void** ReceiveVoid(ComPtr<T>& pointer) {
    return reinterpret_cast<void**>(pointer.receive());
}

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
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : wideTarget.substr(0, slash);

    ComScope com;
    if (!com.usable()) {
        return false;
    }
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                ReceiveVoid(link)))) {
        return false;
    }
    if (FAILED(link.get()->SetPath(wideTarget.c_str())) ||
        FAILED(link.get()->SetArguments(Utf8ToWide(arguments).c_str())) ||
        FAILED(link.get()->SetWorkingDirectory(folder.c_str())) ||
        FAILED(link.get()->SetIconLocation(wideTarget.c_str(), 0))) {
        return false;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link.get()->QueryInterface(IID_IPersistFile, ReceiveVoid(file)))) {
        return false;
    }
    return SUCCEEDED(file.get()->Save(Utf8ToWide(linkPath).c_str(), TRUE));
}

}  // namespace kestrum::win32
