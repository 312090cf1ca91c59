// The main window's screens driven as a consultant would: real widgets over a temporary archive on
// the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <memory>

#include "Model/AppStore.h"
#include "Views/AIBubble.h"
#include "Views/AIChatPanel.h"
#include "Views/AddMemberSheet.h"
#include "Views/AppStyle.h"
#include "Views/CaseSidebar.h"
#include "Views/DeleteCaseConfirmation.h"
#include "Views/MainWindow.h"
#include "Views/NewCaseSheet.h"
#include "Views/RootView.h"
#include "Views/SegmentedControl.h"

namespace {

// A private home for the whole run: settings, data folders and the trash live in it.
const QString &testHome() {
    static const QString home = [] {
        char tmpl[] = "/tmp/bramwick-views-XXXXXX";
        const char *dir = mkdtemp(tmpl);
        return QString::fromLocal8Bit(dir ? dir : "/tmp");
    }();
    return home;
}

QApplication &app() {
    static int argc = 1;
    static char name[] = "views_test";
    static char *argv[] = {name, nullptr};
    static QApplication *a = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        const QByteArray home = testHome().toLocal8Bit();
        qputenv("HOME", home);
        qputenv("XDG_DATA_HOME", home + "/data");
        qputenv("XDG_CONFIG_HOME", home + "/config");
        qputenv("XDG_CACHE_HOME", home + "/cache");
        QStandardPaths::setTestModeEnabled(true);
        // Work inside the private home: nothing the run writes may land in the source tree.
        QDir().mkpath(QString::fromLocal8Bit(home + "/data"));
        QDir::setCurrent(testHome());
        auto *created = new QApplication(argc, argv);
        applyAppLook();
        return created;
    }();
    return *a;
}

// Lets pending timers, animations and deferred deletions run.
void settle(int ms = 400) {
    QTest::qWait(ms);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Waits until cond holds (the folder watcher reloads 0.3 s after the last event).
template <class F> bool waitFor(F cond, int timeoutMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > timeoutMs) return false;
        QTest::qWait(50);
    }
    settle(50);
    return true;
}

QString name(const QString &path) { return QFileInfo(path).fileName(); }

class ViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        ASSERT_TRUE(archive_.isValid());
        store_ = std::make_unique<AppStore>(AppStore::StartUp::none);
        store_->openFolder(archive_.path());
        window_ = std::make_unique<MainWindow>(store_.get());
        window_->show();
        settle(50);
    }
    void TearDown() override {
        window_.reset();
        store_.reset();
        settle(0);
    }

    RootView *root() const { return window_->rootView(); }
    CaseSidebar *sidebar() const { return root()->sidebar(); }
    QString path(const QString &rel) const { return QDir(archive_.path()).filePath(rel); }

    // Current (not yet deleted) widgets of a kind inside w.
    template <class T = QWidget> QList<T *> live(QWidget *w, const QString &objectName) const {
        QList<T *> out;
        for (T *c : w->findChildren<T *>(objectName))
            if (c->isVisibleTo(w)) out << c;
        return out;
    }
    QStringList caseRowNames() const {
        QStringList names;
        for (QWidget *row : live(sidebar(), "caseRow")) names << row->findChild<QLabel *>("caseName")->text();
        return names;
    }
    QWidget *row(const QString &objectName, const QString &folder) const {
        for (QWidget *r : live(sidebar(), objectName))
            if (r->property("folder").toString() == folder) return r;
        return nullptr;
    }
    template <class T> T *openSheet(const char *objectName) {
        settle(50);
        for (T *s : window_->findChildren<T *>(objectName))
            if (s->isVisible()) return s;
        return nullptr;
    }

    QTemporaryDir archive_;
    std::unique_ptr<AppStore> store_;
    std::unique_ptr<MainWindow> window_;
};

TEST(ViewsShellTest, WithoutArchiveAsksForFolderAndDisablesPlus) {
    app();
    AppStore store(AppStore::StartUp::none);
    MainWindow window(&store);
    window.show();
    settle(50);
    EXPECT_GE(window.minimumWidth(), 900);
    EXPECT_GE(window.minimumHeight(), 600);
    EXPECT_EQ(window.rootView()->page(), RootView::Page::chooseFolder);
    EXPECT_EQ(window.rootView()->detailPage()->objectName(), "chooseFolderView");
    auto *plus = window.findChild<QToolButton *>("newCasePlusButton");
    ASSERT_NE(plus, nullptr);
    EXPECT_FALSE(plus->isEnabled());
    EXPECT_EQ(window.findChild<QLabel *>("sidebarTitle")->text(), "案件");
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1000);
}

