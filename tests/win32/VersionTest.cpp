// Run once per Windows family: the sandbox prefix is chosen by KESTRUM_WINDOWS_VERSION.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fakes/FakeSystem.h"
#include "platform/win32/Win32Services.h"
#include "startup/KestrumModule.h"
#include "startup/Startup.h"
#include "fakes/FakePlatform.h"

namespace kestrum {
namespace {

TEST(WindowsFamily, DetectedFromTheVersionRecord) {
    const char* version = std::getenv("KESTRUM_WINDOWS_VERSION");
    ASSERT_NE(version, nullptr) << "the test needs to know the prefix's Windows version";

    fakes::FakePlatform fake;
    win32::Win32SystemInfo system;
    Platform services = fake.services();
    Platform real{services.application, system, services.settings, services.files, services.clock,
                  services.ui, services.shell, services.registry, services.power};
    KestrumModule module(real);

    const bool nt = DetectWindowsNT(module);
    const std::string v = version;
    if (v == "winxp") {
        EXPECT_TRUE(nt);
        EXPECT_EQ(module.Startup.WindowsBuild, 2600);
    } else if (v == "win2k") {
        EXPECT_TRUE(nt);
        EXPECT_EQ(module.Startup.WindowsBuild, 2195);
    } else if (v == "win98") {
        EXPECT_FALSE(nt);
        EXPECT_EQ(module.Startup.WindowsBuild, 0);
    } else {
        FAIL() << "unknown version " << v;
    }

    EXPECT_FALSE(win32::QueryVersion(276)) << "the wide record is not the form asked for";
}

}  // namespace
}  // namespace kestrum
