#include "Model/MemberFiles.h"

#include <QDir>
#include <QFile>

#include "Model/AppStore.h"
#include "Model/RecordJSON.h"

namespace {

std::optional<std::string> readText(const QString &memberFolder, const char *name) {
    QFile file(QDir(memberFolder).filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace

std::optional<ClientProfile> readMemberProfile(const QString &memberFolder) {
    auto text = readText(memberFolder, AppStore::profileName);
    return text ? decodeProfile(*text) : std::nullopt;
}

std::optional<Application> readMemberApplication(const QString &memberFolder) {
    auto text = readText(memberFolder, AppStore::applicationName);
    return text ? decodeApplication(*text) : std::nullopt;
}
