#include "Views/MainWindow.h"

#include <QToolBar>
#include <QToolButton>

#include "Views/Icons.h"
#include "Views/RootView.h"

MainWindow::MainWindow(AppStore *store, QWidget *parent) : QMainWindow(parent) {
    setObjectName("mainWindow");
    setWindowTitle(QStringLiteral("Bramwick"));
    setMinimumSize(900, 600);
    setUnifiedTitleAndToolBarOnMac(true);

    root_ = new RootView(store, this);
    setCentralWidget(root_);

    auto *bar = new QToolBar(this);
    bar->setObjectName("mainToolbar");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(18, 18));
    bar->toggleViewAction()->setVisible(false);
    auto *spacer = new QWidget;
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    toggle_ = new QToolButton;
    toggle_->setObjectName("assistantToggle");
    toggle_->setAutoRaise(true);
    bar->addWidget(toggle_);
    addToolBar(Qt::TopToolBarArea, bar);

    connect(toggle_, &QToolButton::clicked, root_, &RootView::toggleAI);
    connect(root_, &RootView::showAIChanged, this, &MainWindow::updateToggle);
    updateToggle(root_->showAI());
    resize(1180, 760);
}

void MainWindow::updateToggle(bool shown) {
    toggle_->setIcon(Icons::tinted(shown ? "sparkles.rectangle.stack.fill" : "sparkles", Icons::accent()));
    toggle_->setToolTip(shown ? QStringLiteral("收起 AI 校对助手") : QStringLiteral("打开 AI 校对助手（演示）"));
}
