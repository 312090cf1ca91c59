// Placeholder until the command is built.
#include "cli/Commands.h"

int runFill(const QStringList &) {
    printErr(QStringLiteral("bramwick-cli: this command is not available yet"));
    return 1;
}
