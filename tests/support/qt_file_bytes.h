#pragma once

// The whole-file reads and writes of file_bytes.h for the Qt tests, on QString paths and
// QByteArray contents.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>
#include <string_view>

#include "tests/support/file_bytes.h"

namespace velmora::test {

// Empty when the file cannot be read.
inline QByteArray FileBytes(const QString& path) {
    return QByteArray::fromStdString(ReadBytes(QFile::encodeName(path).toStdString()));
}

// Fails the running test when the file cannot be written.
inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QVERIFY(
        WriteBytes(QFile::encodeName(path).toStdString(),
                   std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

}  // namespace velmora::test
