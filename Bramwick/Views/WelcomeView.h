#pragma once
// Detail area when cases exist but nothing is selected: what the program does and where data lives.
#include <QScrollArea>

class WelcomeView : public QScrollArea {
    Q_OBJECT
public:
    explicit WelcomeView(QWidget *parent = nullptr);
};
