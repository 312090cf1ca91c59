#pragma once
// The demonstration review assistant at the window's trailing edge: attached skills as chips and
// a fixed conversation about the selected client. Connected to no model; takes no input.
#include <QStringList>
#include <QWidget>
#include <optional>
#include <vector>

#include "Views/AIMessage.h"

class QGridLayout;
class QVBoxLayout;
class QLabel;

class AIChatPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int panelWidth = 340;

    // The skills the root view attaches, in order.
    static QStringList defaultSkills();
    // The six scripted messages about clientName ("当前客户" when none).
    static std::vector<AIMessage> script(const std::optional<QString> &clientName);

    AIChatPanel(const std::optional<QString> &clientName, const QStringList &skills, QWidget *parent = nullptr);

    void setClientName(const std::optional<QString> &clientName);
    std::optional<QString> clientName() const { return clientName_; }
    QStringList skills() const { return skills_; }

signals:
    void closeRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void rebuildConversation();
    void layoutChips();

    std::optional<QString> clientName_;
    QStringList skills_;
    QGridLayout *chips_ = nullptr;
    std::vector<QWidget *> chipWidgets_;
    int chipColumns_ = 0;
    QVBoxLayout *conversation_ = nullptr;
};
