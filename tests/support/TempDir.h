#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::test {

// Writes `bytes` over the file at `path` (creating its folder); returns the path.
inline QString writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return path;
}

inline QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces `from`, which the file must hold, by `to`.
inline void replaceInFile(const QString& path, const QByteArray& from, const QByteArray& to) {
    QByteArray bytes = readFile(path);
    ASSERT_TRUE(bytes.contains(from)) << path.toStdString() << " lacks " << from.constData();
    writeFile(path, bytes.replace(from, to));
}

// A scratch folder removed when the test ends, with helpers to drop files in it.
class TempDir {
public:
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const { return writeFile(file(name), bytes); }
    QByteArray read(const QString& name) const { return readFile(file(name)); }

private:
    QTemporaryDir m_dir;
};

} // namespace velmora::test