TEST_F(ViewsTest, EmptyArchiveSeedsSampleCasesAndShowsWelcome) {
    EXPECT_EQ(root()->page(), RootView::Page::emptyArchive);
    EXPECT_TRUE(window_->findChild<QToolButton *>("newCasePlusButton")->isEnabled());
    auto *seed = root()->detailPage()->findChild<QPushButton *>("seedButton");
    ASSERT_NE(seed, nullptr);
    EXPECT_EQ(seed->text(), "添加演示案件");
    EXPECT_EQ(root()->detailPage()->findChild<QPushButton *>("newCaseButton")->text(), "新建案件…");

    QTest::mouseClick(seed, Qt::LeftButton);
    settle();

    ASSERT_EQ(store_->cases().size(), 2u);
    EXPECT_EQ(root()->page(), RootView::Page::welcome);
    EXPECT_EQ(root()->detailPage()->objectName(), "welcomeView");
    EXPECT_FALSE(store_->selection().has_value());
    const QStringList names = caseRowNames();
    ASSERT_EQ(names.size(), 2);
    EXPECT_TRUE(names.contains("C11-张三家庭")) << names.join(",").toStdString();
    EXPECT_TRUE(names.filter(QRegularExpression("^TRV-.+")).size() == 1) << names.join(",").toStdString();
    EXPECT_TRUE(live(sidebar(), "memberRow").isEmpty()) << "cases start collapsed";
}

TEST_F(ViewsTest, CreateWithEmptyFieldsMakesWorkCaseAndOpensItsMember) {
    // A cancelled sheet creates nothing, and the next opening starts afresh.
    root()->openNewCaseSheet();
    auto *sheet = openSheet<NewCaseSheet>("newCaseSheet");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->kind(), ApplicationKind::work);
    EXPECT_EQ(sheet->findChild<SegmentedControl *>("kindPicker")->labels(),
              QStringList({"访问签（IMM 5257）", "工作许可（IMM 1295）"}));
    sheet->findChild<SegmentedControl *>("kindPicker")->setCurrentIndex(0);
    sheet->findChild<QLineEdit *>("nameField")->setText("张三");
    QTest::mouseClick(sheet->findChild<QPushButton *>("cancelButton"), Qt::LeftButton);
    settle();
    EXPECT_TRUE(store_->cases().empty());
    EXPECT_TRUE(QDir(archive_.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

    root()->openNewCaseSheet();
    sheet = openSheet<NewCaseSheet>("newCaseSheet");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->kind(), ApplicationKind::work);
    EXPECT_TRUE(sheet->name().isEmpty());
    EXPECT_TRUE(sheet->program().isEmpty());
    QTest::mouseClick(sheet->findChild<QPushButton *>("createButton"), Qt::LeftButton);
    settle();

    EXPECT_TRUE(QFileInfo(path("申请人/申请人/profile.json")).isFile());
    ASSERT_EQ(store_->cases().size(), 1u);
    const CaseItem &c = store_->cases()[0];
    ASSERT_EQ(c.members.size(), 1u);
    EXPECT_EQ(c.members[0].role, MemberRole::principal);
    EXPECT_EQ(c.members[0].application.kind, ApplicationKind::work);
    EXPECT_EQ(root()->page(), RootView::Page::memberDetail);
    EXPECT_EQ(root()->detailPage()->findChild<QLabel *>("memberTitle")->text(), "申请人");
    // The sidebar lists the new case expanded with its member highlighted.
    QWidget *member = row("memberRow", path("申请人/申请人"));
    ASSERT_NE(member, nullptr);
    EXPECT_TRUE(member->property("selected").toBool());

    // Back from the member detail goes to the case overview, sliding backwards.
    QTest::mouseClick(root()->detailPage()->findChild<QToolButton *>("backButton"), Qt::LeftButton);
    settle();
    EXPECT_FALSE(root()->navForward());
    EXPECT_EQ(root()->page(), RootView::Page::caseOverview);
}

