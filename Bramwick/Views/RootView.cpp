#include "Views/RootView.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QVariantAnimation>
#include <QResizeEvent>
#include <QSplitter>

#include "Views/AIChatPanel.h"
#include "Views/AddMemberSheet.h"
#include "Views/CaseOverview.h"
#include "Views/CaseSidebar.h"
#include "Views/ChooseFolderView.h"
#include "Views/DeleteCaseConfirmation.h"
#include "Views/EmptyArchiveView.h"
#include "Views/MemberDetailPlaceholder.h"
#include "Views/NewCaseSheet.h"
#include "Views/SlideTransition.h"
#include "Views/Typography.h"
#include "Views/WelcomeView.h"

using Typography::q;

// The trailing-edge holder of the assistant panel: its width animates between 0 and the panel's
// width plus the divider, and the panel keeps its full width at the holder's leading edge, so it
// slides in from (and out to) the trailing edge.
class AssistantDrawer : public QWidget {
public:
    explicit AssistantDrawer(AIChatPanel *panel, QWidget *parent = nullptr) : QWidget(parent), panel_(panel) {
        setObjectName("assistantDrawer");
        line_ = new QFrame(this);
        line_->setFrameShape(QFrame::VLine);
        line_->setFrameShadow(QFrame::Plain);
        QPalette p = line_->palette();
        QColor c = p.color(QPalette::WindowText);
        c.setAlphaF(0.15);
        p.setColor(QPalette::WindowText, c);
        line_->setPalette(p);
        panel_->setParent(this);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        setFixedWidth(0);
        anim_ = new QVariantAnimation(this);
        connect(anim_, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) { setFixedWidth(v.toInt()); });
    }
    static int fullWidth() { return AIChatPanel::panelWidth + 1; }
    AIChatPanel *panel() const { return panel_; }
    void animateTo(bool open) {
        anim_->stop();
        anim_->setStartValue(width());
        anim_->setEndValue(open ? fullWidth() : 0);
        anim_->setDuration(RootView::assistantAnimationMs);
        anim_->setEasingCurve(QEasingCurve::InOutQuad);
        if (!isVisible()) {
            setFixedWidth(open ? fullWidth() : 0);
            return;
        }
        anim_->start();
    }

protected:
    void resizeEvent(QResizeEvent *e) override {
        QWidget::resizeEvent(e);
        line_->setGeometry(0, 0, 1, height());
        panel_->setGeometry(1, 0, AIChatPanel::panelWidth, height());
    }
private:
    AIChatPanel *panel_;
    QFrame *line_;
    QVariantAnimation *anim_;
};

namespace {

RootView::MemberDetailFactory &memberDetailFactory() {
    static RootView::MemberDetailFactory f;
    return f;
}

QString memberTitle(const MemberItem &m) {
    const QString n = q(m.profile.displayName);
    return n.isEmpty() ? QFileInfo(m.folder).fileName() : n;
}

} // namespace

void RootView::setMemberDetailFactory(MemberDetailFactory factory) { memberDetailFactory() = std::move(factory); }

RootView::RootView(AppStore *store, QWidget *parent) : QWidget(parent), store_(store) {
    setObjectName("rootView");
    auto *h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);

    split_ = new QSplitter(Qt::Horizontal);
    split_->setObjectName("rootSplit");
    split_->setChildrenCollapsible(false);
    split_->setHandleWidth(1);
    sidebar_ = new CaseSidebar(store_);
    detail_ = new SlideTransition;
    detail_->setMinimumWidth(420);
    split_->addWidget(sidebar_);
    split_->addWidget(detail_);
    split_->setStretchFactor(0, 0);
    split_->setStretchFactor(1, 1);
    split_->setSizes({CaseSidebar::idealWidthPx, 800});
    h->addWidget(split_, 1);

    auto *panel = new AIChatPanel(std::nullopt, AIChatPanel::defaultSkills());
    drawer_ = new AssistantDrawer(panel);
    h->addWidget(drawer_);
    connect(panel, &AIChatPanel::closeRequested, this, [this] { setShowAI(false); });

    connect(sidebar_, &CaseSidebar::newCaseRequested, this, &RootView::openNewCaseSheet);
    connect(sidebar_, &CaseSidebar::deleteRequested, this, &RootView::requestDelete);

    connect(store_, &AppStore::selectionChanged, this, [this] {
        showPage(true);
        updateAssistant();
    });
    connect(store_, &AppStore::casesChanged, this, &RootView::storeChanged);
    connect(store_, &AppStore::rootURLChanged, this, &RootView::storeChanged);

    showPage(false);
    updateAssistant();
}

QWidget *RootView::detailPage() const { return detail_->page(); }

AIChatPanel *RootView::assistantPanel() const { return drawer_->panel(); }

RootView::Key RootView::currentKey() const {
    if (!store_->rootURL()) return {Page::chooseFolder, {}};
    if (auto m = store_->selectedMember(); m && store_->selectedMemberBinding()) return {Page::memberDetail, m->folder};
    if (auto c = store_->selectedCase()) return {Page::caseOverview, c->folder};
    if (!store_->cases().empty()) return {Page::welcome, {}};
    return {Page::emptyArchive, {}};
}

