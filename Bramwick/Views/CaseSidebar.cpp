#include "Views/CaseSidebar.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "Views/Icons.h"
#include "Views/Typography.h"

using namespace Typography;

namespace {

// A sidebar row: paints the selection background and reports clicks.
class SidebarRow : public QWidget {
public:
    explicit SidebarRow(const QString &folder) {
        setProperty("folder", folder);
        setAttribute(Qt::WA_Hover);
    }
    std::function<void()> onClick, onDoubleClick;
    std::function<void(const QPoint &)> onMenu;
    void setSelected(bool s) {
        if (s == selected_) return;
        selected_ = s;
        setProperty("selected", s);
        update();
    }
    bool selected() const { return selected_; }

protected:
    void mousePressEvent(QMouseEvent *e) override {
        if (e->button() == Qt::LeftButton && onClick) onClick();
    }
    void mouseDoubleClickEvent(QMouseEvent *e) override {
        if (e->button() != Qt::LeftButton) return;
        if (onClick) onClick();
        if (onDoubleClick) onDoubleClick();
    }
    void contextMenuEvent(QContextMenuEvent *e) override {
        if (onMenu) onMenu(e->globalPos());
    }
    void paintEvent(QPaintEvent *) override {
        if (!selected_) return;
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QColor c = Icons::accent();
        c.setAlphaF(0.18);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0, 1, 0, -1), 6, 6);
        p.fillPath(path, c);
    }

private:
    bool selected_ = false;
};

QString memberTitle(const MemberItem &m) {
    QString n = q(m.profile.displayName);
    return n.isEmpty() ? QFileInfo(m.folder).fileName() : n;
}

} // namespace

CaseSidebar::CaseSidebar(AppStore *store, QWidget *parent) : QWidget(parent), store_(store) {
    setObjectName("caseSidebar");
    setMinimumWidth(minimumWidthPx);
    setMaximumWidth(maximumWidthPx);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto *header = new QWidget;
    auto *hh = new QHBoxLayout(header);
    hh->setContentsMargins(16, 10, 10, 6);
    auto *title = label(QStringLiteral("案件"), Style::headline, Tone::secondary);
    title->setObjectName("sidebarTitle");
    hh->addWidget(title, 1);
    plus_ = new QToolButton;
    plus_->setObjectName("newCasePlusButton");
    plus_->setAutoRaise(true);
    plus_->setIcon(Icons::tinted("plus", palette().color(QPalette::WindowText)));
    plus_->setToolTip(QStringLiteral("新建案件…"));
    connect(plus_, &QToolButton::clicked, this, &CaseSidebar::newCaseRequested);
    hh->addWidget(plus_);
    v->addWidget(header);

    scroll_ = new QScrollArea;
    scroll_->setObjectName("caseList");
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->addWidget(scroll_, 1);

    connect(store_, &AppStore::casesChanged, this, &CaseSidebar::scheduleRebuild);
    connect(store_, &AppStore::rootURLChanged, this, &CaseSidebar::scheduleRebuild);
    connect(store_, &AppStore::selectionChanged, this, &CaseSidebar::followSelection);
    rebuild();
}

void CaseSidebar::toggleExpanded(const QString &caseFolder) {
    if (expanded_.contains(caseFolder)) expanded_.remove(caseFolder);
    else expanded_.insert(caseFolder);
    scheduleRebuild();
}

void CaseSidebar::followSelection() {
    if (store_->selectedMember()) {
        if (auto c = store_->selectedCase(); c && !expanded_.contains(c->folder)) {
            expanded_.insert(c->folder);
            scheduleRebuild();
        }
    }
    updateSelectionHighlight();
}

void CaseSidebar::updateSelectionHighlight() {
    if (!list_) return;
    const auto sel = store_->selection();
    for (auto *row : list_->findChildren<QWidget *>()) {
        if (row->objectName() != "caseRow" && row->objectName() != "memberRow") continue;
        static_cast<SidebarRow *>(row)->setSelected(sel && *sel == row->property("folder").toString());
    }
}

// Rows are rebuilt after the current event has been handled, so that a row is never deleted from
// inside its own mouse handler.
void CaseSidebar::scheduleRebuild() {
    if (rebuildPending_) return;
    rebuildPending_ = true;
    QTimer::singleShot(0, this, [this] { rebuild(); });
}

