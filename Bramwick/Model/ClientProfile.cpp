#include "Model/ClientProfile.h"

#include <QDate>
#include <QUuid>

std::string newUUIDText() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
}

std::string relativeDateText(int days, int years, const std::string &today) {
    QDate date = QDate::fromString(QString::fromStdString(today), u"yyyy-MM-dd");
    if (!date.isValid()) date = QDate::currentDate();
    if (days != 0) {
        QDate moved = date.addDays(days);
        if (moved.isValid()) date = moved;
    }
    if (years != 0) {
        QDate moved = date.addYears(years);
        if (moved.isValid()) date = moved;
    }
    return date.toString(u"yyyy-MM-dd").toStdString();
}

std::string relativeDateText(int days, int years) {
    return relativeDateText(days, years, QDate::currentDate().toString(u"yyyy-MM-dd").toStdString());
}
