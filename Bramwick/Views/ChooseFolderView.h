#pragma once
// Detail area without an archive folder: asks the consultant to choose one.
#include "Views/EmptyState.h"

class ChooseFolderView : public EmptyState {
    Q_OBJECT
public:
    explicit ChooseFolderView(QWidget *parent = nullptr);
signals:
    void chooseRequested();
};
