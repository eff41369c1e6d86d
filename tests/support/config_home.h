#pragma once

// A private settings folder for a test program: QSettings fixes its folders on first use, so it
// must be in place before any test runs. Register it with AddGlobalTestEnvironment.

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace velmora::test {

class ConfigHome : public ::testing::Environment {
public:
    void SetUp() override {
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        setenv("XDG_CONFIG_HOME", folder_->path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override { folder_.reset(); }

    static QString Path() { return QString::fromLocal8Bit(std::getenv("XDG_CONFIG_HOME")); }

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

}  // namespace velmora::test
