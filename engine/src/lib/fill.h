#pragma once
// Writing values into a form's datasets and saving the form as an encrypted incremental update.
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace bw {

// The (path, value) assignments that the data JSON asks for: {"fields": {path: value},
// "lists": {path: [{relative path: value}, ...]}} or a flat {path: value}; members in key order.
// A string value is its own text, any other value its compact JSON. Throws bw::Error only for a
// value nested too deeply to serialise.
std::vector<std::pair<std::string, std::string>> expand_json(const nlohmann::json &data);
// Sets the values in input's datasets and writes output as input's bytes followed by one
// encrypted incremental update (written atomically: a failure leaves any existing output as it
// was). Throws bw::Error with the first failure's message.
void fill_data(const std::string &input, const std::string &output, const nlohmann::json &data);

}  // namespace bw
