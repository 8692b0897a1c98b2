// A GoogleTest fixture whose tests share one started Kelvaro: the program starts
// before the suite's first test and must end with exit code 0 after its last.
#pragma once

#include <gtest/gtest.h>

#include "kelvaro_session.h"

namespace kelvaro::driver {

class KelvaroSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        session_ = new KelvaroSession;
        ASSERT_TRUE(session_->start()) << "Kelvaro's window did not appear: " << kelvaroProgram();
    }
    static void TearDownTestSuite() {
        DWORD code = 1;
        EXPECT_TRUE(session_->close(&code));
        EXPECT_EQ(code, 0u);
        delete session_;
        session_ = nullptr;
    }

    HWND window() const { return session_->window(); }
    HWND control(int id) const { return session_->control(id); }

    // One per test program: inline, so each suite's program has its own.
    static inline KelvaroSession* session_ = nullptr;
};

}  // namespace kelvaro::driver
