#include <QApplication>

#include "Model/AppStore.h"
#include "Views/AppStyle.h"
#include "Views/MainWindow.h"

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Bramwick"));
    QApplication::setOrganizationName(QStringLiteral("Bramwick"));
    QApplication::setApplicationVersion(QStringLiteral(BW_APP_VERSION));
    applyAppLook();

    AppStore store;
    MainWindow window(&store);
    window.show();
    return app.exec();
}
