#include "Views/EmptyArchiveView.h"

EmptyArchiveView::EmptyArchiveView(QWidget *parent)
    : EmptyState("folder.badge.plus", QStringLiteral("这个档案文件夹还没有案件"),
                 QStringLiteral("新建一个案件，或先灌入几个演示案件体验全流程。"), parent) {
    setObjectName("emptyArchiveView");
    auto *seed = addButton(QStringLiteral("添加演示案件"), true, "seedButton");
    auto *create = addButton(QStringLiteral("新建案件…"), false, "newCaseButton");
    connect(seed, &QPushButton::clicked, this, &EmptyArchiveView::seedRequested);
    connect(create, &QPushButton::clicked, this, &EmptyArchiveView::newCaseRequested);
}
