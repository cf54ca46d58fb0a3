#include "common/copydata_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(CopyDataText, TakesTextUpToTheFirstZeroByte) {
  const char buffer[] = {'C', 'A', 'L', 'L', 'S', '\0', 'x', 'y'};
  EXPECT_EQ(copydata::TextFrom(buffer, sizeof buffer), "CALLS");
}

TEST(CopyDataText, NeverReadsPastTheGivenSize) {
  // No zero byte within the size: only the size's bytes are taken. Under ASan a read past
  // the heap buffer would fail the test.
  std::vector<char> exact = {'G', 'E', 'T'};
  EXPECT_EQ(copydata::TextFrom(exact.data(), exact.size()), "GET");
  EXPECT_EQ(copydata::TextFrom(exact.data(), 2), "GE");
}

TEST(CopyDataText, EmptyOrMissingBufferIsEmptyText) {
  EXPECT_EQ(copydata::TextFrom(nullptr, 10), "");
  EXPECT_EQ(copydata::TextFrom("abc", 0), "");
}

TEST(CopyDataText, PayloadCountsTheZeroByte) {
  const auto payload = copydata::PayloadFor("FOCUS");
  ASSERT_EQ(payload.size(), 6u);
  EXPECT_EQ(std::string(payload.data()), "FOCUS");
  EXPECT_EQ(payload.back(), '\0');
  EXPECT_EQ(copydata::PayloadFor("").size(), 1u);
}
