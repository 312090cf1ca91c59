#pragma once
// The one main window: the root view and the toolbar with the assistant toggle.
#include <QMainWindow>

class AppStore;
class RootView;
class QToolButton;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(AppStore *store, QWidget *parent = nullptr);
    RootView *rootView() const { return root_; }
    QToolButton *assistantToggle() const { return toggle_; }

private:
    void updateToggle(bool shown);

    RootView *root_;
    QToolButton *toggle_;
};
