// The C interface: argument checks, the operations, and their answers as JSON.
#include "bramwick_engine.h"

#include <cstdlib>

#include "acrobat/schema.h"
#include "acrobat/validate.h"
#include "ffi/answer.h"
#include "lib/error.h"
#include "lib/dump.h"
#include "lib/fill.h"
#include "lib/work_location_lov.h"
#include "pdf_text/pdf_lines.h"

using nlohmann::json;
using namespace bw::ffi;

namespace {

json item_json(const std::string &code, const std::string &label) {
    return json::object({{"code", code}, {"label", label}});
}

json issues_json(const std::vector<std::string> &paths, const std::map<std::string, std::string> &labels) {
    json out = json::array();
    for (const auto &path : paths) {
        auto l = labels.find(path);
        out.push_back(json::object({{"label", l != labels.end() ? l->second : path}, {"path", path}}));
    }
    return out;
}

}  // namespace

extern "C" {

char *bw_dump(const char *pdf_path) {
    if (!valid_utf8(pdf_path)) return error_answer("invalid path");
    return guarded([&] {
        json fields = json::array();
        for (auto &[path, value] : bw::dump(pdf_path))
            fields.push_back(json::object({{"path", std::move(path)}, {"value", std::move(value)}}));
        return json::object({{"fields", std::move(fields)}});
    });
}

char *bw_schema(const char *pdf_path) {
    if (!valid_utf8(pdf_path)) return error_answer("invalid path");
    return guarded([&] {
        json fields = json::array();
        for (auto &spec : bw::schema(pdf_path)) {
            json f = json::object({{"group", std::move(spec.group)},
                                   {"label", std::move(spec.label)},
                                   {"path", std::move(spec.path)},
                                   {"required", spec.required},
                                   {"type", std::move(spec.type)}});
            if (spec.options) {
                json options = json::array();
                for (auto &o : *spec.options)
                    options.push_back(json::object({{"label", std::move(o.label)}, {"value", std::move(o.value)}}));
                f["options"] = std::move(options);
            }
            fields.push_back(std::move(f));
        }
        return json::object({{"fields", std::move(fields)}});
    });
}

char *bw_fill(const char *input_pdf, const char *output_pdf, const char *data_json) {
    if (!valid_utf8(input_pdf) || !valid_utf8(output_pdf) || !valid_utf8(data_json))
        return error_answer("invalid args");
    return guarded([&] {
        json data;
        try {
            data = json::parse(data_json);
        } catch (const json::parse_error &e) {
            throw bw::Error(std::string("data 不是合法 JSON: ") + e.what());
        }
        const size_t count = bw::expand_json(data).size();
        bw::fill_data(input_pdf, output_pdf, data);
        return json::object({{"count", count}, {"ok", true}});
    });
}

char *bw_validate(const char *pdf_path) {
    if (!valid_utf8(pdf_path)) return error_answer("invalid path");
    return guarded([&] {
        bw::ValidationResult result = bw::acrobat_validate(pdf_path, false);
        std::string report = bw::acrobat_report(result, false);
        return json::object({{"format_err", issues_json(result.format_err, result.labels)},
                             {"full", result.incomplete_sections.empty()},
                             {"missing", issues_json(result.missing, result.labels)},
                             {"report", std::move(report)}});
    });
}

char *bw_pdf_lines(const char *pdf_path) {
    if (!valid_utf8(pdf_path)) return error_answer("invalid path");
    return guarded([&] {
        json lines = json::array();
        for (auto &line : bw::pdf_lines(pdf_path)) lines.push_back(std::move(line));
        return json::object({{"lines", std::move(lines)}});
    });
}

char *bw_work_location_lov(const char *pdf_path) {
    if (!valid_utf8(pdf_path)) return error_answer("invalid path");
    return guarded([&] {
        bw::WorkLocationLov lov = bw::work_location_lov(pdf_path);
        json provinces = json::array();
        for (const auto &p : lov.provinces) provinces.push_back(item_json(p.code, p.label));
        json cities = json::object();
        for (const auto &[province, list] : lov.cities) {
            json items = json::array();
            for (const auto &c : list) items.push_back(item_json(c.code, c.label));
            cities[province] = std::move(items);
        }
        return json::object({{"cities", std::move(cities)}, {"provinces", std::move(provinces)}});
    });
}

void bw_free(char *answer) { std::free(answer); }

}  // extern "C"