void CaseSidebar::rebuild() {
    rebuildPending_ = false;
    plus_->setEnabled(store_->rootURL().has_value());

    auto *list = new QWidget;
    list->setObjectName("caseRows");
    auto *rows = new QVBoxLayout(list);
    rows->setContentsMargins(8, 2, 8, 8);
    rows->setSpacing(0);

    for (const CaseItem &c : store_->cases()) {
        const QString folder = c.folder;
        auto *row = new SidebarRow(folder);
        row->setObjectName("caseRow");
        auto *h = new QHBoxLayout(row);
        h->setContentsMargins(4, 5, 8, 5);
        h->setSpacing(6);
        auto *disc = new QToolButton;
        disc->setObjectName("disclosureButton");
        disc->setAutoRaise(true);
        disc->setFixedSize(18, 18);
        disc->setIconSize(QSize(12, 12));
        const bool open = expanded_.contains(folder);
        disc->setIcon(Icons::tinted(open ? "chevron.down" : "chevron.right", Icons::secondaryText()));
        disc->setStyleSheet("QToolButton { border: none; padding: 0; }");
        connect(disc, &QToolButton::clicked, this, [this, folder] { toggleExpanded(folder); });
        h->addWidget(disc);
        auto *icon = new QLabel;
        icon->setPixmap(Icons::pixmap("folder.fill", 18, Icons::accent()));
        h->addWidget(icon);
        auto *name = label(QFileInfo(folder).fileName(), Style::body, Tone::primary, QFont::Medium);
        name->setObjectName("caseName");
        name->setTextFormat(Qt::PlainText);
        name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        h->addWidget(name, 1);
        row->onClick = [this, folder] { store_->setSelection(folder); };
        row->onDoubleClick = [this, folder] { toggleExpanded(folder); };
        QPointer<CaseSidebar> self(this);
        row->onMenu = [self, folder](const QPoint &pos) {
            if (!self) return;
            QMenu menu;
            menu.setObjectName("caseContextMenu");
            QAction *openA = menu.addAction(Icons::icon("folder"), QStringLiteral("打开文件夹"));
            QAction *renameA = menu.addAction(Icons::icon("pencil"), QStringLiteral("在 Finder 中重命名"));
            menu.addSeparator();
            QAction *deleteA = menu.addAction(Icons::tinted("trash", QColor(0xc6, 0x28, 0x28)), QStringLiteral("删除案件"));
            QAction *chosen = menu.exec(pos);
            if (!self) return;
            if (chosen == openA) openInFileManager(folder);
            else if (chosen == renameA) revealInFileManager(folder);
            else if (chosen == deleteA) {
                for (const CaseItem &ci : self->store_->cases())
                    if (ci.folder == folder) {
                        emit self->deleteRequested(ci);
                        break;
                    }
            }
        };
        rows->addWidget(row);

        if (!open) continue;
        for (const MemberItem &m : c.members) {
            const QString mf = m.folder;
            auto *mrow = new SidebarRow(mf);
            mrow->setObjectName("memberRow");
            auto *mh = new QHBoxLayout(mrow);
            mh->setContentsMargins(4 + 20, 4, 8, 4);
            mh->setSpacing(8);
            auto *micon = new QLabel;
            micon->setPixmap(Icons::pixmap("person.crop.circle.fill", 20, Icons::accent()));
            mh->addWidget(micon);
            auto *mv = new QVBoxLayout;
            mv->setSpacing(0);
            auto *mname = label(memberTitle(m), Style::body);
            mname->setObjectName("memberName");
            mname->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            mv->addWidget(mname);
            mv->addWidget(label(q(memberRoleLabel(m.role)), Style::caption, Tone::secondary));
            mh->addLayout(mv, 1);
            mrow->onClick = [this, mf] { store_->setSelection(mf); };
            rows->addWidget(mrow);
        }
    }
    rows->addStretch(1);

    const int y = scroll_->widget() ? scroll_->verticalScrollBar()->value() : 0;
    QWidget *old = scroll_->takeWidget();
    if (old) old->deleteLater();
    list_ = list;
    rows_ = rows;
    scroll_->setWidget(list);
    scroll_->verticalScrollBar()->setValue(y);
    updateSelectionHighlight();
}

void CaseSidebar::openInFileManager(const QString &folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void CaseSidebar::revealInFileManager(const QString &folder) {
#if defined(Q_OS_MACOS)
    QProcess::startDetached("open", {"-R", folder});
#elif defined(Q_OS_WIN)
    QProcess::startDetached("explorer.exe", {"/select,", QDir::toNativeSeparators(folder)});
#else
    // Ask a file manager that implements the freedesktop FileManager1 interface to show the
    // folder selected; otherwise open the folder that holds it.
    const QString dbus = QStandardPaths::findExecutable("dbus-send");
    bool shown = false;
    if (!dbus.isEmpty() && !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        QProcess p;
        p.start(dbus, {"--session", "--print-reply", "--dest=org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                   "org.freedesktop.FileManager1.ShowItems",
                   "array:string:" + QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded), "string:"});
        shown = p.waitForFinished(2000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    if (!shown) QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(folder).absolutePath()));
#endif
}
