#pragma once
// The left column: every case of the archive as a folder row that expands to its members.
// Changes only its own expanded set and the store's selection; everything else goes through
// newCaseRequested / deleteRequested or the system file manager.
#include <QSet>
#include <QWidget>
#include <functional>

#include "Model/AppStore.h"

class QToolButton;
class QVBoxLayout;
class QScrollArea;

class CaseSidebar : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumWidthPx = 280;
    static constexpr int idealWidthPx = 320;
    static constexpr int maximumWidthPx = 420;

    explicit CaseSidebar(AppStore *store, QWidget *parent = nullptr);

    const QSet<QString> &expanded() const { return expanded_; }
    void toggleExpanded(const QString &caseFolder);
    bool isExpanded(const QString &caseFolder) const { return expanded_.contains(caseFolder); }

    // Opens the folder / shows it selected in the system file manager; failures are silent.
    static void openInFileManager(const QString &folder);
    static void revealInFileManager(const QString &folder);

    QSize sizeHint() const override { return {idealWidthPx, 600}; }

signals:
    void newCaseRequested();
    void deleteRequested(const CaseItem &caseItem);

private:
    void scheduleRebuild();
    void rebuild();
    void followSelection();
    void updateSelectionHighlight();

    AppStore *store_;
    QSet<QString> expanded_;
    QToolButton *plus_;
    QScrollArea *scroll_;
    QWidget *list_ = nullptr;
    QVBoxLayout *rows_ = nullptr;
    bool rebuildPending_ = false;
};
