#pragma once
// The field values handed to the engine's fill: mapped fields from the applicant records, then
// the form's own stored values.
#include <map>
#include <string>

#include "Forms/FormMapping.h"
#include "Model/Application.h"
#include "Model/ClientProfile.h"

// Path -> value of every mapped field whose concept value is not empty.
std::map<std::string, std::string> profileFillData(const FormMapping &mapping, const ClientProfile &profile,
                                                   const Application &application);
// profileFillData, plus every non-empty local value whose path the records did not fill.
std::map<std::string, std::string> fillData(const FormMapping &mapping, const ClientProfile &profile,
                                            const Application &application,
                                            const std::map<std::string, std::string> &local);
