#pragma once
// The application style: the platform style with tooltips appearing after 1000 ms.
#include <QProxyStyle>

class AppStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int toolTipDelayMs = 1000;
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};

// Installs AppStyle, the icon theme and a font that covers Chinese text on the running application.
void applyAppLook();
