#pragma once
// One message of the assistant panel's conversation.
#include <QString>
#include <QUuid>

struct AIMessage {
    enum class Role { user, assistant };
    QUuid id = QUuid::createUuid();
    Role role = Role::assistant;
    QString text;
};
