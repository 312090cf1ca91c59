#include "Views/CaseOverview.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

#include "Views/Icons.h"
#include "Views/Typography.h"

using namespace Typography;

namespace {

// One member row: a flat button covering the whole row.
class MemberRowButton : public QWidget {
public:
    MemberRowButton(const MemberItem &m, std::function<void()> onClick) : onClick_(std::move(onClick)) {
        setObjectName("overviewMemberRow");
        setProperty("folder", m.folder);
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
        auto *h = new QHBoxLayout(this);
        h->setContentsMargins(12, 8, 12, 8);
        h->setSpacing(10);
        auto *icon = new QLabel;
        icon->setPixmap(Icons::pixmap("person.crop.circle.fill", 22, Icons::accent()));
        h->addWidget(icon);
        auto *v = new QVBoxLayout;
        v->setSpacing(1);
        QString name = q(m.profile.displayName);
        if (name.isEmpty()) name = QFileInfo(m.folder).fileName();
        auto *n = label(name, Style::body);
        n->setObjectName("memberName");
        v->addWidget(n);
        v->addWidget(label(CaseOverview::memberSubtitle(m), Style::caption, Tone::secondary));
        h->addLayout(v, 1);
        auto *chev = new QLabel;
        chev->setPixmap(Icons::pixmap("chevron.right", 12, Icons::tertiaryText()));
        h->addWidget(chev);
    }

protected:
    void mouseReleaseEvent(QMouseEvent *e) override {
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) onClick_();
    }
    void paintEvent(QPaintEvent *) override {
        if (!underMouse()) return;
        QPainter p(this);
        QColor c = palette().color(QPalette::WindowText);
        c.setAlphaF(0.05);
        p.fillRect(rect(), c);
    }
    void enterEvent(QEnterEvent *) override { update(); }
    void leaveEvent(QEvent *) override { update(); }

private:
    std::function<void()> onClick_;
};

// The rounded background behind the member list.
class RoundedGroup : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        QColor c = palette().color(QPalette::WindowText);
        c.setAlphaF(0.05);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()), 8, 8);
        p.fillPath(path, c);
    }
};

} // namespace

QString CaseOverview::memberSubtitle(const MemberItem &m) {
    QString s = q(memberRoleLabel(m.role)) + QStringLiteral(" · ") + q(applicationKindLabel(m.application.kind));
    const QString program = q(m.application.program).trimmed();
    if (!program.isEmpty()) s += QStringLiteral("（") + program + QStringLiteral("）");
    return s;
}

CaseOverview::CaseOverview(const CaseItem &caseItem, QWidget *parent) : QScrollArea(parent), case_(caseItem) {
    setObjectName("caseOverview");
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);

    auto *page = new QWidget;
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(24, 24, 24, 24);
    v->setSpacing(16);

    auto *header = new QHBoxLayout;
    header->setSpacing(12);
    auto *icon = new QLabel;
    icon->setPixmap(Icons::pixmap("folder.fill", 34, Icons::accent()));
    header->addWidget(icon, 0, Qt::AlignVCenter);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto *name = label(QFileInfo(case_.folder).fileName(), Style::title2, Tone::primary, QFont::DemiBold);
    name->setObjectName("caseTitle");
    titles->addWidget(name);
    titles->addWidget(label(QString::number(case_.members.size()) + QStringLiteral(" 位申请人"), Style::body,
                            Tone::secondary));
    header->addLayout(titles, 1);
    v->addLayout(header);

    auto *section = new QHBoxLayout;
    section->addWidget(label(QStringLiteral("申请人"), Style::headline, Tone::secondary), 1);
    auto *add = new QToolButton;
    add->setObjectName("addMemberButton");
    add->setAutoRaise(true);
    add->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    add->setIcon(Icons::tinted("person.badge.plus", Icons::accent()));
    add->setText(QStringLiteral("添加成员"));
    add->setToolTip(QStringLiteral("给本案添加一个家庭申请人（配偶 / 子女 / 其他）"));
    add->setStyleSheet(QString("QToolButton { color: %1; }").arg(Icons::accent().name()));
    connect(add, &QToolButton::clicked, this, &CaseOverview::addMember);
    section->addWidget(add);
    v->addLayout(section);

    auto *group = new RoundedGroup;
    group->setObjectName("memberList");
    auto *list = new QVBoxLayout(group);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(0);
    for (size_t i = 0; i < case_.members.size(); ++i) {
        if (i > 0) list->addWidget(divider());
        const QString folder = case_.members[i].folder;
        list->addWidget(new MemberRowButton(case_.members[i], [this, folder] { emit pick(folder); }));
    }
    if (case_.members.empty()) group->hide();
    v->addWidget(group);
    v->addStretch(1);
    setWidget(page);
}
