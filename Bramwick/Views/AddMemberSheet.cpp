#include "Views/AddMemberSheet.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Views/NewCaseSheet.h"
#include "Views/SegmentedControl.h"
#include "Views/SheetLayout.h"
#include "Views/Typography.h"

using namespace Typography;

const std::vector<MemberRole> &AddMemberSheet::offeredRoles() {
    static const std::vector<MemberRole> roles = {MemberRole::spouse, MemberRole::child, MemberRole::other};
    return roles;
}

AddMemberSheet::AddMemberSheet(ApplicationKind kind, MemberRole role, const QString &program, const QString &name,
                               QWidget *parent)
    : QDialog(parent) {
    setObjectName("addMemberSheet");
    setWindowTitle(QStringLiteral("添加成员"));
    auto *v = SheetLayout::begin(this, QStringLiteral("添加成员"));

    QStringList roleLabels;
    int roleIndex = 1;
    for (size_t i = 0; i < offeredRoles().size(); ++i) {
        roleLabels << q(memberRoleLabel(offeredRoles()[i]));
        if (offeredRoles()[i] == role) roleIndex = int(i);
    }
    role_ = new SegmentedControl(roleLabels);
    role_->setObjectName("rolePicker");
    role_->setCurrentIndex(roleIndex);
    SheetLayout::addPicker(v, QStringLiteral("家庭角色"), role_);

    kind_ = new SegmentedControl({NewCaseSheet::kindSegmentLabel(ApplicationKind::visit),
                                  NewCaseSheet::kindSegmentLabel(ApplicationKind::work)});
    kind_->setObjectName("kindPicker");
    kind_->setCurrentIndex(kind == ApplicationKind::work ? 1 : 0);
    SheetLayout::addPicker(v, QStringLiteral("申请类型"), kind_);

    program_ = SheetLayout::addField(v, QStringLiteral("类别（如 C11、TRV）"), program, "programField");
    name_ = SheetLayout::addField(v, QStringLiteral("成员姓名"), name, "nameField");
    SheetLayout::addNote(v, QStringLiteral("会在本案件文件夹下新建该成员子文件夹，含自己的 profile.json 与 application.json；"
                                           "申请类型/字段各成员独立。"));
    QPushButton *ok = SheetLayout::addButtons(this, v, QStringLiteral("添加"), "addButton");
    connect(ok, &QPushButton::clicked, this, [this] {
        emit add();
        accept();
    });
}

ApplicationKind AddMemberSheet::kind() const {
    return kind_->currentIndex() == 1 ? ApplicationKind::work : ApplicationKind::visit;
}
MemberRole AddMemberSheet::role() const {
    const int i = role_->currentIndex();
    return i >= 0 && i < int(offeredRoles().size()) ? offeredRoles()[size_t(i)] : MemberRole::child;
}
QString AddMemberSheet::program() const { return program_->text(); }
QString AddMemberSheet::name() const { return name_->text(); }
