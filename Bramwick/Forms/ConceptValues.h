#pragma once
// The concept vocabulary: 98 keys ("uci", "dob.year", "mailing.city", "bg.criminal",
// "app.workProvince", "const.yes", ...) that link the applicant records to form fields. Each key
// is computed from the member's profile and application by a fixed rule.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Model/Application.h"
#include "Model/ClientProfile.h"

// Concept key -> text. A map from conceptValues always holds every key (unknown is empty text).
using ConceptMap = std::map<std::string, std::string>;

// The 98 keys, in vocabulary order.
const std::vector<std::string> &conceptKeys();
bool isConceptKey(std::string_view key);

ConceptMap conceptValues(const ClientProfile &profile, const Application &application);

// A date text split at "-": whole decimal pieces written back without leading zeros, a piece
// that is not a number as "0", missing pieces empty. "1990-03-05" -> 1990, 3, 5.
struct DateParts {
    std::string year;
    std::string month;
    std::string day;
    bool operator==(const DateParts &) const = default;
};
DateParts dateParts(std::string_view date);
