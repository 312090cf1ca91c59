#include "Model/AtomicWrite.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    // Never fall back to writing the target in place.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    // commit() flushes, syncs the temporary file to disk and renames it over the target.
    return file.commit();
}

bool writeFileAtomically(const QString &path, std::string_view bytes) {
    return writeFileAtomically(path, QByteArray(bytes.data(), qsizetype(bytes.size())));
}
