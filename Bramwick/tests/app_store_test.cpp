// The archive store: start-up folders, loading, creating, adding, deleting, selection and records.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "ArchiveTestSupport.h"
#include "Model/AppStore.h"
#include "Model/RecordJSON.h"
#include "Model/SampleData.h"

using archive_test::readText;
using archive_test::writeText;

namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        archive_test::app();
        archive_test::forgetRememberedFolder();
        root = dir.path();
    }
    // A store on the temporary archive.
    std::unique_ptr<AppStore> openStore() {
        auto store = std::make_unique<AppStore>(AppStore::StartUp::none);
        store->openFolder(root);
        return store;
    }
    QString path(const QString &rel) const { return root + "/" + rel; }
    void writeCase(const QString &caseRel, const std::string &caseJSON) { writeText(path(caseRel + "/case.json"), caseJSON); }
    static QStringList caseNames(const AppStore &store) {
        QStringList names;
        for (const auto &c : store.cases()) names << QFileInfo(c.folder).fileName();
        return names;
    }
    static QStringList memberNames(const CaseItem &c) {
        QStringList names;
        for (const auto &m : c.members) names << QFileInfo(m.folder).fileName();
        return names;
    }
    const CaseItem *caseNamed(const AppStore &store, const QString &name) {
        for (const auto &c : store.cases())
            if (QFileInfo(c.folder).fileName() == name) return &c;
        return nullptr;
    }

    QTemporaryDir dir;
    QString root;
};

} // namespace

TEST_F(StoreTest, FirstStartOpensDefaultFolderWithSampleCases) {
    const QString expectedDefault = archive_test::testHome() + "/data/Bramwick/客户档案";
    QDir(expectedDefault).removeRecursively();
    AppStore store;
    EXPECT_EQ(AppStore::defaultFolderPath(), expectedDefault);
    ASSERT_EQ(store.rootURL(), expectedDefault);
    EXPECT_TRUE(QFileInfo(expectedDefault).isDir());
    ASSERT_EQ(caseNames(store), QStringList({"C11-张三家庭", "TRV-王五"}));
    const CaseItem &family = store.cases()[0];
    ASSERT_EQ(family.members.size(), 2u);
    EXPECT_EQ(family.members[0].role, MemberRole::principal);
    EXPECT_EQ(family.members[0].application.kind, ApplicationKind::work);
    EXPECT_EQ(family.members[0].application.program, "C11");
    EXPECT_EQ(family.members[0].application.workPermitType, "ELMO");
    EXPECT_EQ(family.members[1].role, MemberRole::spouse);
    EXPECT_EQ(family.members[1].application.kind, ApplicationKind::visit);
    EXPECT_EQ(family.members[1].application.program, "TRV");
    const CaseItem &single = store.cases()[1];
    ASSERT_EQ(single.members.size(), 1u);
    EXPECT_EQ(single.members[0].role, MemberRole::principal);
    EXPECT_EQ(single.members[0].profile.displayName, "王五");
    EXPECT_FALSE(store.selection());
    EXPECT_EQ(store.watchedFolder(), expectedDefault);
    // The default folder is never remembered.
    EXPECT_FALSE(QSettings("Bramwick", "Bramwick").contains("rootBookmark"));

    // A second start finds the cases and seeds nothing more.
    AppStore again;
    EXPECT_EQ(caseNames(again), QStringList({"C11-张三家庭", "TRV-王五"}));
}

TEST_F(StoreTest, ChosenFolderIsReopenedWithoutSampleCases) {
    {
        AppStore store(AppStore::StartUp::none);
        QSignalSpy rootSpy(&store, &AppStore::rootURLChanged);
        store.setSelection(QString("x"));
        store.chooseFolder(root);
        EXPECT_EQ(rootSpy.count(), 1);
        EXPECT_FALSE(store.selection());
        EXPECT_EQ(store.rootURL(), root);
    }
    AppStore second;
    EXPECT_EQ(second.rootURL(), root);
    EXPECT_TRUE(second.cases().empty());
    EXPECT_TRUE(QDir(root).isEmpty());

    // A remembered folder that is gone: the default folder is used.
    QSettings("Bramwick", "Bramwick").setValue("rootBookmark", root + "/gone");
    AppStore third;
    EXPECT_EQ(third.rootURL(), AppStore::defaultFolderPath());
}

