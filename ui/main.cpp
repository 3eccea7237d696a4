#include "ui/CQuorlenApp.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorlen"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quorlen.png")));
    CQuorlenApp quorlen;
    if (!quorlen.InitInstance(QApplication::arguments())) {
        return 1;
    }
    const int result = QApplication::exec();
    quorlen.ExitInstance();
    return result;
}
