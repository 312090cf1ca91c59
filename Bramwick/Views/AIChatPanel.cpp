#include "Views/AIChatPanel.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "Views/AIBubble.h"
#include "Views/Icons.h"
#include "Views/Typography.h"

using namespace Typography;

namespace {

constexpr int chipMinColumn = 120;
constexpr int chipSpacing = 6;

QWidget *chip(const QString &name) {
    auto *w = new QWidget;
    w->setObjectName("skillChip");
    w->setProperty("skill", name);
    w->setAttribute(Qt::WA_StyledBackground);
    QColor bg = Icons::accent();
    bg.setAlphaF(0.12);
    w->setStyleSheet(QString("QWidget#skillChip { background: rgba(%1,%2,%3,%4); border-radius: 11px; }")
                         .arg(bg.red()).arg(bg.green()).arg(bg.blue()).arg(bg.alphaF()));
    auto *h = new QHBoxLayout(w);
    h->setContentsMargins(8, 4, 8, 4);
    h->setSpacing(4);
    auto *icon = new QLabel;
    icon->setPixmap(Icons::pixmap("puzzlepiece.extension", 12, Icons::accent()));
    h->addWidget(icon);
    auto *t = label(name, Style::caption);
    h->addWidget(t, 1);
    w->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return w;
}

} // namespace

QStringList AIChatPanel::defaultSkills() {
    return {QStringLiteral("IRCC 5257 校对"), QStringLiteral("护照有效期规则"), QStringLiteral("资金证明核查"),
            QStringLiteral("旅行史一致性")};
}

std::vector<AIMessage> AIChatPanel::script(const std::optional<QString> &clientName) {
    const QString who = clientName ? *clientName : QStringLiteral("当前客户");
    using R = AIMessage::Role;
    auto m = [](R role, const QString &text) {
        AIMessage msg;
        msg.role = role;
        msg.text = text;
        return msg;
    };
    return {
        m(R::user, QStringLiteral("帮我校对一下「") + who + QStringLiteral("」的 IMM 5257。")),
        m(R::assistant, QStringLiteral("好的，我结合规则逻辑和你挂载的 Skill 检查了这份表单，发现 3 处需要注意：")),
        m(R::assistant, QStringLiteral("① 护照到期日早于计划离境日 6 个月内 —— 触发「护照有效期规则」，建议提醒客户换发。")),
        m(R::assistant, QStringLiteral("② 第 2 页职业填 “Engineer”，但旅行目的写 “Tourism”，资金 5000 偏低 —— "
                                       "「资金证明核查」建议补充银行流水。")),
        m(R::assistant, QStringLiteral("③ 居住地国家与国籍一致、出生城市为空 —— 逻辑校验提示出生城市必填，建议补全。")),
        m(R::assistant, QStringLiteral("需要我把以上逐条整理成给客户的补料清单吗？")),
    };
}

