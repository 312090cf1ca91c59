#pragma once
// The JSON files of the archive: profile.json, application.json, case.json.
// Writing: every field under its own name, pretty-printed (two spaces), keys sorted, UTF-8.
// Reading is strict: a missing key, a null, a wrong JSON type, an unknown kind or role text or a
// UUID that does not parse fails the whole record. Unknown keys are ignored.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "Model/Application.h"
#include "Model/CaseFile.h"
#include "Model/ClientProfile.h"

nlohmann::json toJSON(const ClientProfile &profile);
nlohmann::json toJSON(const Application &application);
nlohmann::json toJSON(const CaseFile &caseFile);

std::optional<ClientProfile> profileFromJSON(const nlohmann::json &json);
std::optional<Application> applicationFromJSON(const nlohmann::json &json);
std::optional<CaseFile> caseFileFromJSON(const nlohmann::json &json);

// File text: pretty-printed, sorted keys, ending with a line break.
std::string encodeProfile(const ClientProfile &profile);
std::string encodeApplication(const Application &application);
std::string encodeCaseFile(const CaseFile &caseFile);

// From file text; none when the text is not JSON or does not decode.
std::optional<ClientProfile> decodeProfile(std::string_view text);
std::optional<Application> decodeApplication(std::string_view text);
std::optional<CaseFile> decodeCaseFile(std::string_view text);

// A UUID text in either case to its upper-case 8-4-4-4-12 form; none when it does not parse.
std::optional<std::string> canonicalUUID(std::string_view text);

// Pretty text of any JSON value as the archive writes it.
std::string prettyJSONText(const nlohmann::json &json);
