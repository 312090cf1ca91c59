#pragma once
// Detail area of an archive without cases: offers the sample cases and a new case.
#include "Views/EmptyState.h"

class EmptyArchiveView : public EmptyState {
    Q_OBJECT
public:
    explicit EmptyArchiveView(QWidget *parent = nullptr);
signals:
    void seedRequested();
    void newCaseRequested();
};
