#pragma once

// A private settings folder for a GoogleTest program, in place before any test runs. Register
// it with AddGlobalTestEnvironment.

#include <gtest/gtest.h>

#include <QString>
#include <cstdlib>
#include <memory>

#include "tests/support/private_config_home.h"

namespace velmora::test {

class ConfigHome : public ::testing::Environment {
public:
    void SetUp() override {
        home_ = std::make_unique<PrivateConfigHome>();
        ASSERT_TRUE(home_->IsValid());
    }
    void TearDown() override { home_.reset(); }

    static QString Path() { return QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME")); }

private:
    std::unique_ptr<PrivateConfigHome> home_;
};

}  // namespace velmora::test
