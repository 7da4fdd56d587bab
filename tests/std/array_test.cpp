#include "qor_core/qor_core.h"
#include <gtest/gtest.h>
TEST(Array, Smoke) { qstd::tArray<char> a; a.append('x'); EXPECT_EQ(1u, a.length()); }