TEST_F(ViewsTest, AddMemberSheetOffersOnlySpouseChildAndOther) {
    store_->createCase(ApplicationKind::work, "C11", "张三");
    store_->setSelection(path("C11-张三"));
    settle();
    ASSERT_EQ(root()->page(), RootView::Page::caseOverview);
    QTest::mouseClick(root()->detailPage()->findChild<QToolButton *>("addMemberButton"), Qt::LeftButton);
    auto *sheet = openSheet<AddMemberSheet>("addMemberSheet");
    ASSERT_NE(sheet, nullptr);
    auto *roles = sheet->findChild<SegmentedControl *>("rolePicker");
    EXPECT_EQ(roles->labels(), QStringList({"配偶", "子女", "其他申请人"}));
    EXPECT_EQ(sheet->role(), MemberRole::child);
    EXPECT_EQ(sheet->kind(), ApplicationKind::visit);
    roles->setCurrentIndex(0);
    sheet->findChild<QLineEdit *>("nameField")->setText("  李四 ");
    sheet->findChild<QLineEdit *>("programField")->setText(" TRV ");
    QTest::mouseClick(sheet->findChild<QPushButton *>("addButton"), Qt::LeftButton);
    settle();

    ASSERT_EQ(store_->cases().size(), 1u);
    const CaseItem &c = store_->cases()[0];
    ASSERT_EQ(c.members.size(), 2u);
    EXPECT_EQ(c.members[1].role, MemberRole::spouse);
    EXPECT_EQ(name(c.members[1].folder), "李四");
    EXPECT_EQ(c.members[1].application.kind, ApplicationKind::visit);
    EXPECT_EQ(c.members[1].application.program, "TRV");
    EXPECT_EQ(store_->selection(), std::optional<QString>(path("C11-张三")));
    // The overview shows the new member with its subtitle.
    const auto rows = live(root()->detailPage(), "overviewMemberRow");
    ASSERT_EQ(rows.size(), 2);
    QStringList texts;
    for (QLabel *l : rows[1]->findChildren<QLabel *>()) texts << l->text();
    EXPECT_TRUE(texts.contains("配偶 · 访问签（TRV）")) << texts.join("|").toStdString();

    // Picking a member in the overview opens it and expands its case in the sidebar.
    QTest::mouseClick(rows[1], Qt::LeftButton);
    settle();
    EXPECT_TRUE(root()->navForward());
    EXPECT_EQ(root()->page(), RootView::Page::memberDetail);
    EXPECT_TRUE(sidebar()->isExpanded(path("C11-张三")));
}

