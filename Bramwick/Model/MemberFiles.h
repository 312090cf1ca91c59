#pragma once
// Reading one member folder's records on their own (tools that work on a member folder without
// loading the whole archive). Writing goes through AppStore::saveProfile / saveApplication.
#include <QString>
#include <optional>

#include "Model/Application.h"
#include "Model/ClientProfile.h"

// None when the file is missing, unreadable or does not decode.
std::optional<ClientProfile> readMemberProfile(const QString &memberFolder);
std::optional<Application> readMemberApplication(const QString &memberFolder);
