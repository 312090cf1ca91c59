#include "Views/Icons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStringList>

namespace Icons {
namespace {

struct Entry {
    QStringList themeNames;             // tried in order
    QStyle::StandardPixmap fallback;    // used when the theme has none of them
};

const QHash<QString, Entry> &table() {
    static const QHash<QString, Entry> t = {
        {"folder", {{"folder-symbolic", "folder"}, QStyle::SP_DirIcon}},
        {"folder.fill", {{"folder-symbolic", "folder"}, QStyle::SP_DirIcon}},
        {"folder.badge.plus", {{"folder-new-symbolic", "folder-new"}, QStyle::SP_FileDialogNewFolder}},
        {"folder.badge.questionmark",
         {{"folder-saved-search-symbolic", "dialog-question-symbolic", "folder"}, QStyle::SP_MessageBoxQuestion}},
        {"plus", {{"list-add-symbolic", "list-add"}, QStyle::SP_FileDialogNewFolder}},
        {"chevron.right", {{"pan-end-symbolic", "go-next-symbolic", "go-next"}, QStyle::SP_ArrowRight}},
        {"chevron.left", {{"go-previous-symbolic", "pan-start-symbolic", "go-previous"}, QStyle::SP_ArrowLeft}},
        {"chevron.down", {{"pan-down-symbolic", "go-down-symbolic", "go-down"}, QStyle::SP_ArrowDown}},
        {"person.crop.circle.fill", {{"avatar-default-symbolic", "avatar-default"}, QStyle::SP_DirHomeIcon}},
        {"person.badge.plus", {{"contact-new-symbolic", "contact-new"}, QStyle::SP_FileDialogNewFolder}},
        {"person.text.rectangle.fill",
         {{"x-office-address-book-symbolic", "contact-new-symbolic"}, QStyle::SP_FileDialogDetailedView}},
        {"checkmark.seal.fill", {{"emblem-ok-symbolic", "emblem-default-symbolic"}, QStyle::SP_DialogApplyButton}},
        {"lock.fill", {{"changes-prevent-symbolic", "system-lock-screen-symbolic"}, QStyle::SP_VistaShield}},
        {"pencil", {{"document-edit-symbolic", "document-edit"}, QStyle::SP_FileDialogContentsView}},
        {"trash", {{"user-trash-symbolic", "edit-delete-symbolic", "edit-delete"}, QStyle::SP_TrashIcon}},
        {"xmark", {{"window-close-symbolic", "window-close"}, QStyle::SP_TitleBarCloseButton}},
        {"sparkles", {{"starred-symbolic", "non-starred-symbolic"}, QStyle::SP_MessageBoxInformation}},
        {"sparkles.rectangle.stack.fill",
         {{"sidebar-show-right-symbolic", "view-dual-symbolic", "starred-symbolic"}, QStyle::SP_DialogCloseButton}},
        {"puzzlepiece.extension", {{"application-x-addon-symbolic", "application-x-addon"}, QStyle::SP_FileIcon}},
        {"arrow.up.circle.fill", {{"go-up-symbolic", "go-up"}, QStyle::SP_ArrowUp}},
    };
    return t;
}

QIcon themeIcon(const QString &symbol) {
    ensureTheme();
    const auto it = table().constFind(symbol);
    if (it == table().constEnd()) return {};
    for (const QString &n : it->themeNames) {
        if (QIcon::hasThemeIcon(n)) return QIcon::fromTheme(n);
    }
    return {};
}

QPixmap recolour(const QPixmap &src, const QColor &tint) {
    QPixmap out(src.size());
    out.setDevicePixelRatio(src.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawPixmap(0, 0, src);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), tint);
    return out;
}

} // namespace

void ensureTheme() {
    static bool done = false;
    if (done) return;
    done = true;
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    const QString current = QIcon::themeName();
    if (current.isEmpty() || current == QLatin1String("hicolor") || !QIcon::hasThemeIcon("folder-symbolic"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

bool fromTheme(const QString &symbol) { return !themeIcon(symbol).isNull(); }

QIcon icon(const QString &symbol) {
    QIcon i = themeIcon(symbol);
    if (!i.isNull()) return i;
    const auto it = table().constFind(symbol);
    const auto sp = it == table().constEnd() ? QStyle::SP_FileIcon : it->fallback;
    return QApplication::style()->standardIcon(sp);
}

QPixmap pixmap(const QString &symbol, int size, const QColor &tint) {
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QIcon i = themeIcon(symbol);
    if (i.isNull()) return icon(symbol).pixmap(QSize(size, size), dpr);
    QPixmap pm = i.pixmap(QSize(size, size), dpr);
    QColor c = tint.isValid() ? tint : QApplication::palette().color(QPalette::WindowText);
    return recolour(pm, c);
}

QIcon tinted(const QString &symbol, const QColor &tint, int size) {
    if (!fromTheme(symbol)) return icon(symbol);
    QIcon out;
    out.addPixmap(pixmap(symbol, size, tint));
    return out;
}

QColor accent() { return QApplication::palette().color(QPalette::Highlight); }

QColor secondaryText() {
    QColor c = QApplication::palette().color(QPalette::WindowText);
    c.setAlphaF(0.62);
    return c;
}

QColor tertiaryText() {
    QColor c = QApplication::palette().color(QPalette::WindowText);
    c.setAlphaF(0.38);
    return c;
}

} // namespace Icons
