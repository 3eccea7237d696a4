#include "ui/CQuorlenApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlen"));
    CQuorlenApp quorlen;
    if (!quorlen.InitInstance(QApplication::arguments())) {
        return 1;
    }
    const int result = QApplication::exec();
    quorlen.ExitInstance();
    return result;
}
