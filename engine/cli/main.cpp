// bwengine: the form engine's C interface on the command line, for batch work.
// Prints the engine's JSON answer and a line feed; exit status 0 for a success answer, 1 for an
// error answer, 2 for wrong usage.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <fstream>
#include <string>

#include "bramwick_engine.h"

namespace {

const char *const kUsage =
    "usage: bwengine dump PDF\n"
    "       bwengine schema PDF\n"
    "       bwengine fill IN OUT DATA      (DATA: a file with the data JSON, or - for standard input)\n"
    "       bwengine work-location-lov PDF\n"
    "       bwengine validate PDF\n"
    "       bwengine pdf-lines PDF\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

int print(char *answer) {
    if (!answer) {
        std::fputs("bwengine: the engine returned no answer\n", stderr);
        return 1;
    }
    const bool failed = std::strncmp(answer, "{\"error\":", 9) == 0;
    std::fputs(answer, stdout);
    std::fputc('\n', stdout);
    bw_free(answer);
    return std::fflush(stdout) == 0 && !failed ? 0 : 1;
}

bool read_data(const std::string &source, std::string &out) {
    if (source == "-") {
        out.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return !std::cin.bad();
    }
    std::ifstream in(source, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return usage();
    const std::string command = argv[1];
    using OnePath = char *(*)(const char *);
    struct Command {
        const char *name;
        OnePath fn;
    };
    static const Command one_path[] = {
        {"dump", bw_dump},           {"schema", bw_schema},       {"work-location-lov", bw_work_location_lov},
        {"validate", bw_validate},   {"pdf-lines", bw_pdf_lines},
    };
    for (const auto &c : one_path)
        if (command == c.name) {
            if (argc != 3) return usage();
            return print(c.fn(argv[2]));
        }
    if (command == "fill") {
        if (argc != 5) return usage();
        std::string data;
        if (!read_data(argv[4], data)) {
            std::fprintf(stderr, "bwengine: cannot read %s: %s\n", argv[4], std::strerror(errno));
            return 1;
        }
        return print(bw_fill(argv[2], argv[3], data.c_str()));
    }
    return usage();
}
