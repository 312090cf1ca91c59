// A process killed in the middle of a long series of record writes leaves only whole files.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "ArchiveTestSupport.h"
#include "Model/AppStore.h"
#include "Model/RecordJSON.h"
#include "Model/SampleData.h"

namespace {
const char *kChildEnv = "BW_CRASH_WRITER_DIR";
}

// Runs only inside the child process started below: rewrites the records of a case for ever,
// each time with a different (and growing) payload.
TEST(CrashWriter, WritesUntilKilled) {
    const QByteArray dir = qgetenv(kChildEnv);
    if (dir.isEmpty()) GTEST_SKIP() << "runs only as the writer child";
    archive_test::app();
    const QString caseFolder = QString::fromUtf8(dir);
    const QString member = caseFolder + "/张三";
    QDir().mkpath(member);
    ClientProfile profile = demoProfile();
    Application application = demoApplication();
    CaseFile caseFile;
    for (long i = 0;; ++i) {
        profile.displayName = "张三 " + std::to_string(i);
        if (i % 7 == 0) profile.employment.push_back(EmploymentEntry{});
        application.funds = std::to_string(i);
        application.extraForms.assign(size_t(i % 50), std::string(200, 'x'));
        caseFile.members.assign(size_t(i % 40 + 1), MemberRecord{"张三", MemberRole::principal});
        AppStore::saveProfile(profile, member);
        AppStore::saveApplication(application, member);
        AppStore::saveCaseFile(caseFile, caseFolder);
        if (i == 20) QFile(caseFolder + "/started").open(QIODevice::WriteOnly);
    }
}

TEST(CrashSafety, KilledWriterLeavesOnlyWholeFiles) {
    archive_test::app();
    for (int round = 0; round < 5; ++round) {
        QTemporaryDir dir;
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildEnv, dir.path());
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=CrashWriter.*"});
        ASSERT_TRUE(child.waitForStarted());
        QElapsedTimer t;
        t.start();
        while (!QFileInfo::exists(dir.filePath("started")) && t.elapsed() < 20000) QThread::msleep(5);
        ASSERT_TRUE(QFileInfo::exists(dir.filePath("started"))) << "the writer never got going";
        QThread::msleep(50 + 37 * round);
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished());
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);

        // Every file left, whatever its name, is a whole record.
        auto checkFolder = [&](const QString &folder, const QStringList &expected) {
            QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
            names.removeAll("started");
            names.sort();
            EXPECT_EQ(names, expected) << folder.toStdString();
            for (const QString &name : names) {
                std::string text = archive_test::readText(folder + "/" + name);
                bool whole = name == "case.json"         ? decodeCaseFile(text).has_value()
                             : name == "profile.json"     ? decodeProfile(text).has_value()
                             : name == "application.json" ? decodeApplication(text).has_value()
                                                          : false;
                EXPECT_TRUE(whole) << name.toStdString() << " is not a whole record";
            }
        };
        checkFolder(dir.path(), {"case.json"});
        checkFolder(dir.filePath("张三"), {"application.json", "profile.json"});
    }
}
