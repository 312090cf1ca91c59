#pragma once
// Folder names made from people's names and programs.
#include <QString>

// Each of / \ : * ? " < > | becomes "_", and a name that is just "." or ".." becomes "_" or "__";
// nothing else changes (no trimming, no length limit).
QString safeFolderName(const QString &name);
// `name` trimmed of white space, or "申请人" when nothing is left.
QString personNameOrDefault(const QString &name);
// The base name inside `parent`, or "base 2", "base 3", ... : the first that names no existing item.
QString uniqueFolderPath(const QString &parent, const QString &baseName);
