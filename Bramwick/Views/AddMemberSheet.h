#pragma once
// The sheet that adds a family member to a case: role (never principal), kind, category, name.
#include <QDialog>

#include "Model/Application.h"
#include "Model/MemberRole.h"

class QLineEdit;
class SegmentedControl;

class AddMemberSheet : public QDialog {
    Q_OBJECT
public:
    // The roles offered, in order. A case has one principal, made with the case.
    static const std::vector<MemberRole> &offeredRoles();

    AddMemberSheet(ApplicationKind kind, MemberRole role, const QString &program, const QString &name,
                   QWidget *parent = nullptr);

    ApplicationKind kind() const;
    MemberRole role() const;
    QString program() const;
    QString name() const;

signals:
    // "添加" was pressed; the sheet closes right after.
    void add();

private:
    SegmentedControl *role_;
    SegmentedControl *kind_;
    QLineEdit *program_;
    QLineEdit *name_;
};
