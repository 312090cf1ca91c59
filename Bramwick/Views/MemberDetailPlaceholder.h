#pragma once
// The member detail until the member screen is in place: the member's title and a back action.
#include <QWidget>

#include "Model/AppStore.h"

class MemberDetailPlaceholder : public QWidget {
    Q_OBJECT
public:
    MemberDetailPlaceholder(const MemberBinding &binding, const QString &title, QWidget *parent = nullptr);
    QString memberFolder() const { return binding_.memberFolder(); }
signals:
    void backRequested();

private:
    MemberBinding binding_;
};
