// Kesto Timer: lap timer for model car racing.
#include "app/kesto_program.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kesto Timer"));
    // The window closes only through Exit, which ends the program itself.
    QApplication::setQuitOnLastWindowClosed(false);

    kesto::KestoProgram program(kesto::ProgramFolderFromArguments(QApplication::arguments()));
    program.Start();
    return QApplication::exec();
}
