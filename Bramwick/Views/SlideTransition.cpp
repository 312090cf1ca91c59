#include "Views/SlideTransition.h"

#include <QEasingCurve>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QResizeEvent>

SlideTransition::SlideTransition(QWidget *parent) : QWidget(parent) {
    setObjectName("detailArea");
}

void SlideTransition::finish() {
    if (group_) {
        group_->stop();
        group_->deleteLater();
        group_ = nullptr;
    }
    if (leaving_) leaving_->deleteLater();
    leaving_ = nullptr;
    if (current_) current_->setGeometry(rect());
}

void SlideTransition::setPage(QWidget *page, bool forward, bool animated) {
    finish();
    QWidget *old = current_;
    current_ = page;
    page->setParent(this);
    const int w = width();
    const bool ltr = layoutDirection() == Qt::LeftToRight;
    // "Trailing" is the right edge in a left-to-right layout.
    const int sign = (forward == ltr) ? 1 : -1;
    if (!animated || !old || !isVisible() || w <= 0) {
        if (old) old->deleteLater();
        page->setGeometry(rect());
        page->show();
        return;
    }
    leaving_ = old;
    page->setGeometry(QRect(QPoint(sign * w, 0), size()));
    page->show();
    page->raise();

    group_ = new QParallelAnimationGroup(this);
    auto *in = new QPropertyAnimation(page, "pos", group_);
    in->setStartValue(QPoint(sign * w, 0));
    in->setEndValue(QPoint(0, 0));
    auto *out = new QPropertyAnimation(old, "pos", group_);
    out->setStartValue(QPoint(0, 0));
    out->setEndValue(QPoint(-sign * w, 0));
    for (auto *a : {in, out}) {
        a->setDuration(durationMs);
        a->setEasingCurve(QEasingCurve::OutCubic);
    }
    connect(group_, &QParallelAnimationGroup::finished, this, [this] { finish(); });
    group_->start();
}

void SlideTransition::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (!group_ && current_) current_->setGeometry(rect());
    if (group_) finish();
}
