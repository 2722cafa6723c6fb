#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Power.h"

namespace kestrum::fakes {

// A power service that never ends anything: it records what it was asked and refuses where a
// test says, with failureCode as the system's error.
class FakePower final : public IPower {
public:
    std::optional<PrivilegeStep> refusingStep;
    bool exitAccepted = true;
    std::uint32_t failureCode = 5;
    std::map<std::uint32_t, std::string> messages{{5, "Access is denied.\r\n"}};

    int privilegeRequests = 0;
    std::vector<std::uint32_t> exits;

    std::optional<PrivilegeRefusal> EnableShutdownPrivilege() override {
        ++privilegeRequests;
        if (refusingStep) {
            return PrivilegeRefusal{*refusingStep, failureCode};
        }
        return std::nullopt;
    }
    std::optional<std::uint32_t> EndSession(std::uint32_t flags) override {
        exits.push_back(flags);
        return exitAccepted ? std::nullopt : std::optional<std::uint32_t>(failureCode);
    }
    std::string SystemMessage(std::uint32_t code) override {
        const auto it = messages.find(code);
        return it != messages.end() ? it->second : std::string();
    }
};

}  // namespace kestrum::fakes
