#include "engine/Completion.h"

#include "common/Text.h"
#include "engine/RunDriver.h"
#include "registry/RegistryModule.h"
#include "startup/KestrumModule.h"

namespace kestrum {

namespace {

constexpr char kShutdownPrivilege[] = "SeShutdownPrivilege";
// TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
constexpr std::uint32_t kTokenAccess = 0x28;
constexpr std::uint32_t kExitReserved = 0xFFFFFFFF;
constexpr std::size_t kMessageBufferChars = 255;

void RaiseError(KestrumModule& module, std::uint32_t number, std::string text) {
    module.LastError = ErrorRecord{number, module.platform.application.ExecutableName() + ".mShutDown",
                                   std::move(text)};
}

bool IsErrorText(const RegistryRead& result) {
    const auto* text = std::get_if<std::string>(&result);
    return text != nullptr && text->rfind("Error", 0) == 0;
}

bool HoldsCommand(const RegistryRead& result, const std::string& command) {
    const auto* text = std::get_if<std::string>(&result);
    return text != nullptr && ToLowerAscii(WithoutTerminator(*text)) == ToLowerAscii(command);
}

// Makes sure the program runs once more, silently, at the next start of Windows.
void ArrangeNextStartupRun(KestrumModule& module) {
    RegistryModule& registry = module.Registry;
    const std::string key = StartupKeyPath(module);
    const std::string& command = module.StartupCommand;

    RegistryHive foundIn = RegistryHive::LocalMachine;
    RegistryRead stored = registry.GetRegistryValue(foundIn, key, kStartupValueName);
    if (IsErrorText(stored)) {
        foundIn = RegistryHive::CurrentUser;
        stored = registry.GetRegistryValue(foundIn, key, kStartupValueName);
    }
    if (HoldsCommand(stored, command)) {
        // The start-up option is saved; on the NT family it belongs to the user.
        if (foundIn == RegistryHive::LocalMachine && module.IsWindowsNT) {
            registry.DeleteRegistryValue(RegistryHive::LocalMachine, key, kStartupValueName);
            registry.SetRegistryValue(RegistryHive::CurrentUser, key, kStartupValueName,
                                      regtype::kText, command);
        }
        return;
    }
    const RegistryHive onceHive =
        module.IsWindowsNT ? RegistryHive::CurrentUser : RegistryHive::LocalMachine;
    registry.SetRegistryValue(onceHive, key + "once", kStartupValueName, regtype::kText, command);
}

}  // namespace

std::string StartupKeyPath(const KestrumModule& module) {
    return module.IsWindowsNT ? "software\\microsoft\\windows\\currentversion\\run"
                              : "software\\microsoft\\windows\\currentversion\\runservices";
}

void CompleteRun(KestrumModule& module) {
    IUiToolkit& ui = module.platform.ui;
    if (!module.RebootAdvised) {
        ui.ShowMessage(kCompletedMessage, kRunTitle, MessageButtons::Ok, MessageIcon::None);
        return;
    }
    if (ui.ShowMessage(kRebootQuestion, kRebootTitle, MessageButtons::YesNo, MessageIcon::Question) !=
        MessageAnswer::Yes) {
        return;
    }
    ArrangeNextStartupRun(module);
    ShutdownSystem(module, kRebootFlags);
}

bool ShutdownSystem(KestrumModule& module, std::int32_t flags) {
    if (flags < 0 || flags > 31) {
        RaiseError(module, shutdown_error::kInvalidFlags,
                   "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
        return false;
    }
    if (module.IsWindowsNT && !EnableShutdownPrivilege(module)) {
        return false;
    }
    IPower& power = module.platform.power;
    if (power.EndSession(static_cast<std::uint32_t>(flags), kExitReserved)) {
        return true;
    }
    RaiseError(module, shutdown_error::kFailed,
               "ShutdownSystem failed: " + SystemErrorText(module, power.LastError()));
    return false;
}

bool EnableShutdownPrivilege(KestrumModule& module) {
    IPower& power = module.platform.power;
    const auto reason = [&] {
        std::string text(1, '[');
        text += SystemErrorText(module, power.LastError());
        text += ']';
        return text;
    };

    const auto privilege = power.LookupPrivilege(kShutdownPrivilege);
    if (!privilege) {
        RaiseError(module, shutdown_error::kNoPrivilegeValue,
                   "Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. " + reason());
        return false;
    }
    const std::uintptr_t process = power.CurrentProcess();
    if (process == 0) {
        RaiseError(module, shutdown_error::kNoProcess,
                   "Can't enable shutdown: Can't determine the current process. " + reason());
        return false;
    }
    const std::string notPermitted =
        "Can't enable shutdown: You do not have the privileges to shutdown this system. ";
    const auto token = power.OpenProcessToken(process, kTokenAccess);
    if (!token) {
        RaiseError(module, shutdown_error::kNotPermitted, notPermitted + reason());
        return false;
    }
    if (!token->EnablePrivilege(*privilege)) {
        RaiseError(module, shutdown_error::kNotPermitted, notPermitted + reason());
        return false;
    }
    return true;
}

std::string SystemErrorText(KestrumModule& module, std::uint32_t code) {
    return module.platform.power.SystemMessage(code, kMessageBufferChars);
}

}  // namespace kestrum