TEST_F(StoreTest, OnlyFoldersWithReadableCaseFileAreCases) {
    const std::string ok = R"({"members":[{"folderName":"m","role":"principal"}]})";
    writeCase("good", ok);
    writeCase(".hidden", ok);
    writeCase("broken", "{\"members\": [");
    writeCase("badrole", R"({"members":[{"folderName":"m","role":"parent"}]})");
    writeCase("nullmembers", R"({"members":null})");
    QDir(root).mkpath("nocasefile/m");
    writeText(path("plain.txt"), ok);
    writeText(path("case.json"), ok);
    auto store = openStore();
    EXPECT_EQ(caseNames(*store), QStringList({"good"}));
}

TEST_F(StoreTest, CasesInNaturalOrder) {
    for (QString name : {"Case 10", "case 2", "Case 1", "b", "A"}) writeCase(name, R"({"members":[]})");
    auto store = openStore();
    EXPECT_EQ(caseNames(*store), QStringList({"A", "b", "Case 1", "case 2", "Case 10"}));
}

TEST_F(StoreTest, MissingOrUnreadableMembersGetDefaults) {
    writeCase("c", R"({"members":[{"folderName":"gone","role":"child"},{"folderName":"bad","role":"other"}]})");
    writeText(path("c/bad/profile.json"), "{\"id\": 1}");
    writeText(path("c/bad/application.json"), R"({"kind":"study"})");
    auto store = openStore();
    ASSERT_EQ(store->cases().size(), 1u);
    const CaseItem &c = store->cases()[0];
    ASSERT_EQ(memberNames(c), QStringList({"gone", "bad"}));
    EXPECT_EQ(c.members[0].role, MemberRole::child);
    EXPECT_EQ(c.members[0].profile.displayName, "gone");
    EXPECT_EQ(c.members[1].profile.displayName, "bad");
    EXPECT_EQ(c.members[1].application, Application{});
    // Defaults are not written back.
    EXPECT_EQ(readText(path("c/bad/profile.json")), "{\"id\": 1}");

    // Editing the member whose folder is missing writes nothing that later loads.
    ClientProfile edited = c.members[0].profile;
    edited.email = "a@b.c";
    store->updateMemberProfile(edited, c.folder, c.members[0].folder);
    EXPECT_EQ(store->memberProfile(c.folder, c.members[0].folder).email, "a@b.c");
    EXPECT_FALSE(QFileInfo::exists(path("c/gone")));
    store->reload();
    EXPECT_EQ(store->cases()[0].members[0].profile.email, "");
}

TEST_F(StoreTest, MemberFolderNamesThatLeaveTheCaseAreIgnored) {
    writeCase("c", R"({"members":[
        {"folderName":"ok","role":"principal"}, {"folderName":"..","role":"spouse"},
        {"folderName":".","role":"child"}, {"folderName":"","role":"child"},
        {"folderName":"../escape","role":"other"}, {"folderName":"a\\b","role":"other"},
        {"folderName":"/tmp","role":"other"}]})");
    auto store = openStore();
    ASSERT_EQ(store->cases().size(), 1u);
    EXPECT_EQ(memberNames(store->cases()[0]), QStringList({"ok"}));

    // Nothing is ever written through those names, also not when a member is added.
    auto added = store->addMember(path("c"), "新人", MemberRole::child, Application{});
    ASSERT_TRUE(added);
    EXPECT_FALSE(QFileInfo::exists(path("escape")));
    EXPECT_FALSE(QFileInfo::exists(path("profile.json")));
    EXPECT_FALSE(QFileInfo::exists(path("c/profile.json")));
    auto onDisk = decodeCaseFile(readText(path("c/case.json")));
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(onDisk->members.size(), 8u); // the records themselves are kept as they were
    EXPECT_EQ(memberNames(store->cases()[0]), QStringList({"ok", "新人"}));
}

