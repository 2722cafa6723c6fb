#pragma once

#include <string>
#include <vector>

#include "fakes/FakeFileSystem.h"
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

    // Writes "target|arguments" as the link's bytes, into a folder that must exist.
    bool CreateShellLink(const std::string& linkPath, const std::string& target,
                         const std::string& arguments) override {
        links.push_back(linkPath + "|" + target + "|" + arguments);
        const std::size_t slash = linkPath.rfind('\\');
        if (linksFail || files == nullptr || slash == std::string::npos) {
            return false;
        }
        const auto folder = files->Attributes(linkPath.substr(0, slash));
        if (!folder || (*folder & attr::kDirectory) == 0) {
            return false;
        }
        files->AddFile(linkPath, target + "|" + arguments);
        return true;
    }

    FakeFileSystem* files = nullptr;
    bool linksFail = false;
    std::vector<std::string> links;  // "link path|target|arguments"
    std::vector<std::uint32_t> recycleBinFlags;
    std::vector<std::string> started;  // "program|command line"
};

}  // namespace kestrum::fakes
