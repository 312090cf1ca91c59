// reload of a generated archive: 1,000 cases with 3 members each (runs on the main thread at start-up).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "Model/AppStore.h"
#include "Model/SampleData.h"

namespace {

QCoreApplication *benchApp() {
    static int argc = 1;
    static char name[] = "app-bench";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    return app;
}

void BM_ReloadArchive1000x3(benchmark::State &state) {
    benchApp();
    QTemporaryDir dir;
    const QString root = dir.path();
    const ClientProfile person = demoProfile();
    const Application application = demoWorkApplication();
    for (int c = 0; c < 1000; ++c) {
        const QString caseFolder = root + QString("/Case %1").arg(c);
        CaseFile caseFile;
        for (int m = 0; m < 3; ++m) {
            const QString name = QString("member %1").arg(m);
            QDir().mkpath(caseFolder + "/" + name);
            ClientProfile p = person;
            p.displayName = name.toStdString();
            AppStore::saveProfile(p, caseFolder + "/" + name);
            AppStore::saveApplication(application, caseFolder + "/" + name);
            caseFile.members.push_back({name.toStdString(), m == 0 ? MemberRole::principal : MemberRole::child});
        }
        AppStore::saveCaseFile(caseFile, caseFolder);
    }
    for (auto _ : state) {
        AppStore store(AppStore::StartUp::none);
        store.openFolder(root); // one full reload
        if (store.cases().size() != 1000) state.SkipWithError("archive not loaded");
        benchmark::DoNotOptimize(store.cases().data());
    }
}
BENCHMARK(BM_ReloadArchive1000x3)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