TEST_F(StoreTest, CreateCaseNamesFolders) {
    auto store = openStore();
    QSignalSpy casesSpy(store.get(), &AppStore::casesChanged);
    store->createCase(ApplicationKind::work, "   ", "  A/B  ");
    EXPECT_TRUE(QFileInfo(path("A_B/A_B")).isDir());
    EXPECT_EQ(store->selection(), path("A_B/A_B"));
    EXPECT_GE(casesSpy.count(), 1);
    auto member = store->selectedMember();
    ASSERT_TRUE(member);
    EXPECT_EQ(member->profile.displayName, "A/B");
    EXPECT_EQ(member->application.kind, ApplicationKind::work);
    EXPECT_EQ(member->role, MemberRole::principal);

    store->createCase(ApplicationKind::visit, "", "");
    EXPECT_TRUE(QFileInfo(path("申请人/申请人")).isDir());

    store->createCase(ApplicationKind::visit, " C11 ", "张三");
    store->createCase(ApplicationKind::visit, "C11", "张三");
    EXPECT_TRUE(QFileInfo(path("C11-张三/张三/profile.json")).isFile());
    EXPECT_TRUE(QFileInfo(path("C11-张三 2/张三/application.json")).isFile());
    EXPECT_EQ(store->selection(), path("C11-张三 2/张三"));
    EXPECT_EQ(caseNames(*store), QStringList({"A_B", "C11-张三", "C11-张三 2", "申请人"}));
    EXPECT_EQ(store->memberApplication(path("C11-张三"), path("C11-张三/张三")).program, "C11");

    // A name of only dots makes a folder of its own, not the parent.
    auto dots = store->createCase(ClientProfile{.displayName = ".."}, Application{}, false);
    ASSERT_TRUE(dots);
    EXPECT_EQ(*dots, path("__/__"));

    // A plain file of the same name also counts as taken.
    writeText(path("X"), "x");
    auto x = store->createCase(ClientProfile{.displayName = "X"}, Application{}, false);
    EXPECT_EQ(x, path("X 2/X"));

    AppStore noRoot(AppStore::StartUp::none);
    EXPECT_FALSE(noRoot.createCase(ClientProfile{}, Application{}, true));
    EXPECT_FALSE(noRoot.createCaseWithMembers("c", {}, true));
    EXPECT_FALSE(noRoot.addMember(root, "a", MemberRole::child, Application{}));
}

TEST_F(StoreTest, CreateCaseWithMembers) {
    auto store = openStore();
    ClientProfile a;
    a.displayName = "甲";
    ClientProfile b;
    b.displayName = "";
    auto caseFolder = store->createCaseWithMembers(
        "家庭:1", {{a, demoWorkApplication(), MemberRole::principal}, {b, Application{}, MemberRole::child}}, true);
    ASSERT_EQ(caseFolder, path("家庭_1"));
    const CaseItem *c = caseNamed(*store, "家庭_1");
    ASSERT_TRUE(c);
    EXPECT_EQ(memberNames(*c), QStringList({"甲", "申请人"}));
    EXPECT_EQ(c->members[1].role, MemberRole::child);
    EXPECT_EQ(c->members[0].application, store->memberApplication(c->folder, c->members[0].folder));
    EXPECT_EQ(store->selection(), path("家庭_1/甲"));
}

TEST_F(StoreTest, AddMemberKeepsExistingMembersAndOrder) {
    auto store = openStore();
    auto caseFolder = store->createCaseWithMembers(
        "c", {{ClientProfile{.displayName = "B"}, Application{}, MemberRole::spouse},
              {ClientProfile{.displayName = "A"}, Application{}, MemberRole::principal}}, false);
    ASSERT_TRUE(caseFolder);
    // A listed member whose folder is missing stays listed.
    QDir(path("c/A")).removeRecursively();
    store->reload();
    auto first = store->addMember(*caseFolder, " 李四 ", MemberRole::child, demoApplication());
    auto second = store->addMember(*caseFolder, "李四", MemberRole::other, Application{});
    EXPECT_EQ(first, path("c/李四"));
    EXPECT_EQ(second, path("c/李四 2"));
    auto onDisk = decodeCaseFile(readText(path("c/case.json")));
    ASSERT_TRUE(onDisk);
    const CaseFile expected{{{"B", MemberRole::spouse},
                             {"A", MemberRole::principal},
                             {"李四", MemberRole::child},
                             {"李四 2", MemberRole::other}}};
    EXPECT_EQ(*onDisk, expected);
    EXPECT_EQ(store->memberProfile(*caseFolder, *first).displayName, "李四");
    EXPECT_EQ(store->memberApplication(*caseFolder, *first), demoApplication());
    EXPECT_FALSE(store->selection());
}

