#pragma once
// The common frame of the sheets: 400 wide, 20 margins, items stacked leading-aligned 16 apart,
// the two buttons ("取消" and the default action) at the trailing end.
#include <QString>

class QDialog;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace SheetLayout {

QVBoxLayout *begin(QDialog *sheet, const QString &heading);
void addPicker(QVBoxLayout *v, const QString &caption, QWidget *control);
QLineEdit *addField(QVBoxLayout *v, const QString &placeholder, const QString &text, const QString &objectName);
void addNote(QVBoxLayout *v, const QString &note);
// Adds "取消" (rejects) and the default button; gives the default button.
QPushButton *addButtons(QDialog *sheet, QVBoxLayout *v, const QString &okText, const QString &okObjectName);

} // namespace SheetLayout
