#pragma once
// The labels of the official forms as the fill screen shows them: a Chinese rendering, one blank
// and a short English text. Lookup is by the whole label, case-sensitive.
#include <string>

// The displayed label; a label not in the table comes back unchanged.
std::string translatedLabel(const std::string &schemaLabel);
// Number of entries of the table.
int labelTranslationCount();
