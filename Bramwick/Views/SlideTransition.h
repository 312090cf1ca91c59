#pragma once
// The detail area's page container: replacing the page slides the new one in and the old one out
// over 0.28 s (ease-out). Forward: the new page comes from the trailing edge and the old one leaves
// to the leading edge; backward the other way round.
#include <QPointer>
#include <QWidget>

class QParallelAnimationGroup;

class SlideTransition : public QWidget {
    Q_OBJECT
public:
    static constexpr int durationMs = 280;

    explicit SlideTransition(QWidget *parent = nullptr);

    // Takes ownership of page and shows it; the previous page is deleted once it has left.
    void setPage(QWidget *page, bool forward, bool animated = true);
    bool isAnimating() const { return group_ != nullptr; }
    QWidget *page() const { return current_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void finish();

    QPointer<QWidget> current_;
    QPointer<QWidget> leaving_;
    QParallelAnimationGroup *group_ = nullptr;
};
