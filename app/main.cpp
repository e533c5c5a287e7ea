#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "program_windows.h"
#include "quorvandel_version.h"

namespace {

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("Quorvandel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVANDEL_VERSION_TEXT));
}

void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Builds class timetables with no clashes."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A Quorvandel schedule (*.qvs) to open."),
                                 QStringLiteral("[FILE]"));
}

// --help and --version answer in the terminal, also where no display can
// be opened (over ssh, in a build script).
bool asksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "-?", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

int answerInTerminal(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    nameTheProgram();
    QCommandLineParser parser;
    describeCommandLine(parser);
    (void)parser.parse(QCoreApplication::arguments());  // Qt's own options (-platform ...) are no fault here
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    if (parser.isSet(QStringLiteral("help-all"))) parser.process(app);
    parser.showHelp(0);
}

}  // namespace

int main(int argc, char** argv) {
    if (asksOnlyForText(argc, argv)) return answerInTerminal(argc, argv);

    QApplication app(argc, argv);
    nameTheProgram();
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(app);  // an unknown option ends here with its message
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "%s: one schedule file at most\n\n", qPrintable(QCoreApplication::applicationName()));
        parser.showHelp(1);
    }

    quorvandel::ProgramWindows program;
    program.window.show();
    // A file that cannot be read is said in its message box, and the
    // program goes on with an empty schedule.
    if (!files.isEmpty()) program.window.loadFile(files.front());
    return QApplication::exec();
}
