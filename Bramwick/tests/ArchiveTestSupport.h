#pragma once
// Shared helpers of the archive tests: a process-wide QCoreApplication whose settings and data
// folders lie in a temporary place, and small file helpers.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>

namespace archive_test {

// The temporary home of this test process (settings and data folders point inside it).
inline QString testHome() {
    static QTemporaryDir *home = [] {
        auto *dir = new QTemporaryDir();
        const QByteArray path = dir->path().toUtf8();
        qputenv("HOME", path);
        qputenv("XDG_DATA_HOME", path + "/data");
        qputenv("XDG_CONFIG_HOME", path + "/config");
        qputenv("XDG_CACHE_HOME", path + "/cache");
        qputenv("XDG_RUNTIME_DIR", path + "/run");
        QDir().mkpath(dir->path() + "/data");
        QDir().mkpath(dir->path() + "/config");
        QDir().mkpath(dir->path() + "/run");
        QFile::setPermissions(dir->path() + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return dir;
    }();
    return home->path();
}

// The application object; made once, after the environment is redirected.
inline QCoreApplication *app() {
    static QCoreApplication *instance = [] {
        testHome();
        static int argc = 1;
        static char name[] = "archive-test";
        static char *argv[] = {name, nullptr};
        return new QCoreApplication(argc, argv);
    }();
    return instance;
}

inline void forgetRememberedFolder() {
    QSettings settings(QStringLiteral("Bramwick"), QStringLiteral("Bramwick"));
    settings.remove(QStringLiteral("rootBookmark"));
    settings.sync();
}

inline bool writeText(const QString &path, const std::string &text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(text.data(), qint64(text.size())) == qint64(text.size());
}

inline std::string readText(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
}

} // namespace archive_test
