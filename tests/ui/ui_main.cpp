#include <gtest/gtest.h>

#include "platform/testing.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  auto application = talvor::platform::testing::CreateTestApplication();
  return RUN_ALL_TESTS();
}
