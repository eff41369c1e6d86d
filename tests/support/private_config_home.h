#pragma once

// A private settings folder: XDG_CONFIG_HOME names a new temporary folder while this lives.
// QSettings fixes its folders on first use, so it must be in place before anything reads a
// setting.

#include <QString>
#include <QTemporaryDir>
#include <cstdlib>

namespace velmora::test {

class PrivateConfigHome {
public:
    PrivateConfigHome() {
        if (folder_.isValid()) {
            setenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit().constData(), 1);
        }
    }
    PrivateConfigHome(const PrivateConfigHome&) = delete;
    PrivateConfigHome& operator=(const PrivateConfigHome&) = delete;

    bool IsValid() const { return folder_.isValid(); }
    QString Path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
};

}  // namespace velmora::test
