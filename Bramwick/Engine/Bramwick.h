// The application's only way into the form engine: stateless, synchronous operations that call
// the engine's C functions and decode their answers. Every failure is thrown as BWError:
// an engine error answer as core(message), an answer of the wrong shape as decode(description),
// a null answer as nullReturn. Calls block their thread and may run on any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Engine/BWError.h"
#include "Engine/BWRecords.h"

namespace Bramwick {

// Fills `input` with the values of `dataJSON` ({"fields":{path:value}}) into `output`; returns
// the number of field assignments taken from the data.
std::int64_t fill(const std::string &input, const std::string &output, const std::string &dataJSON);
// Runs the form's own checks on a (filled) PDF.
BWValidation validate(const std::string &pdfPath);
// The visible questions of a form.
std::vector<BWFieldSpec> schema(const std::string &pdfPath);
// Every data value of a form.
std::vector<BWField> dump(const std::string &pdfPath);
// The text lines of any PDF, in reading order.
std::vector<std::string> pdfLines(const std::string &pdfPath);
// The province and city lists carried by the work permit form.
BWWorkLocationLOV workLocationLOV(const std::string &pdfPath);

// The steps behind the operations, open for tests that feed answers without the engine.
namespace detail {

// Null -> nullReturn; otherwise copies the answer and hands the buffer to `release` once.
std::string takeAnswer(char *answer, void (*release)(char *));

// Each decodes one answer text: an error envelope {"error":m} -> core(m); then the success
// shape, whose failure -> decode(the decoder's description).
std::int64_t decodeFill(const std::string &answer);
BWValidation decodeValidate(const std::string &answer);
std::vector<BWFieldSpec> decodeSchema(const std::string &answer);
std::vector<BWField> decodeDump(const std::string &answer);
std::vector<std::string> decodePdfLines(const std::string &answer);
BWWorkLocationLOV decodeWorkLocationLOV(const std::string &answer);

}  // namespace detail
}  // namespace Bramwick