AIChatPanel::AIChatPanel(const std::optional<QString> &clientName, const QStringList &skills, QWidget *parent)
    : QWidget(parent), clientName_(clientName), skills_(skills) {
    setObjectName("aiChatPanel");
    setFixedWidth(panelWidth);
    setAutoFillBackground(true);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    // 1. Header.
    auto *header = new QWidget;
    auto *hh = new QHBoxLayout(header);
    hh->setContentsMargins(12, 12, 12, 12);
    hh->setSpacing(8);
    auto *spark = new QLabel;
    spark->setPixmap(Icons::pixmap("sparkles", 20, Icons::accent()));
    hh->addWidget(spark);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(1);
    titles->addWidget(label(QStringLiteral("AI 校对助手"), Style::headline));
    titles->addWidget(label(QStringLiteral("演示占位 · 未接入真实模型"), Style::caption2, Tone::secondary));
    hh->addLayout(titles);
    hh->addStretch(1);
    auto *close = new QToolButton;
    close->setObjectName("aiCloseButton");
    close->setAutoRaise(true);
    close->setIcon(Icons::tinted("xmark", Icons::secondaryText()));
    close->setToolTip(QStringLiteral("收起"));
    connect(close, &QToolButton::clicked, this, &AIChatPanel::closeRequested);
    hh->addWidget(close);
    v->addWidget(header);
    v->addWidget(divider());

    // 3. Skills.
    auto *skillsBox = new QWidget;
    auto *sv = new QVBoxLayout(skillsBox);
    sv->setContentsMargins(12, 12, 12, 12);
    sv->setSpacing(6);
    sv->addWidget(label(QStringLiteral("已挂载 Skill（顾问提供）"), Style::caption, Tone::secondary));
    chips_ = new QGridLayout;
    chips_->setHorizontalSpacing(chipSpacing);
    chips_->setVerticalSpacing(chipSpacing);
    chips_->setContentsMargins(0, 0, 0, 0);
    for (const QString &s : skills_) chipWidgets_.push_back(chip(s));
    sv->addLayout(chips_);
    layoutChips();
    v->addWidget(skillsBox);
    v->addWidget(divider());

    // 5. Conversation.
    auto *scroll = new QScrollArea;
    scroll->setObjectName("aiConversation");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *conv = new QWidget;
    auto *cv = new QVBoxLayout(conv);
    cv->setContentsMargins(12, 12, 12, 12);
    cv->setSpacing(10);
    conversation_ = new QVBoxLayout;
    conversation_->setSpacing(10);
    cv->addLayout(conversation_);
    cv->addStretch(1);
    scroll->setWidget(conv);
    v->addWidget(scroll, 1);
    v->addWidget(divider());

    // 7. Input bar (not interactive).
    auto *inputOuter = new QWidget;
    auto *io = new QHBoxLayout(inputOuter);
    io->setContentsMargins(12, 12, 12, 12);
    auto *input = new QWidget;
    input->setObjectName("aiInputBar");
    input->setAttribute(Qt::WA_StyledBackground);
    input->setStyleSheet("QWidget#aiInputBar { background: rgba(128,128,128,0.12); border-radius: 8px; }");
    auto *ih = new QHBoxLayout(input);
    ih->setContentsMargins(10, 10, 10, 10);
    ih->setSpacing(8);
    ih->addWidget(label(QStringLiteral("输入消息…（演示中不可用）"), Style::callout, Tone::tertiary), 1);
    auto *send = new QLabel;
    send->setPixmap(Icons::pixmap("arrow.up.circle.fill", 20, Icons::tertiaryText()));
    ih->addWidget(send);
    io->addWidget(input);
    v->addWidget(inputOuter);

    rebuildConversation();
}

void AIChatPanel::setClientName(const std::optional<QString> &clientName) {
    if (clientName == clientName_) return;
    clientName_ = clientName;
    rebuildConversation();
}

void AIChatPanel::rebuildConversation() {
    while (QLayoutItem *item = conversation_->takeAt(0)) {
        if (item->widget()) item->widget()->deleteLater();
        delete item;
    }
    for (const AIMessage &m : script(clientName_)) conversation_->addWidget(new AIBubble(m));
}

void AIChatPanel::layoutChips() {
    const int avail = std::max(chipMinColumn, width() - 24);
    const int columns = std::max(1, (avail + chipSpacing) / (chipMinColumn + chipSpacing));
    if (columns == chipColumns_) return;
    chipColumns_ = columns;
    for (QWidget *w : chipWidgets_) chips_->removeWidget(w);
    for (int c = 0; c < chips_->columnCount(); ++c) chips_->setColumnStretch(c, 0);
    for (size_t i = 0; i < chipWidgets_.size(); ++i)
        chips_->addWidget(chipWidgets_[i], int(i) / columns, int(i) % columns, Qt::AlignLeft);
    for (int c = 0; c < columns; ++c) chips_->setColumnStretch(c, 1);
}

void AIChatPanel::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layoutChips();
}
