// bramwick-cli cases [ARCHIVE]: the archive as the store loads it.
#include <QFileInfo>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "Model/AppStore.h"
#include "Model/RecordJSON.h"
#include "cli/Commands.h"

namespace {

QString folderNameOf(const QString &path) { return QFileInfo(path).fileName(); }

// The archive as the store holds it, one entry per case in store order.
nlohmann::json archiveJSON(const AppStore &store) {
    nlohmann::json cases = nlohmann::json::array();
    for (const CaseItem &c : store.cases()) {
        nlohmann::json members = nlohmann::json::array();
        for (const MemberItem &m : c.members) {
            members.push_back({{"folderName", folderNameOf(m.folder).toStdString()},
                               {"role", memberRoleText(m.role)},
                               {"displayName", m.profile.displayName},
                               {"kind", applicationKindText(m.application.kind)},
                               {"program", m.application.program}});
        }
        cases.push_back({{"folderName", folderNameOf(c.folder).toStdString()}, {"members", std::move(members)}});
    }
    return cases;
}

}  // namespace

int runCases(const QStringList &args) {
    if (args.size() > 1) {
        printErr(QStringLiteral("usage: bramwick-cli cases [ARCHIVE]"));
        return kUsageError;
    }
    if (args.isEmpty()) {
        AppStore store; // remembered folder, else the default folder with its sample cases
        std::fputs(prettyJSONText(archiveJSON(store)).c_str(), stdout);
        return 0;
    }
    const QString folder = args.front();
    QFileInfo info(folder);
    if (!info.exists()) {
        printErr(QStringLiteral("bramwick-cli: archive folder does not exist: %1").arg(folder));
        return 1;
    }
    if (!info.isDir()) {
        printErr(QStringLiteral("bramwick-cli: archive is not a folder: %1").arg(folder));
        return 1;
    }
    AppStore store(AppStore::StartUp::none);
    store.openFolder(folder);
    std::fputs(prettyJSONText(archiveJSON(store)).c_str(), stdout);
    return 0;
}
