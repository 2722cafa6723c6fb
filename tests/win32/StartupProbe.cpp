// Start-up state of a real executable wherever a test copies it; the expectations come from the
// environment the test sets.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32/Win32Platform.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"

namespace kestrum {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

TEST(StartupLocation, CommandListPathAndList) {
    const std::string command = Env("KESTRUM_EXPECT_STARTUP_COMMAND");
    ASSERT_FALSE(command.empty()) << "run through startup-location.sh";

    win32::Win32Platform platform;
    KestrumModule module(platform.services());
    InitializeStartupState(module);
    EXPECT_EQ(module.Startup.StartupCommand, command);
    EXPECT_EQ(module.Startup.ListFilePath, Env("KESTRUM_EXPECT_LIST_PATH"));

    std::string joined;
    for (int i = 1; i <= module.Options.SelectedFileCount; ++i) {
        joined += module.Options.SelectedFiles[static_cast<std::size_t>(i)] + "|";
    }
    EXPECT_EQ(joined, Env("KESTRUM_EXPECT_ENTRIES"));
}

}  // namespace
}  // namespace kestrum
