#pragma once
// The field schemas of the supported forms, read from the resources "<id>.schema.json" once per
// process and kept. Safe to call from any thread.
#include <string>
#include <vector>

#include "Engine/BWRecords.h"

namespace SchemaCache {

// The form's field specifications in schema order; empty when the resource is missing or does
// not decode (an empty result is not kept, so a later call reads again).
std::vector<BWFieldSpec> lookup(const std::string &formId);

}  // namespace SchemaCache
