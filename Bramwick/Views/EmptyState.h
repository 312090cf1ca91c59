#pragma once
// A centred "nothing here yet" page: a large symbol, a title, a description and a row of buttons.
#include <QPushButton>
#include <QWidget>

class QHBoxLayout;

class EmptyState : public QWidget {
    Q_OBJECT
public:
    EmptyState(const QString &symbol, const QString &title, const QString &description, QWidget *parent = nullptr);
    // Adds a button to the row; a prominent one is the default, accent-coloured button.
    QPushButton *addButton(const QString &text, bool prominent, const QString &objectName);

private:
    QHBoxLayout *buttons_ = nullptr;
};
