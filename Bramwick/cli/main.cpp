// bramwick-cli: command-line access to the case archive and the app's logic.
// Each subcommand is one entry of the table below.
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "Model/AppStore.h"
#include "Model/RecordJSON.h"

namespace {

constexpr int kUsageError = 2;

void printErr(const QString &text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

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

// cases [ARCHIVE]
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

struct Subcommand {
    const char *name;
    const char *usage;
    int (*run)(const QStringList &args);
};

const Subcommand kSubcommands[] = {
    {"cases", "cases [ARCHIVE]   print the cases and members of the archive as JSON", runCases},
};

void printUsage() {
    std::fprintf(stderr, "usage: bramwick-cli COMMAND [ARGS]\ncommands:\n");
    for (const auto &s : kSubcommands) std::fprintf(stderr, "  %s\n", s.usage);
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        printUsage();
        return kUsageError;
    }
    const QString command = args.takeFirst();
    for (const auto &s : kSubcommands)
        if (command == QLatin1String(s.name)) return s.run(args);
    printErr(QStringLiteral("bramwick-cli: unknown command: %1").arg(command));
    printUsage();
    return kUsageError;
}
