#pragma once
// Where the application's resource files live (mappings, schemas, blank forms, questionnaire
// templates). BRAMWICK_RESOURCES names the folder when set; otherwise the folder is found beside
// the running program: "../resources" in the build tree (build/bin -> build/resources), or
// "../share/bramwick" in an install.
#include <QString>

// The resource folder, or an empty text when none is found.
QString resourcesFolder();
// The path of an existing resource file ("IMM5257.map.json", "forms/imm5257e.pdf",
// "questionnaires/inland-tr.json"); an empty text when it does not exist.
QString resourcePath(const QString &relativePath);
