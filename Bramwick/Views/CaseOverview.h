#pragma once
// Detail area when a case (not a member) is selected: the case's name, member count and members.
#include <QScrollArea>

#include "Model/AppStore.h"

class CaseOverview : public QScrollArea {
    Q_OBJECT
public:
    explicit CaseOverview(const CaseItem &caseItem, QWidget *parent = nullptr);
    const CaseItem &caseItem() const { return case_; }

    // "主申请人 · 工作许可（C11）": role label, kind label and, when set, the program.
    static QString memberSubtitle(const MemberItem &member);

signals:
    void pick(const QString &memberFolder);
    void addMember();

private:
    CaseItem case_;
};