TEST_F(ViewsTest, DeleteConfirmationCancelKeepsAndConfirmMovesToTrash) {
    store_->createCase(ApplicationKind::visit, "TRV", "甲");
    store_->createCase(ApplicationKind::visit, "TRV", "乙");
    const QString doomed = path("TRV-甲");
    store_->setSelection(path("TRV-甲/甲"));
    settle();
    ASSERT_EQ(root()->page(), RootView::Page::memberDetail);

    const auto caseOf = [&](const QString &folder) {
        for (const CaseItem &c : store_->cases())
            if (c.folder == folder) return c;
        return CaseItem{};
    };
    root()->requestDelete(caseOf(doomed));
    auto *alert = openSheet<DeleteCaseConfirmation>("deleteConfirmation");
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->informativeText(), "将把「TRV-甲」整个案件文件夹移到废纸篓（可从废纸篓恢复）。");
    QTest::mouseClick(alert->cancelButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(QFileInfo(doomed).isDir());
    EXPECT_EQ(store_->cases().size(), 2u);
    EXPECT_EQ(store_->selection(), std::optional<QString>(path("TRV-甲/甲")));
    EXPECT_EQ(root()->page(), RootView::Page::memberDetail);

    root()->requestDelete(caseOf(doomed));
    alert = openSheet<DeleteCaseConfirmation>("deleteConfirmation");
    ASSERT_NE(alert, nullptr);
    QTest::mouseClick(alert->deleteButton(), Qt::LeftButton);
    settle();
    EXPECT_FALSE(QFileInfo::exists(doomed));
    ASSERT_EQ(store_->cases().size(), 1u);
    EXPECT_EQ(name(store_->cases()[0].folder), "TRV-乙");
    EXPECT_EQ(root()->page(), RootView::Page::welcome) << "a selection inside the deleted case matches nothing";
    EXPECT_FALSE(root()->assistantClientName().has_value());
    // The folder went to the trash, not away.
    bool inTrash = false;
    QDirIterator it(testHome(), QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (QFileInfo(it.next()).fileName() == "TRV-甲" && QFileInfo(it.filePath()).dir().dirName() == "files") inTrash = true;
    EXPECT_TRUE(inTrash);
}

TEST_F(ViewsTest, SidebarClicksSelectAndToggleAndRenameOnDiskShowsCollapsed) {
    store_->createCase(ApplicationKind::work, "C11", "王五");
    store_->setSelection(std::nullopt);
    settle();
    const QString folder = path("C11-王五");
    // The new case was listed expanded (its member was selected); start from collapsed.
    if (sidebar()->isExpanded(folder)) sidebar()->toggleExpanded(folder);
    settle(50);
    QWidget *caseRow = row("caseRow", folder);
    ASSERT_NE(caseRow, nullptr);

    QTest::mouseClick(caseRow, Qt::LeftButton);
    settle();
    EXPECT_EQ(store_->selection(), std::optional<QString>(folder));
    EXPECT_EQ(root()->page(), RootView::Page::caseOverview);
    EXPECT_FALSE(sidebar()->isExpanded(folder)) << "a single click does not expand";
    EXPECT_TRUE(row("caseRow", folder)->property("selected").toBool());

    QTest::mouseDClick(row("caseRow", folder), Qt::LeftButton);
    settle();
    EXPECT_TRUE(sidebar()->isExpanded(folder));
    ASSERT_NE(row("memberRow", path("C11-王五/王五")), nullptr);
    QTest::mouseDClick(row("caseRow", folder), Qt::LeftButton);
    settle();
    EXPECT_FALSE(sidebar()->isExpanded(folder));
    EXPECT_EQ(row("memberRow", path("C11-王五/王五")), nullptr);

    // Expand again, select the member, then rename the case folder behind the program's back.
    QTest::mouseClick(row("caseRow", folder)->findChild<QToolButton *>("disclosureButton"), Qt::LeftButton);
    settle();
    QTest::mouseClick(row("memberRow", path("C11-王五/王五")), Qt::LeftButton);
    settle();
    ASSERT_EQ(root()->page(), RootView::Page::memberDetail);
    ASSERT_TRUE(QDir().rename(folder, path("C11-王五 已改名")));
    ASSERT_TRUE(waitFor([&] { return caseRowNames() == QStringList({"C11-王五 已改名"}); }))
        << caseRowNames().join(",").toStdString();
    EXPECT_TRUE(live(sidebar(), "memberRow").isEmpty()) << "the renamed case shows collapsed";
    for (QWidget *r : live(sidebar(), "caseRow")) EXPECT_FALSE(r->property("selected").toBool());
    EXPECT_EQ(root()->page(), RootView::Page::welcome);
}

TEST_F(ViewsTest, AssistantPanelNamesTheSelectedClient) {
    store_->createCase(ApplicationKind::visit, "TRV", "赵六");
    settle();
    ASSERT_EQ(root()->page(), RootView::Page::memberDetail);
    auto *toggle = window_->assistantToggle();
    EXPECT_EQ(toggle->toolTip(), "打开 AI 校对助手（演示）");
    QTest::mouseClick(toggle, Qt::LeftButton);
    settle();
    EXPECT_TRUE(root()->showAI());
    EXPECT_EQ(toggle->toolTip(), "收起 AI 校对助手");
    AIChatPanel *panel = root()->assistantPanel();
    EXPECT_EQ(panel->width(), 340);
    EXPECT_GT(panel->mapTo(window_.get(), QPoint(0, 0)).x(), window_->width() - 360) << "at the trailing edge";
    EXPECT_EQ(panel->skills(), AIChatPanel::defaultSkills());
    EXPECT_EQ(live(panel, "skillChip").size(), 4);

    const auto firstMessage = [&] {
        const auto bubbles = live<AIBubble>(panel, "aiBubble");
        return bubbles.isEmpty() ? QString() : bubbles.first()->text();
    };
    EXPECT_EQ(live<AIBubble>(panel, "aiBubble").size(), 6);
    EXPECT_EQ(firstMessage(), "帮我校对一下「赵六」的 IMM 5257。");
    store_->setSelection(path("TRV-赵六"));
    settle();
    EXPECT_EQ(firstMessage(), "帮我校对一下「TRV-赵六」的 IMM 5257。");
    store_->setSelection(std::nullopt);
    settle();
    EXPECT_EQ(firstMessage(), "帮我校对一下「当前客户」的 IMM 5257。");

    QTest::mouseClick(panel->findChild<QToolButton *>("aiCloseButton"), Qt::LeftButton);
    settle();
    EXPECT_FALSE(root()->showAI());
    EXPECT_EQ(toggle->toolTip(), "打开 AI 校对助手（演示）");
}

} // namespace
