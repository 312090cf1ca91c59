#pragma once
// Shared by the fuzz harnesses: the engine reads files, so each input is written to a private
// temporary file first.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "bramwick_engine.h"

inline std::string fuzz_temp_path(const char *tag) {
    return "/tmp/bw-fuzz-" + std::to_string(getpid()) + "-" + tag;
}

inline std::string fuzz_write(const char *tag, const uint8_t *data, size_t size) {
    std::string path = fuzz_temp_path(tag);
    if (FILE *f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}

// Calls one path-taking engine function on the input and releases the answer.
inline int fuzz_path_call(char *(*fn)(const char *), const uint8_t *data, size_t size) {
    std::string path = fuzz_write("in.pdf", data, size);
    bw_free(fn(path.c_str()));
    std::remove(path.c_str());
    return 0;
}
