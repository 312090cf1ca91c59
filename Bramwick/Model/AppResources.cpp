#include "Model/AppResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString resourcesFolder() {
    const QString env = qEnvironmentVariable("BRAMWICK_RESOURCES");
    if (!env.isEmpty()) return QFileInfo(env).isDir() ? QDir(env).absolutePath() : QString();
    // Without an application object (plain test programs) the program's own link serves.
    const QString bin = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                     : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (bin.isEmpty()) return {};
    for (const char *relative : {"../resources", "../share/bramwick"}) {
        const QString candidate = QDir(bin).filePath(QString::fromLatin1(relative));
        if (QFileInfo(candidate).isDir()) return QDir(candidate).absolutePath();
    }
    return {};
}

QString resourcePath(const QString &relativePath) {
    const QString folder = resourcesFolder();
    if (folder.isEmpty() || relativePath.isEmpty()) return {};
    const QString path = QDir(folder).filePath(relativePath);
    return QFileInfo(path).isFile() ? path : QString();
}
