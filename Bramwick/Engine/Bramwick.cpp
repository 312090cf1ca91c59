#include "Engine/Bramwick.h"

#include <limits>

#include <nlohmann/json.hpp>

#include "bramwick_engine.h"

using nlohmann::json;

namespace Bramwick {
namespace {

// An answer that is an object with a text member "error" is the engine's failure. Anything else
// (not JSON, not an object, no "error", an "error" that is not text) is left to the success decoder.
void throwIfEnvelope(const std::string &answer) {
    json parsed = json::parse(answer, nullptr, /*allow_exceptions=*/false);
    if (!parsed.is_object()) return;
    auto error = parsed.find("error");
    if (error == parsed.end() || !error->is_string()) return;
    throw BWError::core(error->get<std::string>());
}

// Decodes the success shape with `extract`; any decoder failure becomes decode(description).
template <class Extract> auto decodeAnswer(const std::string &answer, Extract extract) {
    throwIfEnvelope(answer);
    json parsed;
    try {
        parsed = json::parse(answer);
        if (!parsed.is_object())
            throw json::type_error::create(302, std::string("type must be object, but is ") + parsed.type_name(),
                                           &parsed);
        return extract(parsed);
    } catch (const json::exception &e) {
        throw BWError::decode(e.what());
    }
}

std::string call(char *answer) { return detail::takeAnswer(answer, bw_free); }

}  // namespace

namespace detail {

std::string takeAnswer(char *answer, void (*release)(char *)) {
    if (answer == nullptr) throw BWError::nullReturn();
    std::string copy;
    try {
        copy = answer;
    } catch (...) {
        release(answer);
        throw;
    }
    release(answer);
    return copy;
}

std::int64_t decodeFill(const std::string &answer) {
    return decodeAnswer(answer, [](const json &j) {
        const json &ok = j.at("ok");
        if (!ok.is_boolean())
            throw json::type_error::create(302, std::string("type must be boolean, but is ") + ok.type_name() +
                                                    " (key \"ok\")", &ok);
        const json &count = j.at("count");
        if (count.is_number_unsigned() &&
            count.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            throw json::out_of_range::create(406, "number out of range (key \"count\")", &count);
        if (!count.is_number_integer())
            throw json::type_error::create(302, std::string("type must be integer, but is ") + count.type_name() +
                                                    " (key \"count\")", &count);
        return count.get<std::int64_t>();
    });
}

BWValidation decodeValidate(const std::string &answer) {
    return decodeAnswer(answer, [](const json &j) { return j.get<BWValidation>(); });
}

std::vector<BWFieldSpec> decodeSchema(const std::string &answer) {
    return decodeAnswer(answer, [](const json &j) { return j.at("fields").get<std::vector<BWFieldSpec>>(); });
}

std::vector<BWField> decodeDump(const std::string &answer) {
    return decodeAnswer(answer, [](const json &j) { return j.at("fields").get<std::vector<BWField>>(); });
}

std::vector<std::string> decodePdfLines(const std::string &answer) {
    return decodeAnswer(answer, [](const json &j) {
        const json &lines = j.at("lines");
        if (!lines.is_array())
            throw json::type_error::create(302, std::string("type must be array, but is ") + lines.type_name() +
                                                    " (key \"lines\")", &lines);
        std::vector<std::string> out;
        out.reserve(lines.size());
        for (const json &line : lines) {
            if (!line.is_string())
                throw json::type_error::create(302, std::string("type must be string, but is ") + line.type_name() +
                                                        " (element of \"lines\")", &line);
            out.push_back(line.get<std::string>());
        }
        return out;
    });
}

BWWorkLocationLOV decodeWorkLocationLOV(const std::string &answer) {
    return decodeAnswer(answer, [](const json &j) { return j.get<BWWorkLocationLOV>(); });
}

}  // namespace detail

std::int64_t fill(const std::string &input, const std::string &output, const std::string &dataJSON) {
    return detail::decodeFill(call(bw_fill(input.c_str(), output.c_str(), dataJSON.c_str())));
}

BWValidation validate(const std::string &pdfPath) { return detail::decodeValidate(call(bw_validate(pdfPath.c_str()))); }

std::vector<BWFieldSpec> schema(const std::string &pdfPath) {
    return detail::decodeSchema(call(bw_schema(pdfPath.c_str())));
}

std::vector<BWField> dump(const std::string &pdfPath) { return detail::decodeDump(call(bw_dump(pdfPath.c_str()))); }

std::vector<std::string> pdfLines(const std::string &pdfPath) {
    return detail::decodePdfLines(call(bw_pdf_lines(pdfPath.c_str())));
}

BWWorkLocationLOV workLocationLOV(const std::string &pdfPath) {
    return detail::decodeWorkLocationLOV(call(bw_work_location_lov(pdfPath.c_str())));
}

}  // namespace Bramwick