QWidget *RootView::buildPage(const Key &key) {
    shownCase_.reset();
    switch (key.page) {
    case Page::chooseFolder: {
        auto *w = new ChooseFolderView;
        connect(w, &ChooseFolderView::chooseRequested, this, &RootView::chooseFolder);
        return w;
    }
    case Page::memberDetail: {
        const auto m = store_->selectedMember();
        const auto binding = store_->selectedMemberBinding();
        const QString title = memberTitle(*m);
        auto back = [this] { goBack(); };
        if (memberDetailFactory()) {
            if (QWidget *w = memberDetailFactory()(store_, *binding, title, back)) return w;
        }
        auto *w = new MemberDetailPlaceholder(*binding, title);
        connect(w, &MemberDetailPlaceholder::backRequested, this, &RootView::goBack);
        return w;
    }
    case Page::caseOverview: {
        const auto c = store_->selectedCase();
        shownCase_ = c;
        auto *w = new CaseOverview(*c);
        const QString folder = c->folder;
        connect(w, &CaseOverview::pick, this, &RootView::pickMember);
        connect(w, &CaseOverview::addMember, this, [this, folder] { openAddMemberSheet(folder); });
        return w;
    }
    case Page::welcome:
        return new WelcomeView;
    case Page::emptyArchive: {
        auto *w = new EmptyArchiveView;
        connect(w, &EmptyArchiveView::seedRequested, this, [this] { store_->seedSampleCases(); });
        connect(w, &EmptyArchiveView::newCaseRequested, this, &RootView::openNewCaseSheet);
        return w;
    }
    }
    return new QWidget;
}

void RootView::showPage(bool slide) {
    key_ = currentKey();
    page_ = key_.page;
    QWidget *w = buildPage(key_);
    detail_->setPage(w, navForward_, slide);
}

// The archive was re-read or records changed: keep the page when it still shows the same thing
// (the member detail keeps its own state), rebuild it in place otherwise.
void RootView::storeChanged() {
    const Key key = currentKey();
    if (key == key_) {
        if (key.page == Page::memberDetail || key.page == Page::welcome || key.page == Page::chooseFolder ||
            key.page == Page::emptyArchive)
            return updateAssistant();
        if (key.page == Page::caseOverview && store_->selectedCase() == shownCase_) return updateAssistant();
    }
    key_ = key;
    page_ = key.page;
    QWidget *w = buildPage(key);
    detail_->setPage(w, navForward_, false);
    updateAssistant();
}

std::optional<QString> RootView::assistantClientName() const {
    if (auto m = store_->selectedMember()) return memberTitle(*m);
    if (auto c = store_->selectedCase()) return QFileInfo(c->folder).fileName();
    return std::nullopt;
}

void RootView::updateAssistant() { drawer_->panel()->setClientName(assistantClientName()); }

void RootView::setShowAI(bool show) {
    if (show == showAI_) return;
    showAI_ = show;
    if (show) updateAssistant();
    drawer_->animateTo(show);
    emit showAIChanged(show);
}

bool RootView::sheetOpen() const { return !sheet_.isNull(); }

void RootView::openNewCaseSheet() {
    if (sheetOpen()) return;
    newCaseKind_ = ApplicationKind::work;
    newCaseProgram_.clear();
    newCaseName_.clear();
    auto *sheet = new NewCaseSheet(newCaseKind_, newCaseProgram_, newCaseName_, window());
    sheet_ = sheet;
    connect(sheet, &NewCaseSheet::create, this, [this, sheet] {
        store_->createCase(sheet->kind(), sheet->program(), sheet->name());
    });
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        newCaseKind_ = sheet->kind();
        newCaseProgram_ = sheet->program();
        newCaseName_ = sheet->name();
        sheet->deleteLater();
    });
    sheet->open();
}

void RootView::openAddMemberSheet(const QString &caseFolder) {
    if (sheetOpen()) return;
    newMemberKind_ = ApplicationKind::visit;
    newMemberRole_ = MemberRole::child;
    newMemberProgram_.clear();
    newMemberName_.clear();
    addMemberTo_ = caseFolder;
    auto *sheet = new AddMemberSheet(newMemberKind_, newMemberRole_, newMemberProgram_, newMemberName_, window());
    sheet_ = sheet;
    connect(sheet, &AddMemberSheet::add, this, [this, sheet] {
        if (!addMemberTo_) return;
        Application app;
        app.kind = sheet->kind();
        app.program = sheet->program().trimmed().toStdString();
        store_->addMember(*addMemberTo_, sheet->name(), sheet->role(), app);
    });
    connect(sheet, &QDialog::finished, this, [this, sheet] {
        newMemberKind_ = sheet->kind();
        newMemberRole_ = sheet->role();
        newMemberProgram_ = sheet->program();
        newMemberName_ = sheet->name();
        addMemberTo_.reset();
        sheet->deleteLater();
    });
    sheet->open();
}

void RootView::requestDelete(const CaseItem &caseItem) {
    if (pendingDelete_) return;
    pendingDelete_ = caseItem;
    auto *alert = new DeleteCaseConfirmation(caseItem.folder, window());
    connect(alert, &QMessageBox::finished, this, [this, alert] {
        const bool confirmed = alert->confirmed();
        const std::optional<CaseItem> pending = pendingDelete_;
        pendingDelete_.reset();
        alert->deleteLater();
        if (confirmed && pending) store_->deleteCase(pending->folder);
    });
    alert->open();
}

void RootView::chooseFolder() {
    QFileDialog dialog(window(), QStringLiteral("选择存放案件的文件夹（每个案件一个子文件夹）"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("选择"));
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return;
    store_->chooseFolder(files.first());
}

void RootView::pickMember(const QString &memberFolder) {
    navForward_ = true;
    store_->setSelection(memberFolder);
}

void RootView::goBack() {
    navForward_ = false;
    const auto c = store_->selectedCase();
    store_->setSelection(c ? std::optional<QString>(c->folder) : std::nullopt);
}
