#include "Views/SheetLayout.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Views/Typography.h"

using namespace Typography;

namespace SheetLayout {

QVBoxLayout *begin(QDialog *sheet, const QString &heading) {
    sheet->setModal(true);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setFixedWidth(400);
    auto *v = new QVBoxLayout(sheet);
    v->setContentsMargins(20, 20, 20, 20);
    v->setSpacing(16);
    auto *h = label(heading, Style::headline);
    h->setObjectName("sheetHeading");
    v->addWidget(h);
    return v;
}

void addPicker(QVBoxLayout *v, const QString &caption, QWidget *control) {
    auto *box = new QVBoxLayout;
    box->setSpacing(6);
    box->addWidget(label(caption, Style::subheadline, Tone::secondary));
    box->addWidget(control);
    v->addLayout(box);
}

QLineEdit *addField(QVBoxLayout *v, const QString &placeholder, const QString &text, const QString &objectName) {
    auto *f = new QLineEdit(text);
    f->setObjectName(objectName);
    f->setPlaceholderText(placeholder);
    f->setMinimumHeight(28);
    v->addWidget(f);
    return f;
}

void addNote(QVBoxLayout *v, const QString &note) {
    auto *l = label(note, Style::caption, Tone::secondary);
    l->setWordWrap(true);
    l->setFixedWidth(360);
    v->addWidget(l);
}

QPushButton *addButtons(QDialog *sheet, QVBoxLayout *v, const QString &okText, const QString &okObjectName) {
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    auto *cancel = new QPushButton(QStringLiteral("取消"));
    cancel->setObjectName("cancelButton");
    cancel->setAutoDefault(false);
    auto *ok = new QPushButton(okText);
    ok->setObjectName(okObjectName);
    ok->setDefault(true);
    row->addWidget(cancel);
    row->addWidget(ok);
    v->addLayout(row);
    QObject::connect(cancel, &QPushButton::clicked, sheet, &QDialog::reject);
    return ok;
}

} // namespace SheetLayout
