#include "Views/WelcomeView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "Views/Icons.h"
#include "Views/Typography.h"

using namespace Typography;

namespace {

QWidget *featureRow(const QString &symbol, const QColor &tint, const QString &title, const QString &text) {
    auto *row = new QWidget;
    auto *h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(14);
    auto *icon = new QLabel;
    icon->setPixmap(Icons::pixmap(symbol, 24, tint));
    icon->setFixedWidth(28);
    icon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    h->addWidget(icon, 0, Qt::AlignTop);
    auto *v = new QVBoxLayout;
    v->setSpacing(3);
    v->addWidget(label(title, Style::body, Tone::primary, QFont::DemiBold));
    auto *d = label(text, Style::body, Tone::secondary);
    d->setWordWrap(true);
    v->addWidget(d);
    h->addLayout(v, 1);
    return row;
}

} // namespace

WelcomeView::WelcomeView(QWidget *parent) : QScrollArea(parent) {
    setObjectName("welcomeView");
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);

    auto *page = new QWidget;
    auto *outer = new QHBoxLayout(page);
    outer->setContentsMargins(40, 40, 40, 40);
    auto *content = new QWidget;
    content->setMaximumWidth(640);
    outer->addWidget(content, 1, Qt::AlignTop);
    outer->addStretch(0);

    auto *v = new QVBoxLayout(content);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(28);

    auto *header = new QVBoxLayout;
    header->setSpacing(8);
    auto *icon = new QLabel;
    icon->setPixmap(Icons::pixmap("folder", 44, Icons::secondaryText()));
    header->addWidget(icon);
    QFont big = Typography::font(Style::title, QFont::Bold);
    big.setPixelSize(30);
    auto *title = label(QStringLiteral("从左侧的文件夹开始"), Style::title, Tone::primary, QFont::Bold);
    title->setFont(big);
    title->setObjectName("welcomeTitle");
    header->addWidget(title);
    auto *intro = label(QStringLiteral("左边这些就是你电脑「访达」里的文件夹，一个文件夹放一个案子。点开看看，或者新建一个。"),
                        Style::title3, Tone::secondary);
    intro->setWordWrap(true);
    header->addWidget(intro);
    v->addLayout(header);

    v->addWidget(divider());

    auto *features = new QVBoxLayout;
    features->setSpacing(16);
    features->addWidget(label(QStringLiteral("它能帮你做什么"), Style::headline));
    features->addWidget(featureRow("checkmark.seal.fill", QColor(0x34, 0xa8, 0x53), QStringLiteral("自动填好 IRCC 的 PDF 表格"),
                                   QStringLiteral("填写、读取、核对加拿大移民局那些 IMM 表格，全自动，又快又准。")));
    features->addWidget(featureRow("person.text.rectangle.fill", QColor(0x1a, 0x73, 0xe8),
                                   QStringLiteral("一份资料，填进所有表格"),
                                   QStringLiteral("申请人的信息只录一次，软件会自动填到每一份用得上的表格里，前后一致，不会抄错抄漏。")));
    features->addWidget(featureRow("lock.fill", QColor(0xf2, 0x8b, 0x00), QStringLiteral("资料只留在你这台电脑"),
                                   QStringLiteral("全部在本机完成，申请人信息不会上传，也不经过任何网络，隐私安全你来掌握。")));
    v->addLayout(features);

    v->addWidget(divider());

    auto *where = new QVBoxLayout;
    where->setSpacing(8);
    where->addWidget(label(QStringLiteral("你的资料存在哪"), Style::headline));
    for (const QString &p : {QStringLiteral("每个申请人的个人档案存成一个文件 profile.json，每份申请存成 application.json，都在案件文件夹里。"),
                             QStringLiteral("这些是普通文本文件，你也可以让 ChatGPT 帮你整理或填写它们。"),
                             QStringLiteral("右上角还有一个「AI 校对助手」入口。目前只是个演示，具体怎么用我们再一起讨论后决定。")}) {
        auto *l = label(p, Style::body, Tone::secondary);
        l->setWordWrap(true);
        where->addWidget(l);
    }
    v->addLayout(where);

    v->addSpacing(4);
    v->addWidget(label(QStringLiteral("核对好申请人信息，点一下就能填好 PDF。"), Style::title3, Tone::primary, QFont::Medium));
    v->addStretch(1);

    setWidget(page);
}
