#pragma once
// Whole-file reading and all-or-nothing file writing.
#include <initializer_list>
#include <string>
#include <string_view>

namespace bw::atomic_file {

// The whole file. Throws bw::Error ("cannot read PATH: reason").
std::string read(const std::string &path);

// Writes the concatenated parts to path through a temporary file in the same folder, flushed to
// disk and then renamed over path. On any failure the temporary file is removed, an existing file
// at path is left as it was, and bw::Error ("cannot write PATH: reason") is thrown.
void write(const std::string &path, std::initializer_list<std::string_view> parts);

}  // namespace bw::atomic_file
