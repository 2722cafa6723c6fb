#include "settings/StartupState.h"

namespace kestrum {

std::string CurrentUserName(ISystemInfo& system) {
    return system.UserName().value_or("");
}

}  // namespace kestrum
