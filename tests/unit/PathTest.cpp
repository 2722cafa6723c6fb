#include <gtest/gtest.h>

#include "common/Path.h"

namespace kestrum {
namespace {

TEST(PathTest, SeparatorsAndJoinsKeepAnEmptyLocationEmpty) {
    // Path, with a trailing separator, without one, joined with "temp".
    const char* const cases[][4] = {
        {"", "", "", ""},
        {"c:\\windows", "c:\\windows\\", "c:\\windows", "c:\\windows\\temp"},
        {"c:\\windows\\", "c:\\windows\\", "c:\\windows", "c:\\windows\\temp"},
        {"c:\\", "c:\\", "c:", "c:\\temp"},
        {"c:\\x\\\\", "c:\\x\\\\", "c:\\x", "c:\\x\\\\temp"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithTrailingSeparator(c[0]), c[1]) << c[0];
        EXPECT_EQ(WithoutTrailingSeparator(c[0]), c[2]) << c[0];
        EXPECT_EQ(JoinPath(c[0], "temp"), c[3]) << c[0];
    }
}

}  // namespace
}  // namespace kestrum
