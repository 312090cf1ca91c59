#pragma once
// Built-in sample people and applications, made anew on every call so that their dates lie ahead
// of today.
#include <vector>

#include "Model/Application.h"
#include "Model/ClientProfile.h"

// The sample applicant (principal of the family sample case).
ClientProfile demoProfile();
// A visitor visa application: kind visit, program "TRV".
Application demoApplication();
// A work permit application: kind work, program "C11", type "ELMO".
Application demoWorkApplication();
// Three sample people: demoProfile, the principal's spouse, an unrelated single man.
std::vector<ClientProfile> demoProfiles();
