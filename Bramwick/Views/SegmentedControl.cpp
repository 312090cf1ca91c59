#include "Views/SegmentedControl.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>

#include "Views/Icons.h"

SegmentedControl::SegmentedControl(const QStringList &labels, QWidget *parent)
    : QWidget(parent), labels_(labels), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    auto *h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    const QColor a = Icons::accent();
    QColor border = palette().color(QPalette::WindowText);
    border.setAlphaF(0.25);
    const QString borderCss = QString("rgba(%1,%2,%3,%4)").arg(border.red()).arg(border.green()).arg(border.blue()).arg(border.alphaF());
    for (int i = 0; i < labels.size(); ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("segment%1").arg(i));
        b->setText(labels[i]);
        b->setCheckable(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setMinimumHeight(28);
        QString radius;
        if (i == 0) radius += "border-top-left-radius: 6px; border-bottom-left-radius: 6px;";
        if (i == labels.size() - 1) radius += "border-top-right-radius: 6px; border-bottom-right-radius: 6px;";
        const QString left = i == 0 ? QString("border-left: 1px solid %1;").arg(borderCss) : QString("border-left: none;");
        b->setStyleSheet(QString("QToolButton { border: 1px solid %1; %2 %3 padding: 4px 10px; background: palette(base); }"
                                 "QToolButton:checked { background: %4; color: white; border-color: %4; }")
                             .arg(borderCss, left, radius, a.name()));
        group_->addButton(b, i);
        h->addWidget(b);
    }
    if (!labels.isEmpty()) group_->button(0)->setChecked(true);
    connect(group_, &QButtonGroup::idClicked, this, &SegmentedControl::currentIndexChanged);
}

int SegmentedControl::currentIndex() const { return group_->checkedId(); }

void SegmentedControl::setCurrentIndex(int index) {
    if (auto *b = group_->button(index)) b->setChecked(true);
}
