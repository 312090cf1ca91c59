#include "Views/EmptyState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "Views/Icons.h"
#include "Views/Typography.h"

using namespace Typography;

EmptyState::EmptyState(const QString &symbol, const QString &title, const QString &description, QWidget *parent)
    : QWidget(parent) {
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(40, 40, 40, 40);
    outer->addStretch(1);

    auto *icon = new QLabel(this);
    icon->setPixmap(Icons::pixmap(symbol, 48, Icons::secondaryText()));
    icon->setAlignment(Qt::AlignCenter);
    outer->addWidget(icon);
    outer->addSpacing(12);

    auto *t = label(title, Style::title2, Tone::primary, QFont::Bold, this);
    t->setObjectName("emptyStateTitle");
    t->setAlignment(Qt::AlignCenter);
    outer->addWidget(t);
    outer->addSpacing(6);

    auto *d = label(description, Style::body, Tone::secondary, QFont::Normal, this);
    d->setWordWrap(true);
    d->setAlignment(Qt::AlignCenter);
    d->setMaximumWidth(460);
    d->setMinimumWidth(260);
    auto *drow = new QHBoxLayout;
    drow->addStretch(1);
    drow->addWidget(d, 0);
    drow->addStretch(1);
    outer->addLayout(drow);
    outer->addSpacing(16);

    buttons_ = new QHBoxLayout;
    buttons_->setSpacing(10);
    buttons_->addStretch(1);
    buttons_->addStretch(1);
    outer->addLayout(buttons_);
    outer->addStretch(1);
}

QPushButton *EmptyState::addButton(const QString &text, bool prominent, const QString &objectName) {
    auto *b = new QPushButton(text, this);
    b->setObjectName(objectName);
    b->setMinimumHeight(30);
    if (prominent) {
        b->setDefault(true);
        const QColor a = Icons::accent();
        b->setStyleSheet(QString("QPushButton { background: %1; color: white; border: none; border-radius: 6px;"
                                 " padding: 5px 16px; font-weight: 600; }"
                                 "QPushButton:pressed { background: %2; }")
                             .arg(a.name(), a.darker(120).name()));
    } else {
        b->setStyleSheet("QPushButton { padding: 5px 16px; }");
    }
    buttons_->insertWidget(buttons_->count() - 1, b);
    return b;
}
