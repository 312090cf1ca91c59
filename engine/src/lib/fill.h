#pragma once
// Writing values into a form's datasets and saving the form as an encrypted incremental update.
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace bw {

// The (path, value) assignments that the data JSON {"fields": {...}} asks for.
std::vector<std::pair<std::string, std::string>> expand_json(const nlohmann::json &data);
// Fills input into output (written atomically). Throws bw::Error.
void fill_data(const std::string &input, const std::string &output, const nlohmann::json &data);

}  // namespace bw
