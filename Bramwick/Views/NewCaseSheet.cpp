#include "Views/NewCaseSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Views/SegmentedControl.h"
#include "Views/SheetLayout.h"
#include "Views/Typography.h"

using namespace Typography;

QString NewCaseSheet::kindSegmentLabel(ApplicationKind kind) {
    return q(applicationKindLabel(kind)) + QStringLiteral("（") + q(applicationKindFormName(kind)) + QStringLiteral("）");
}

NewCaseSheet::NewCaseSheet(ApplicationKind kind, const QString &program, const QString &name, QWidget *parent)
    : QDialog(parent) {
    setObjectName("newCaseSheet");
    setWindowTitle(QStringLiteral("新建案件"));
    auto *v = SheetLayout::begin(this, QStringLiteral("新建案件"));

    kind_ = new SegmentedControl({kindSegmentLabel(ApplicationKind::visit), kindSegmentLabel(ApplicationKind::work)});
    kind_->setObjectName("kindPicker");
    kind_->setCurrentIndex(kind == ApplicationKind::work ? 1 : 0);
    SheetLayout::addPicker(v, QStringLiteral("申请类型"), kind_);

    program_ = SheetLayout::addField(v, QStringLiteral("类别（如 C11、TRV）"), program, "programField");
    name_ = SheetLayout::addField(v, QStringLiteral("主申请人姓名"), name, "nameField");

    SheetLayout::addNote(v, QStringLiteral("会新建「类别-姓名」案件文件夹，内含同名主申请人子文件夹。申请类型决定本案走访问签还是工作许可，"
                                           "之后可在「申请信息」页修改。"));
    QPushButton *ok = SheetLayout::addButtons(this, v, QStringLiteral("创建"), "createButton");
    connect(ok, &QPushButton::clicked, this, [this] {
        emit create();
        accept();
    });
}

ApplicationKind NewCaseSheet::kind() const {
    return kind_->currentIndex() == 1 ? ApplicationKind::work : ApplicationKind::visit;
}
QString NewCaseSheet::program() const { return program_->text(); }
QString NewCaseSheet::name() const { return name_->text(); }
