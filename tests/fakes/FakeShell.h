#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace kestrum::fakes {

// Records what was asked of the shell.
class FakeShell final : public IShell {
public:
    bool EmptyRecycleBin(std::uint32_t flags) override {
        recycleBinFlags.push_back(flags);
        return true;
    }
    bool StartHidden(const std::string& program, const std::string& commandLine) override {
        started.push_back(program + "|" + commandLine);
        return true;
    }

    std::vector<std::uint32_t> recycleBinFlags;
    std::vector<std::string> started;  // "program|command line"
};

}  // namespace kestrum::fakes
