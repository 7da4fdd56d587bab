#include "qor_core/qor_core.h"
#include <gtest/gtest.h>
TEST(String, Smoke) { qucs::cString s("abc"); EXPECT_EQ(3u, s.length()); }
