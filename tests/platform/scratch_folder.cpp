#include "scratch_folder.h"

#include <gtest/gtest.h>

namespace kelvaro::testing {

ScratchFolder::ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        if (c == '/') c = '_';  // parameterised tests
    }
    const std::string root = programFolder() + "\\scratch";
    CreateDirectoryA(root.c_str(), nullptr);
    path_ = root + "\\" + name;
    removeTree(path_);
    if (!CreateDirectoryA(path_.c_str(), nullptr)) {
        ADD_FAILURE() << "cannot create " << path_ << ", error " << GetLastError();
    }
}

ScratchFolder::~ScratchFolder() {
    if (!::testing::Test::HasFailure()) removeTree(path_);
}

}  // namespace kelvaro::testing
