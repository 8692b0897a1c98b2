// The entry of every driver test program: GoogleTest takes its flags, the rest
// (the program under test, the artifact folder) stay for argument().
#include <gtest/gtest.h>

#include "gui_driver.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    kelvaro::driver::setArguments(argc, argv);
    return RUN_ALL_TESTS();
}
