#include "Views/DeleteCaseConfirmation.h"

#include <QFileInfo>
#include <QPushButton>

#include "Views/Icons.h"

QString DeleteCaseConfirmation::messageFor(const QString &caseFolder) {
    return QStringLiteral("将把「") + QFileInfo(caseFolder).fileName() +
           QStringLiteral("」整个案件文件夹移到废纸篓（可从废纸篓恢复）。");
}

DeleteCaseConfirmation::DeleteCaseConfirmation(const QString &caseFolder, QWidget *parent) : QMessageBox(parent) {
    setObjectName("deleteConfirmation");
    setWindowModality(Qt::WindowModal);
    setIcon(QMessageBox::Warning);
    setWindowTitle(QStringLiteral("删除案件"));
    setText(QStringLiteral("删除案件"));
    setInformativeText(messageFor(caseFolder));
    auto *del = addButton(QStringLiteral("删除"), QMessageBox::DestructiveRole);
    del->setObjectName("confirmDeleteButton");
    del->setStyleSheet("QPushButton { color: #c62828; }");
    auto *cancel = addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    cancel->setObjectName("cancelDeleteButton");
    setDefaultButton(cancel);
    setEscapeButton(cancel);
    delete_ = del;
    cancel_ = cancel;
}
