#include "Model/FolderNames.h"

#include <QDir>
#include <QFileInfo>

QString safeFolderName(const QString &name) {
    QString out = name;
    for (QChar &c : out) {
        switch (c.unicode()) {
        case '/': case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            c = u'_';
            break;
        default:
            break;
        }
    }
    // "." and ".." would name the parent or the folder itself, never a new folder.
    if (out == u"." || out == u"..") out.fill(u'_');
    return out;
}

QString personNameOrDefault(const QString &name) {
    QString trimmed = name.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("申请人") : trimmed;
}

QString uniqueFolderPath(const QString &parent, const QString &baseName) {
    QDir dir(parent);
    QString candidate = dir.filePath(baseName);
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = dir.filePath(baseName + u' ' + QString::number(n));
    return candidate;
}
