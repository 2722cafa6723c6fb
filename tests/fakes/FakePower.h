#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Power.h"

namespace kestrum::fakes {

// A power service that never ends anything: it records what it was asked and fails where a test
// says, leaving failureCode as the last error.
class FakePower final : public IPower {
public:
    static constexpr std::uint64_t kShutdownLuid = 0x13;
    static constexpr std::uintptr_t kProcessHandle = ~std::uintptr_t{0};

    bool privilegeKnown = true;
    bool processKnown = true;
    bool tokenOpens = true;
    bool privilegeEnables = true;
    bool exitAccepted = true;
    std::uint32_t failureCode = 5;
    std::map<std::uint32_t, std::string> messages{{5, "Access is denied.\r\n"}};

    std::vector<std::string> privilegeLookups;
    std::uint32_t tokenAccess = 0;
    std::uintptr_t tokenProcess = 0;
    std::vector<std::uint64_t> enabled;
    int openTokens = 0;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> exits;  // flags, reserved
    std::vector<std::size_t> messageBuffers;

    std::optional<std::uint64_t> LookupPrivilege(const std::string& name) override {
        privilegeLookups.push_back(name);
        return Result(privilegeKnown, std::optional<std::uint64_t>(kShutdownLuid));
    }
    std::uintptr_t CurrentProcess() override { return Result(processKnown, kProcessHandle); }
    std::unique_ptr<IAccessToken> OpenProcessToken(std::uintptr_t process,
                                                   std::uint32_t access) override {
        tokenAccess = access;
        tokenProcess = process;
        if (!tokenOpens) {
            lastError_ = failureCode;
            return nullptr;
        }
        return std::make_unique<Token>(*this);
    }
    bool EndSession(std::uint32_t flags, std::uint32_t reserved) override {
        exits.emplace_back(flags, reserved);
        return Result(exitAccepted, true);
    }
    std::uint32_t LastError() override { return lastError_; }
    std::string SystemMessage(std::uint32_t code, std::size_t bufferChars) override {
        messageBuffers.push_back(bufferChars);
        const auto it = messages.find(code);
        return it != messages.end() ? it->second : std::string();
    }

private:
    class Token final : public IAccessToken {
    public:
        explicit Token(FakePower& power) : power_(power) { ++power_.openTokens; }
        ~Token() override { --power_.openTokens; }
        Token(const Token&) = delete;
        Token& operator=(const Token&) = delete;
        bool EnablePrivilege(std::uint64_t privilege) override {
            power_.enabled.push_back(privilege);
            return power_.Result(power_.privilegeEnables, true);
        }

    private:
        FakePower& power_;
    };

    template <typename T>
    T Result(bool succeeds, T success) {
        if (succeeds) {
            lastError_ = 0;
            return success;
        }
        lastError_ = failureCode;
        return T{};
    }

    std::uint32_t lastError_ = 0;
};

}  // namespace kestrum::fakes
