#include "Model/FolderWatcher.h"

#include <QDir>
#include <QFileInfo>

FolderWatcher::FolderWatcher(QString folder, std::function<void()> onChange)
    : url_(std::move(folder)), onChange_(std::move(onChange)) {
    debounce_.setSingleShot(true);
    debounce_.setInterval(debounceMilliseconds);
    connect(&debounce_, &QTimer::timeout, this, [this] {
        if (onChange_) onChange_();
    });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString &path) {
        if (path == url_)
            eventArrived();
        else if (path == parent_)
            parentChanged();
    });
}

std::unique_ptr<FolderWatcher> FolderWatcher::create(const QString &folder, std::function<void()> onChange) {
    QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir()) return nullptr;
    std::unique_ptr<FolderWatcher> w(new FolderWatcher(info.absoluteFilePath(), std::move(onChange)));
    if (!w->watcher_.addPath(w->url_)) return nullptr;
    // The parent tells us when the folder itself is deleted or given a new name.
    QString parent = QFileInfo(w->url_).absolutePath();
    if (parent != w->url_ && w->watcher_.addPath(parent)) w->parent_ = parent;
    return w;
}

FolderWatcher::~FolderWatcher() {
    debounce_.stop();
    onChange_ = nullptr;
}

bool FolderWatcher::isWatching() const {
    // A folder renamed away keeps its watch on the moved folder: that no longer counts.
    return watcher_.directories().contains(url_) && QFileInfo(url_).isDir();
}

void FolderWatcher::eventArrived() {
    // Restarting the single-shot timer replaces the pending notification.
    debounce_.start();
}

void FolderWatcher::parentChanged() {
    bool exists = QFileInfo(url_).isDir();
    if (exists != folderExisted_) {
        folderExisted_ = exists;
        eventArrived();
    }
}