TEST_F(StoreTest, AddMemberReadsTheMemberListOnDisk) {
    auto store = openStore();
    // A case made by hand after the last reload: not in memory.
    writeCase("hand", R"({"members":[{"folderName":"x","role":"spouse"}]})");
    store->addMember(path("hand"), "y", MemberRole::child, Application{});
    auto onDisk = decodeCaseFile(readText(path("hand/case.json")));
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(*onDisk, (CaseFile{{{"x", MemberRole::spouse}, {"y", MemberRole::child}}}));

    // case.json edited on disk since the last reload.
    writeCase("hand", R"({"members":[{"folderName":"x","role":"spouse"},{"folderName":"y","role":"child"},{"folderName":"z","role":"other"}]})");
    store->addMember(path("hand"), "w", MemberRole::principal, Application{});
    onDisk = decodeCaseFile(readText(path("hand/case.json")));
    ASSERT_TRUE(onDisk);
    ASSERT_EQ(onDisk->members.size(), 4u);
    EXPECT_EQ(onDisk->members[2].folderName, "z");
    EXPECT_EQ(onDisk->members[3], (MemberRecord{"w", MemberRole::principal}));

    // An unreadable case.json: the list as last loaded.
    writeCase("hand", "not json");
    store->addMember(path("hand"), "v", MemberRole::child, Application{});
    onDisk = decodeCaseFile(readText(path("hand/case.json")));
    ASSERT_TRUE(onDisk);
    ASSERT_EQ(onDisk->members.size(), 5u);
    EXPECT_EQ(onDisk->members[4].folderName, "v");
}

TEST_F(StoreTest, DeletingTheSelectedCaseClearsTheSelection) {
    auto store = openStore();
    auto m1 = store->createCase(ClientProfile{.displayName = "one"}, Application{}, false);
    auto m2 = store->createCase(ClientProfile{.displayName = "two"}, Application{}, false);
    ASSERT_TRUE(m1 && m2);
    store->setSelection(path("two"));
    store->deleteCase(path("one"));
    EXPECT_FALSE(QFileInfo::exists(path("one")));
    EXPECT_EQ(caseNames(*store), QStringList({"two"}));
    EXPECT_EQ(store->selection(), path("two"));

    QSignalSpy selectionSpy(store.get(), &AppStore::selectionChanged);
    store->deleteCase(path("two"));
    EXPECT_FALSE(store->selection());
    EXPECT_EQ(selectionSpy.count(), 1);
    EXPECT_TRUE(store->cases().empty());
}

TEST_F(StoreTest, DeletingTheCaseOfTheSelectedMemberLeavesANonMatchingSelection) {
    auto store = openStore();
    auto member = store->createCase(ClientProfile{.displayName = "one"}, Application{}, true);
    store->deleteCase(path("one"));
    EXPECT_EQ(store->selection(), member);
    EXPECT_FALSE(store->selectedMember());
    EXPECT_FALSE(store->selectedCase());
}

TEST_F(StoreTest, SelectionQueriesAndMemberBinding) {
    auto store = openStore();
    store->seedSampleCases();
    EXPECT_FALSE(store->selection());
    const QString family = path("C11-张三家庭");
    const QString spouse = family + "/李梅";
    store->setSelection(family);
    ASSERT_TRUE(store->selectedCase());
    EXPECT_EQ(store->selectedCase()->folder, family);
    EXPECT_FALSE(store->selectedMember());
    EXPECT_FALSE(store->selectedMemberBinding());

    store->setSelection(spouse);
    EXPECT_EQ(store->selectedCase()->folder, family);
    ASSERT_TRUE(store->selectedMember());
    EXPECT_EQ(store->selectedMember()->role, MemberRole::spouse);
    auto binding = store->selectedMemberBinding();
    ASSERT_TRUE(binding);
    EXPECT_EQ(binding->caseFolder(), family);

    QSignalSpy casesSpy(store.get(), &AppStore::casesChanged);
    ClientProfile p = binding->profile();
    p.email = "new@example.com";
    binding->setProfile(p);
    EXPECT_EQ(casesSpy.count(), 1);
    EXPECT_EQ(store->selectedMember()->profile.email, "new@example.com");
    // Written at once, without a reload.
    EXPECT_EQ(decodeProfile(readText(spouse + "/profile.json")), p);

    Application a = binding->application();
    a.extraForms.push_back("IMM1295");
    binding->setApplication(a);
    EXPECT_EQ(decodeApplication(readText(spouse + "/application.json")), a);

    // Not found: a default record, and an update does nothing.
    EXPECT_EQ(store->memberApplication(family, family + "/nobody"), Application{});
    EXPECT_EQ(store->memberProfile(root + "/none", spouse).displayName, "");
    store->updateMemberProfile(p, root + "/none", spouse);
    EXPECT_FALSE(QFileInfo::exists(root + "/none"));

    // A binding outliving its store does nothing.
    store.reset();
    EXPECT_EQ(binding->profile().displayName, "");
    binding->setProfile(p);
}
