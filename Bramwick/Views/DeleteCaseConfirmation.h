#pragma once
// The alert that confirms moving a whole case folder to the trash.
#include <QMessageBox>

class DeleteCaseConfirmation : public QMessageBox {
    Q_OBJECT
public:
    DeleteCaseConfirmation(const QString &caseFolder, QWidget *parent = nullptr);
    static QString messageFor(const QString &caseFolder);
    QAbstractButton *deleteButton() const { return delete_; }
    QAbstractButton *cancelButton() const { return cancel_; }
    // True once "删除" was chosen.
    bool confirmed() const { return clickedButton() == delete_; }

private:
    QAbstractButton *delete_;
    QAbstractButton *cancel_;
};
