#pragma once
// A row of exclusive segments (one checked at a time), like a segmented picker.
#include <QStringList>
#include <QWidget>

class QButtonGroup;

class SegmentedControl : public QWidget {
    Q_OBJECT
public:
    explicit SegmentedControl(const QStringList &labels, QWidget *parent = nullptr);
    QStringList labels() const { return labels_; }
    int currentIndex() const;
    void setCurrentIndex(int index);

signals:
    void currentIndexChanged(int index);

private:
    QStringList labels_;
    QButtonGroup *group_;
};
