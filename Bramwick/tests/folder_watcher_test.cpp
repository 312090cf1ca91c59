// The folder watcher: bursts of changes fold into one call; the folder's own renaming is noticed;
// the store re-reads the archive by itself.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "ArchiveTestSupport.h"
#include "Model/AppStore.h"
#include "Model/FolderWatcher.h"

namespace {

// Runs the event loop for `ms` milliseconds.
void spin(int ms) { QTest::qWait(ms); }

} // namespace

TEST(FolderWatcherTest, BurstGivesOneCallAfterTheLastEvent) {
    archive_test::app();
    QTemporaryDir dir;
    int calls = 0;
    auto watcher = FolderWatcher::create(dir.path(), [&] { ++calls; });
    ASSERT_TRUE(watcher);
    for (int i = 0; i < 8; ++i) {
        QDir(dir.path()).mkdir(QString("case %1").arg(i));
        spin(60); // shorter than the debounce: still one burst
    }
    EXPECT_EQ(calls, 0);
    spin(900);
    EXPECT_EQ(calls, 1);

    // Renaming and removing entries are changes too.
    QDir(dir.path()).rename("case 1", "renamed");
    QDir(dir.path()).rmdir("case 2");
    spin(900);
    EXPECT_EQ(calls, 2);

    // Changes deeper down are not watched.
    QDir(dir.path()).mkdir("case 3/inner");
    spin(900);
    EXPECT_EQ(calls, 2);
}

TEST(FolderWatcherTest, RenamingOrDeletingTheFolderItselfIsNoticed) {
    archive_test::app();
    QTemporaryDir parent;
    QDir(parent.path()).mkdir("archive");
    int calls = 0;
    auto watcher = FolderWatcher::create(parent.path() + "/archive", [&] { ++calls; });
    ASSERT_TRUE(watcher);
    QDir(parent.path()).rename("archive", "moved");
    spin(900);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(watcher->isWatching());

    QDir(parent.path()).mkdir("other");
    auto second = FolderWatcher::create(parent.path() + "/other", [&] { ++calls; });
    ASSERT_TRUE(second);
    QDir(parent.path() + "/other").removeRecursively();
    spin(900);
    EXPECT_EQ(calls, 2);
}

TEST(FolderWatcherTest, NoWatcherForAMissingFolderOrAFile) {
    archive_test::app();
    QTemporaryDir dir;
    EXPECT_FALSE(FolderWatcher::create(dir.path() + "/missing", [] {}));
    archive_test::writeText(dir.path() + "/file", "x");
    EXPECT_FALSE(FolderWatcher::create(dir.path() + "/file", [] {}));
    EXPECT_FALSE(FolderWatcher::create(QString(), [] {}));
}

TEST(FolderWatcherTest, StoreReloadsWhenACaseIsRenamedInTheFileManager) {
    archive_test::app();
    QTemporaryDir dir;
    AppStore store(AppStore::StartUp::none);
    store.openFolder(dir.path());
    auto member = store.createCase(ClientProfile{.displayName = "甲"}, Application{}, true);
    ASSERT_TRUE(member);
    spin(600); // the store's own changes settle
    QSignalSpy casesSpy(&store, &AppStore::casesChanged);
    QDir(dir.path()).rename("甲", "乙");
    ASSERT_TRUE(casesSpy.wait(3000));
    ASSERT_EQ(store.cases().size(), 1u);
    EXPECT_EQ(store.cases()[0].folder, dir.path() + "/乙");
    // The old selection points into the old folder and matches nothing now.
    EXPECT_FALSE(store.selectedMember());
    EXPECT_FALSE(store.selectedCase());
}

TEST(FolderWatcherTest, PendingReloadDoesNothingOnceTheStoreIsGone) {
    archive_test::app();
    QTemporaryDir dir;
    auto store = std::make_unique<AppStore>(AppStore::StartUp::none);
    store->openFolder(dir.path());
    EXPECT_EQ(store->watchedFolder(), dir.path());
    QDir(dir.path()).mkdir("new case");
    spin(50);
    store.reset();
    spin(600); // must not touch the destroyed store
    SUCCEED();
}

TEST(FolderWatcherTest, StoreWatchesAgainAfterTheArchiveReappears) {
    archive_test::app();
    QTemporaryDir parent;
    const QString root = parent.path() + "/archive";
    QDir().mkpath(root);
    AppStore store(AppStore::StartUp::none);
    store.openFolder(root);
    QDir(root).removeRecursively();
    spin(900);
    EXPECT_TRUE(store.cases().empty());
    QDir().mkpath(root);
    store.reload();
    EXPECT_EQ(store.watchedFolder(), root);
    QSignalSpy casesSpy(&store, &AppStore::casesChanged);
    archive_test::writeText(root + "/c/case.json", R"({"members":[]})");
    ASSERT_TRUE(casesSpy.wait(3000));
    EXPECT_EQ(store.cases().size(), 1u);
}
