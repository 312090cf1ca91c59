#include "Views/MemberDetailPlaceholder.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "Views/Icons.h"
#include "Views/Typography.h"

using namespace Typography;

MemberDetailPlaceholder::MemberDetailPlaceholder(const MemberBinding &binding, const QString &title, QWidget *parent)
    : QWidget(parent), binding_(binding) {
    setObjectName("memberDetail");
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    auto *bar = new QWidget;
    auto *h = new QHBoxLayout(bar);
    h->setContentsMargins(12, 8, 16, 8);
    h->setSpacing(8);
    auto *back = new QToolButton;
    back->setObjectName("backButton");
    back->setAutoRaise(true);
    back->setIcon(Icons::tinted("chevron.left", Icons::accent()));
    back->setText(QStringLiteral("返回"));
    back->setToolTip(QStringLiteral("返回案件"));
    back->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(back, &QToolButton::clicked, this, &MemberDetailPlaceholder::backRequested);
    h->addWidget(back);
    auto *t = label(title, Style::headline);
    t->setObjectName("memberTitle");
    h->addWidget(t, 1);
    v->addWidget(bar);
    v->addWidget(divider());

    const Application app = binding_.application();
    auto *body = new QVBoxLayout;
    body->setContentsMargins(24, 24, 24, 24);
    body->setSpacing(6);
    QString sub = q(applicationKindLabel(app.kind));
    const QString program = q(app.program).trimmed();
    if (!program.isEmpty()) sub += QStringLiteral("（") + program + QStringLiteral("）");
    body->addWidget(label(sub, Style::body, Tone::secondary));
    auto *path = label(binding_.memberFolder(), Style::caption, Tone::tertiary);
    path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    body->addWidget(path);
    body->addStretch(1);
    v->addLayout(body, 1);
}
