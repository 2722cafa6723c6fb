#include "settings/StartupState.h"

namespace kestrum {

namespace {
inline constexpr std::size_t kUserNameBufferChars = 80;
}

std::string CurrentUserName(ISystemInfo& system) {
    return system.UserName(kUserNameBufferChars).value_or("");
}

}  // namespace kestrum
