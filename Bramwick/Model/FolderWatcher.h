#pragma once
// Watches one folder: its entries being added, removed or renamed, and the folder's own deletion
// or renaming. One call of the change callback runs on the owner's (main) thread 0.3 s after the
// last event of a burst.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class FolderWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int debounceMilliseconds = 300;

    // None when the folder cannot be watched (missing, not a folder, no watch available).
    static std::unique_ptr<FolderWatcher> create(const QString &folder, std::function<void()> onChange);
    ~FolderWatcher() override;

    const QString &url() const { return url_; }
    // False once the folder itself is gone from the watch (deleted or renamed away).
    bool isWatching() const;

private:
    FolderWatcher(QString folder, std::function<void()> onChange);
    void eventArrived();
    void parentChanged();

    QString url_;
    QString parent_;
    bool folderExisted_ = true;
    std::function<void()> onChange_;
    QFileSystemWatcher watcher_;
    QTimer debounce_;
};
