// bwengine, the command-line front of the C interface: output and exit status.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "bramwick_engine.h"
#include "xfa_fixture.h"

using namespace bwtest;

namespace {

// The CLI is built into the same folder as this test program.
std::string cli() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "bwengine").string();
}

std::string quote(const std::string &s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

struct Outcome {
    int status;
    std::string out;
};

// Runs a shell command line with stderr discarded.
Outcome run(const std::string &command) {
    Outcome r{-1, {}};
    FILE *p = popen((command + " 2>/dev/null").c_str(), "r");
    if (!p) return r;
    std::array<char, 65536> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string answer_of(char *answer) {
    std::string s = answer ? answer : "";
    bw_free(answer);
    return s;
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(cli())) << cli() << " is missing: build the bwengine-cli target";
    }
};

}  // namespace

TEST_F(Cli, WrongUsageExitsWithTwo) {
    const std::string pdf = quote(form_path("imm5257e.pdf"));
    for (const std::string &args : std::vector<std::string>{"", "nonsense " + pdf, "dump", "dump " + pdf + " extra", "fill " + pdf + " x",
                                   "fill a b c d", "schema", "work-location-lov", "validate", "pdf-lines"}) {
        SCOPED_TRACE(args);
        Outcome r = run(quote(cli()) + " " + args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
    }
    FILE *p = popen((quote(cli()) + " 2>&1").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char line[256] = {};
    ASSERT_NE(std::fgets(line, sizeof line, p), nullptr);
    pclose(p);
    EXPECT_EQ(std::string(line).rfind("usage: bwengine", 0), 0u);
}

TEST_F(Cli, PrintsTheEngineAnswerAndALineFeed) {
    const std::string a = form_path("imm5257e.pdf"), b = form_path("imm1295e.pdf");
    Outcome dump = run(quote(cli()) + " dump " + quote(a));
    EXPECT_EQ(dump.status, 0);
    EXPECT_EQ(dump.out, answer_of(bw_dump(a.c_str())) + "\n");

    Outcome lov = run(quote(cli()) + " work-location-lov " + quote(b));
    EXPECT_EQ(lov.status, 0);
    EXPECT_EQ(lov.out, answer_of(bw_work_location_lov(b.c_str())) + "\n");

    Outcome missing = run(quote(cli()) + " dump /no/such/form.pdf");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, answer_of(bw_dump("/no/such/form.pdf")) + "\n");
    EXPECT_EQ(missing.out.rfind("{\"error\":", 0), 0u);
}

TEST_F(Cli, FillReadsItsDataFromAFileOrStandardInput) {
    TempDir dir;
    const std::string in = form_path("imm5257e.pdf"), out = (dir.path / "out.pdf").string();
    const std::string data_file = dir.write("data.json", "{");
    const std::string base = quote(cli()) + " fill " + quote(in) + " " + quote(out) + " ";

    Outcome from_file = run(base + quote(data_file));
    EXPECT_EQ(from_file.status, 1);
    EXPECT_EQ(from_file.out, answer_of(bw_fill(in.c_str(), out.c_str(), "{")) + "\n");
    EXPECT_NE(from_file.out.find("data 不是合法 JSON: "), std::string::npos);

    Outcome from_stdin = run("printf '{' | " + base + "-");
    EXPECT_EQ(from_stdin.status, 1);
    EXPECT_EQ(from_stdin.out, from_file.out);

    Outcome unreadable = run(base + quote((dir.path / "absent.json").string()));
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_FALSE(std::filesystem::exists(out));
}
