// The C interface: argument checks, answer texts, the error envelope and calls from many threads.
#include "bramwick_engine.h"

#include <memory>
#include <thread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "lib/dump.h"
#include "xfa_fixture.h"

using namespace bwtest;
using nlohmann::json;

namespace {

// Takes ownership of an engine answer and returns its text.
std::string take(char *answer) {
    EXPECT_NE(answer, nullptr);
    if (!answer) return {};
    std::string text(answer);
    bw_free(answer);
    return text;
}

using OnePath = char *(*)(const char *);
struct Function {
    const char *name;
    OnePath call;
};
const Function kOnePath[] = {
    {"bw_dump", bw_dump},           {"bw_schema", bw_schema},       {"bw_validate", bw_validate},
    {"bw_pdf_lines", bw_pdf_lines}, {"bw_work_location_lov", bw_work_location_lov},
};

const char *const kBadUtf8[] = {
    "\xff.pdf",              // never valid
    "\xc0\xaf.pdf",          // overlong "/"
    "\xed\xa0\x80.pdf",      // a surrogate
    "\xe4\xb8",              // cut short
    "\xf4\x90\x80\x80.pdf",  // beyond U+10FFFF
};

}  // namespace

TEST(Ffi, MissingArgumentsAreRefused) {
    for (const auto &f : kOnePath) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(take(f.call(nullptr)), R"({"error":"invalid path"})");
        for (const char *bad : kBadUtf8) EXPECT_EQ(take(f.call(bad)), R"({"error":"invalid path"})");
    }
    const std::string in = form_path("imm5257e.pdf");
    const char *ok = in.c_str();
    const char *data = R"({"fields":{}})";
    EXPECT_EQ(take(bw_fill(nullptr, ok, data)), R"({"error":"invalid args"})");
    EXPECT_EQ(take(bw_fill(ok, nullptr, data)), R"({"error":"invalid args"})");
    EXPECT_EQ(take(bw_fill(ok, ok, nullptr)), R"({"error":"invalid args"})");
    for (const char *bad : kBadUtf8) {
        EXPECT_EQ(take(bw_fill(bad, ok, data)), R"({"error":"invalid args"})");
        EXPECT_EQ(take(bw_fill(ok, bad, data)), R"({"error":"invalid args"})");
        EXPECT_EQ(take(bw_fill(ok, ok, bad)), R"({"error":"invalid args"})");
    }
    bw_free(nullptr);
}

TEST(Ffi, EveryFunctionAnswersTheEnvelopeForAFileThatIsNotThere) {
    TempDir dir;
    const std::string missing = (dir.path / "没有这个文件.pdf").string();
    for (const auto &f : kOnePath) {
        SCOPED_TRACE(f.name);
        const std::string text = take(f.call(missing.c_str()));
        json answer = json::parse(text);
        ASSERT_TRUE(answer.is_object());
        ASSERT_EQ(answer.size(), 1u) << text;
        EXPECT_TRUE(answer["error"].is_string()) << text;
    }
    // The message reaches the caller unchanged, its UTF-8 written as is.
    EXPECT_EQ(take(bw_dump(missing.c_str())), "{\"error\":\"" + missing + ": No such file or directory\"}");
}

TEST(Ffi, FillRefusesDataThatIsNotJson) {
    TempDir dir;
    const std::string in = form_path("imm5257e.pdf"), out = (dir.path / "out.pdf").string();
    for (const char *data : {"{", "", "{\"fields\":", "nope"}) {
        SCOPED_TRACE(data);
        json answer = json::parse(take(bw_fill(in.c_str(), out.c_str(), data)));
        ASSERT_TRUE(answer.contains("error"));
        EXPECT_EQ(answer["error"].get<std::string>().rfind("data 不是合法 JSON: ", 0), 0u) << answer;
        EXPECT_GT(answer["error"].get<std::string>().size(), std::string("data 不是合法 JSON: ").size());
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    // Data of any other shape never crashes: the answer is one JSON object either way.
    for (const char *data : {"[1,2]", "null", "{\"fields\":[1]}", "{\"fields\":{\"a\":{\"b\":[true]}}}"}) {
        SCOPED_TRACE(data);
        EXPECT_TRUE(json::parse(take(bw_fill(in.c_str(), out.c_str(), data))).is_object());
    }
}

TEST(Ffi, DumpAnswerIsCompactSortedAndUnescaped) {
    TempDir dir;
    XfaPdf spec;
    spec.packets = {{"datasets", "<xfa:datasets xmlns:xfa='http://www.xfa.org/schema/xfa-data/1.0/'><xfa:data>"
                                 "<form1><Name>李 \"小\\龙\"</Name><Note>é\n</Note></form1></xfa:data></xfa:datasets>"}};
    const std::string path = dir.write("f.pdf", build_pdf(spec));
    EXPECT_EQ(take(bw_dump(path.c_str())),
              R"({"fields":[{"path":"form1.Name","value":"李 \"小\\龙\""},{"path":"form1.Note","value":"é"}]})");

    const std::string real = form_path("imm5257e.pdf");
    const std::string text = take(bw_dump(real.c_str()));
    json answer = json::parse(text);
    EXPECT_EQ(answer.dump(-1, ' ', false), text);  // compact, keys in byte order
    const bw::FieldValues values = bw::dump(real);
    ASSERT_EQ(answer["fields"].size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(answer["fields"][i]["path"], values[i].first);
        EXPECT_EQ(answer["fields"][i]["value"], values[i].second);
    }
}

