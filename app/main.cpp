#include <QApplication>

#include "program_windows.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvandel"));
    quorvandel::ProgramWindows program;
    program.window.show();
    return QApplication::exec();
}
