#include <gtest/gtest.h>

#include "common/Path.h"

namespace kestrum {
namespace {

TEST(PathTest, SeparatorsAndJoinsKeepAnEmptyLocationEmpty) {
    struct Case {
        const char* path;
        const char* with;
        const char* without;
        const char* joined;
    };
    const Case cases[] = {
        {"", "", "", ""},
        {"c:\\windows", "c:\\windows\\", "c:\\windows", "c:\\windows\\temp"},
        {"c:\\windows\\", "c:\\windows\\", "c:\\windows", "c:\\windows\\temp"},
        {"c:\\", "c:\\", "c:", "c:\\temp"},
        {"c:\\x\\\\", "c:\\x\\\\", "c:\\x", "c:\\x\\\\temp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WithTrailingSeparator(c.path), c.with);
        EXPECT_EQ(WithoutTrailingSeparator(c.path), c.without);
        EXPECT_EQ(JoinPath(c.path, "temp"), c.joined);
    }
}

}  // namespace
}  // namespace kestrum
