#pragma once
// The sheet that creates a case with its principal member: kind, category and name.
#include <QDialog>

#include "Model/Application.h"

class QLineEdit;
class SegmentedControl;

class NewCaseSheet : public QDialog {
    Q_OBJECT
public:
    NewCaseSheet(ApplicationKind kind, const QString &program, const QString &name, QWidget *parent = nullptr);

    ApplicationKind kind() const;
    QString program() const;
    QString name() const;

    // The segment label of a kind: "访问签（IMM 5257）".
    static QString kindSegmentLabel(ApplicationKind kind);

signals:
    // "创建" was pressed; the sheet closes right after.
    void create();

private:
    SegmentedControl *kind_;
    QLineEdit *program_;
    QLineEdit *name_;
};
