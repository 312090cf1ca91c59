#include "Views/ChooseFolderView.h"

ChooseFolderView::ChooseFolderView(QWidget *parent)
    : EmptyState("folder.badge.questionmark", QStringLiteral("先选择档案文件夹"),
                 QStringLiteral("每个案件一个子文件夹，家庭申请人各占一个成员子文件夹，生成的 PDF 和资料都存在里面，"
                                "Finder 里随时可见、可备份。"),
                 parent) {
    setObjectName("chooseFolderView");
    auto *b = addButton(QStringLiteral("选择文件夹…"), true, "chooseFolderButton");
    connect(b, &QPushButton::clicked, this, &ChooseFolderView::chooseRequested);
}
