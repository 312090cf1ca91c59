// bramwick-cli cases: the archive as the store loads it, and its exit statuses.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "ArchiveTestSupport.h"

namespace {
struct CliRun {
    int status;
    std::string out, err;
};
CliRun runCli(const QStringList &args, const QString &home) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CONFIG_HOME", home + "/config");
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationDirPath() + "/bramwick-cli", args);
    EXPECT_TRUE(p.waitForFinished(30000)) << "bramwick-cli did not run";
    return {p.exitCode(), p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}
} // namespace

TEST(CasesCli, PrintsTheArchiveInStoreOrder) {
    archive_test::app();
    QTemporaryDir home, archive;
    archive_test::writeText(archive.path() + "/Case 10/case.json", R"({"members":[]})");
    archive_test::writeText(archive.path() + "/Case 2/case.json",
                            R"({"members":[{"folderName":"m","role":"spouse"},{"folderName":"..","role":"child"}]})");
    archive_test::writeText(archive.path() + "/nocase/x.txt", "x");
    CliRun r = runCli({"cases", archive.path()}, home.path());
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["folderName"], "Case 2");
    EXPECT_EQ(j[0]["members"], nlohmann::json::parse(
        R"([{"folderName":"m","role":"spouse","displayName":"m","kind":"visit","program":""}])"));
    EXPECT_EQ(j[1]["folderName"], "Case 10");
}

TEST(CasesCli, WithoutArchiveUsesTheDefaultFolderWithSampleCases) {
    archive_test::app();
    QTemporaryDir home;
    CliRun r = runCli({"cases"}, home.path());
    ASSERT_EQ(r.status, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0]["folderName"], "C11-张三家庭");
    EXPECT_EQ(j[0]["members"][0]["kind"], "work");
    EXPECT_EQ(j[0]["members"][1]["role"], "spouse");
    EXPECT_EQ(std::string(j[1]["folderName"]).rfind("TRV-", 0), 0u);
}

TEST(CasesCli, ErrorsAndUsage) {
    archive_test::app();
    QTemporaryDir home;
    CliRun missing = runCli({"cases", home.path() + "/nope"}, home.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
    EXPECT_EQ(missing.out, "");
    for (const QStringList &args : {QStringList{}, QStringList{"bogus"}, QStringList{"cases", "a", "b"}})
        EXPECT_EQ(runCli(args, home.path()).status, 2) << args.join(' ').toStdString();
}
