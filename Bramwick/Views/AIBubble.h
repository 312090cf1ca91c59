#pragma once
// One message as a bubble: the user's on the trailing side in the accent tint, the assistant's on
// the leading side on the control background.
#include <QWidget>

#include "Views/AIMessage.h"

class QLabel;

class AIBubble : public QWidget {
    Q_OBJECT
public:
    explicit AIBubble(const AIMessage &message, QWidget *parent = nullptr);
    const AIMessage &message() const { return message_; }
    QString text() const;

private:
    AIMessage message_;
    QLabel *label_;
};
