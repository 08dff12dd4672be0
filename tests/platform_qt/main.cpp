// One offscreen application for every test. Started with
// --construct-application-only, the program instead makes a plain
// application object the way the program's entry point does, so a test can
// watch what happens without a display.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/testing.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--construct-application-only") == 0) {
    talvor::platform::TApplication application;
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  auto application = talvor::platform::testing::CreateTestApplication();
  return RUN_ALL_TESTS();
}
