#include "engine/Completion.h"

#include "common/Text.h"
#include "engine/RunContext.h"
#include "engine/RunDriver.h"
#include "registry/RegistryModule.h"

namespace kestrum {

namespace {

ShutdownOutcome Refused(RunContext& ctx, std::uint32_t number, std::string text) {
    return {false, ErrorRecord{number, ctx.platform.application.ExecutableName() + ".mShutDown",
                               std::move(text)}};
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
void ArrangeNextStartupRun(RunContext& ctx) {
    RegistryModule& registry = ctx.Registry;
    const std::string key = StartupKeyPath(ctx);
    const std::string& command = ctx.Startup.StartupCommand;

    RegistryHive foundIn = RegistryHive::LocalMachine;
    RegistryRead stored = registry.GetRegistryValue(foundIn, key, kStartupValueName);
    if (IsErrorText(stored)) {
        foundIn = RegistryHive::CurrentUser;
        stored = registry.GetRegistryValue(foundIn, key, kStartupValueName);
    }
    if (HoldsCommand(stored, command)) {
        // The start-up option is saved; on the NT family it belongs to the user.
        if (foundIn == RegistryHive::LocalMachine && ctx.Startup.IsWindowsNT) {
            registry.DeleteRegistryValue(RegistryHive::LocalMachine, key, kStartupValueName);
            registry.SetRegistryValue(RegistryHive::CurrentUser, key, kStartupValueName,
                                      regtype::kText, command);
        }
        return;
    }
    const RegistryHive onceHive =
        ctx.Startup.IsWindowsNT ? RegistryHive::CurrentUser : RegistryHive::LocalMachine;
    registry.SetRegistryValue(onceHive, key + "once", kStartupValueName, regtype::kText, command);
}

}  // namespace

std::string StartupKeyPath(const RunContext& ctx) {
    return ctx.Startup.IsWindowsNT ? "software\\microsoft\\windows\\currentversion\\run"
                                   : "software\\microsoft\\windows\\currentversion\\runservices";
}

void CompleteRun(RunContext& ctx) {
    IUiToolkit& ui = ctx.platform.ui;
    if (!ctx.Run.RebootAdvised) {
        ui.ShowMessage(kCompletedMessage, kRunTitle, MessageButtons::Ok, MessageIcon::None);
        return;
    }
    if (ui.ShowMessage(kRebootQuestion, kRebootTitle, MessageButtons::YesNo,
                       MessageIcon::Question) != MessageAnswer::Yes) {
        return;
    }
    ArrangeNextStartupRun(ctx);
    if (const ShutdownOutcome outcome = ShutdownSystem(ctx, kRebootFlags);
        !outcome.ok && outcome.error) {
        // Unsaid, a refusal would leave the user waiting for a restart that never comes; the
        // run arranged for the next start still happens whenever Windows restarts.
        ui.ShowMessage(outcome.error->text, kRebootTitle, MessageButtons::Ok,
                       MessageIcon::Exclamation);
    }
}

ShutdownOutcome ShutdownSystem(RunContext& ctx, std::int32_t flags) {
    if (flags < 0 || flags > 31) {
        return Refused(ctx, shutdown_error::kInvalidFlags,
                       "Invalid parameter to ShutdownSystem: " + std::to_string(flags));
    }
    if (ctx.Startup.IsWindowsNT) {
        if (ShutdownOutcome privilege = EnableShutdownPrivilege(ctx); !privilege.ok) {
            return privilege;
        }
    }
    const std::optional<std::uint32_t> refused =
        ctx.platform.power.EndSession(static_cast<std::uint32_t>(flags));
    if (!refused) {
        return {true, std::nullopt};
    }
    return Refused(ctx, shutdown_error::kFailed,
                   "ShutdownSystem failed: " + SystemErrorText(ctx, *refused));
}

ShutdownOutcome EnableShutdownPrivilege(RunContext& ctx) {
    const std::optional<PrivilegeRefusal> refusal = ctx.platform.power.EnableShutdownPrivilege();
    if (!refusal) {
        return {true, std::nullopt};
    }
    // Built by appending: "[" + text trips a false overlap warning of GCC 12's string code.
    std::string reason(1, '[');
    reason += SystemErrorText(ctx, refusal->errorCode);
    reason += ']';
    switch (refusal->step) {
        case PrivilegeStep::Lookup:
            return Refused(
                ctx, shutdown_error::kNoPrivilegeValue,
                "Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. " +
                    reason);
        case PrivilegeStep::Process:
            return Refused(ctx, shutdown_error::kNoProcess,
                           "Can't enable shutdown: Can't determine the current process. " + reason);
        case PrivilegeStep::OpenToken:
        case PrivilegeStep::Enable:
            break;
    }
    return Refused(
        ctx, shutdown_error::kNotPermitted,
        "Can't enable shutdown: You do not have the privileges to shutdown this system. " + reason);
}

std::string SystemErrorText(RunContext& ctx, std::uint32_t code) {
    return ctx.platform.power.SystemMessage(code);
}

}  // namespace kestrum
