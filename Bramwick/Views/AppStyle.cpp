#include "Views/AppStyle.h"

#include <QApplication>
#include <QFontDatabase>

#include "Views/Icons.h"

int AppStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                        QStyleHintReturn *returnData) const {
    if (hint == SH_ToolTip_WakeUpDelay) return toolTipDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void applyAppLook() {
    QApplication::setStyle(new AppStyle(QStringLiteral("Fusion")));
    Icons::ensureTheme();
    const QStringList families = QFontDatabase::families();
    for (const QString &f : {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("PingFang SC"),
                             QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"),
                             QStringLiteral("Source Han Sans SC")}) {
        if (families.contains(f)) {
            QFont font = QApplication::font();
            font.setFamily(f);
            QApplication::setFont(font);
            break;
        }
    }
}
