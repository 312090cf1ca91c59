#include "Views/AIBubble.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>

#include "Views/Icons.h"
#include "Views/Typography.h"

using namespace Typography;

AIBubble::AIBubble(const AIMessage &message, QWidget *parent) : QWidget(parent), message_(message) {
    setObjectName("aiBubble");
    const bool user = message.role == AIMessage::Role::user;
    auto *h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    label_ = label(message.text, Style::callout);
    label_->setObjectName("aiBubbleText");
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    QColor bg;
    if (user) {
        bg = Icons::accent();
        bg.setAlphaF(0.18);
    } else {
        bg = QApplication::palette().color(QPalette::Button);
    }
    label_->setStyleSheet(QString("QLabel#aiBubbleText { background: rgba(%1,%2,%3,%4); border-radius: 10px;"
                                  " padding: 7px 10px; }")
                              .arg(bg.red()).arg(bg.green()).arg(bg.blue()).arg(bg.alphaF()));
    if (user) {
        h->addSpacing(24);
        h->addStretch(1);
        h->addWidget(label_, 100);
    } else {
        h->addWidget(label_, 100);
        h->addStretch(1);
        h->addSpacing(24);
    }
}

QString AIBubble::text() const { return message_.text; }
