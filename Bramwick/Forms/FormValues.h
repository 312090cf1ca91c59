#pragma once
// The values of a form's own fields (those no mapping entry names), kept per member in
// "<form id>.values.json": one compact JSON object, field path -> text, written atomically.
#include <QString>
#include <map>
#include <string>

using FormValues = std::map<std::string, std::string>;

QString formValuesPath(const QString &memberFolder, const std::string &formId);
// An absent or undecodable file gives an empty map.
FormValues loadFormValues(const QString &memberFolder, const std::string &formId);
// Replaces the file with the values; a failed write is ignored.
void saveFormValues(const QString &memberFolder, const std::string &formId, const FormValues &values);
// Sets every given entry whose value is not empty (replacing a stored one) and writes the file
// back; returns the number of entries taken.
int mergeFormValues(const std::string &formId, const QString &memberFolder, const FormValues &values);
