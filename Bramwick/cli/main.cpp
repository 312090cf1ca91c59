// bramwick-cli: command-line access to the case archive and the app's logic, for batch work over
// an archive. Each subcommand is one entry of the table below and lives in its own file.
#include <QCoreApplication>
#include <cstdio>

#include "cli/Commands.h"

void printErr(const QString &text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

namespace {

struct Subcommand {
    const char *name;
    const char *usage;
    int (*run)(const QStringList &args);
};

const Subcommand kSubcommands[] = {
    {"cases", "cases [ARCHIVE]                   print the cases and members of the archive as JSON", runCases},
    {"fill", "fill MEMBER_FOLDER [FORM_ID]      fill and check a form into the member folder", runFill},
    {"import-pdf", "import-pdf MEMBER_FOLDER PDF      import a filled IMM 5257 / IMM 1295 into the member",
     runImportPdf},
    {"import-json", "import-json MEMBER_FOLDER FILE    import ChatGPT-prepared JSON into the member",
     runImportJson},
    {"questionnaire", "questionnaire MEMBER_FOLDER PDF   read a questionnaire export into the member",
     runQuestionnaire},
};

void printUsage() {
    std::fprintf(stderr, "usage: bramwick-cli COMMAND [ARGS]\ncommands:\n");
    for (const auto &s : kSubcommands) std::fprintf(stderr, "  %s\n", s.usage);
}

}  // namespace

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