TEST(Ffi, WorkLocationAnswer) {
    const std::string path = form_path("imm1295e.pdf");
    const std::string text = take(bw_work_location_lov(path.c_str()));
    ASSERT_EQ(text.rfind("{\"cities\":{", 0), 0u) << text.substr(0, 80);
    EXPECT_NE(text.find("{\"code\":\"8634\",\"label\":\"Vancouver\"}"), std::string::npos);
    json answer = json::parse(text);
    EXPECT_EQ(answer.dump(-1, ' ', false), text);
    EXPECT_EQ(answer["provinces"].size(), 13u);
    EXPECT_EQ(answer["cities"].size(), 13u);
    EXPECT_TRUE(answer["cities"].contains("11"));
}

TEST(Ffi, CallsOnManyThreadsAnswerAsCallsOneByOne) {
    const std::string a = form_path("imm5257e.pdf"), b = form_path("imm1295e.pdf");
    struct Call {
        OnePath fn;
        std::string path;
    };
    const std::vector<Call> calls = {{bw_dump, a}, {bw_dump, b}, {bw_work_location_lov, b},
                                     {bw_work_location_lov, a}, {bw_dump, "/no/such.pdf"}};
    std::vector<std::string> expected;
    for (const auto &c : calls) expected.push_back(take(c.fn(c.path.c_str())));

    constexpr int kThreads = 6;
    std::vector<std::vector<std::string>> got(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 2; ++round)
                for (size_t i = 0; i < calls.size(); ++i) {
                    const auto &c = calls[(i + t) % calls.size()];
                    char *answer = c.fn(c.path.c_str());
                    got[t].push_back(answer ? answer : "(null)");
                    bw_free(answer);
                }
        });
    for (auto &th : threads) th.join();
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(got[t].size(), 2 * calls.size());
        for (size_t k = 0; k < got[t].size(); ++k)
            EXPECT_EQ(got[t][k], expected[(k % calls.size() + t) % calls.size()]) << "thread " << t << " call " << k;
    }
}

TEST(Ffi, DamagedFormsGetAnAnswerNeverACrash) {
    TempDir dir;
    const std::string real = read_bytes(form_path("imm1295e.pdf"));
    ASSERT_GT(real.size(), 100000u);
    std::vector<std::string> damaged;
    for (size_t k = 0; k < 16; ++k) {  // overwritten stretches spread over the file
        std::string bytes = real;
        const size_t at = (k * 2654435761u) % (real.size() - 512);
        for (size_t i = 0; i < 256; ++i) bytes[at + i] = static_cast<char>((i * 37 + k) & 0xff);
        damaged.push_back(std::move(bytes));
    }
    for (size_t cut : {real.size() - 1, real.size() - 200, real.size() / 2, size_t(1000), size_t(20)})
        damaged.push_back(real.substr(0, cut));
    for (size_t k = 0; k < damaged.size(); ++k) {
        SCOPED_TRACE(k);
        const std::string path = dir.write("damaged.pdf", damaged[k]);
        for (const auto &f : {bw_dump, bw_work_location_lov}) {
            json answer = json::parse(take(f(path.c_str())));
            EXPECT_TRUE(answer.is_object());
            if (answer.contains("error")) EXPECT_EQ(answer.size(), 1u);
        }
    }
}
