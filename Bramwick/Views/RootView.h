#pragma once
// The window's content: the case sidebar, the detail area chosen from the store's selection, the
// assistant panel at the trailing edge, and the sheets and confirmations that create cases, add
// members and delete cases.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "Model/AppStore.h"

class AIChatPanel;
class CaseSidebar;
class QSplitter;
class SlideTransition;
class AssistantDrawer;

class RootView : public QWidget {
    Q_OBJECT
public:
    enum class Page { chooseFolder, memberDetail, caseOverview, welcome, emptyArchive };

    // Builds the member detail page; the default shows a placeholder with the member's title.
    // `back` runs the back action of the root view.
    using MemberDetailFactory =
        std::function<QWidget *(AppStore *store, const MemberBinding &binding, const QString &title,
                                std::function<void()> back)>;
    static void setMemberDetailFactory(MemberDetailFactory factory);

    static constexpr int assistantAnimationMs = 220;

    explicit RootView(AppStore *store, QWidget *parent = nullptr);

    AppStore *store() const { return store_; }
    CaseSidebar *sidebar() const { return sidebar_; }
    Page page() const { return page_; }
    QWidget *detailPage() const;
    bool navForward() const { return navForward_; }

    // Assistant panel.
    bool showAI() const { return showAI_; }
    void setShowAI(bool show);
    void toggleAI() { setShowAI(!showAI_); }
    AIChatPanel *assistantPanel() const;
    // The client the assistant talks about: the selected member's name (its folder name when the
    // name is empty), else the selected case's folder name, else none.
    std::optional<QString> assistantClientName() const;

    // Sheets and confirmations (shown window-modal; they do not block the caller).
    void openNewCaseSheet();
    void openAddMemberSheet(const QString &caseFolder);
    void requestDelete(const CaseItem &caseItem);
    void chooseFolder();

    // Navigation inside the detail area.
    void pickMember(const QString &memberFolder);
    void goBack();

signals:
    void showAIChanged(bool shown);

private:
    struct Key {
        Page page = Page::welcome;
        QString id;
        bool operator==(const Key &) const = default;
    };
    Key currentKey() const;
    QWidget *buildPage(const Key &key);
    void showPage(bool slide);
    void storeChanged();
    void updateAssistant();
    bool sheetOpen() const;

    AppStore *store_;
    CaseSidebar *sidebar_;
    QSplitter *split_;
    SlideTransition *detail_;
    AssistantDrawer *drawer_;
    Page page_ = Page::welcome;
    Key key_;
    std::optional<CaseItem> shownCase_;

    // Sheet state.
    ApplicationKind newCaseKind_ = ApplicationKind::work;
    QString newCaseProgram_, newCaseName_;
    std::optional<QString> addMemberTo_;
    ApplicationKind newMemberKind_ = ApplicationKind::visit;
    MemberRole newMemberRole_ = MemberRole::child;
    QString newMemberProgram_, newMemberName_;
    std::optional<CaseItem> pendingDelete_;
    QPointer<QWidget> sheet_;

    bool showAI_ = false;
    bool navForward_ = true;
};
