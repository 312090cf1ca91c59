#pragma once
// The subcommands of bramwick-cli, one file each. Every command takes its arguments (after the
// command name) and returns the exit status: 0 success, 1 failure (message on standard error),
// 2 wrong usage. JSON goes to standard output.
#include <QString>
#include <QStringList>

constexpr int kUsageError = 2;

// One line on standard error.
void printErr(const QString &text);

int runCases(const QStringList &args);
int runFill(const QStringList &args);
int runImportPdf(const QStringList &args);
int runImportJson(const QStringList &args);
int runQuestionnaire(const QStringList &args);
