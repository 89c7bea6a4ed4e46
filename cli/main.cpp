// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli: the album engine from a terminal. Each command lives in cli/commands/.
#include <cstdio>
#include <exception>
#include <utility>

#include <QCoreApplication>
#include <QStringList>

#include "cli/clisession.h"
#include "cli/commands/commands.h"
#include "platform/imagemetadata.h"

namespace
{

using Command = int (*)(const QStringList&);

Command commandNamed(const QString& name)
{
    static const std::pair<const char*, Command> commands[] = {
        {"themes", runThemes},     {"new", runNew},   {"set", runSet},
        {"generate", runGenerate}, {"info", runInfo}, {"publish", runPublish},
    };
    for (const auto& [commandName, run] : commands)
        if (name == QLatin1String(commandName))
            return run;
    return nullptr;
}

int run(QStringList arguments)
{
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "%s", qUtf8Printable(programUsage()));
        return 2;
    }
    const QString name = arguments.takeFirst();
    if (name == u"--help" || name == u"-h" || name == u"help") {
        if (!arguments.isEmpty() && commandNamed(arguments.first()) != nullptr)
            return commandNamed(arguments.first())({QStringLiteral("--help")});
        std::fprintf(stdout, "%s", qUtf8Printable(programUsage()));
        return 0;
    }
    const Command command = commandNamed(name);
    if (command == nullptr) {
        std::fprintf(stderr, "gallivex-cli: unknown command \"%s\"\n%s", qUtf8Printable(name),
                     qUtf8Printable(programUsage()));
        return 2;
    }
    return command(arguments);
}

} // namespace

int main(int argc, char** argv)
{
    // Before any thread starts: the metadata library is not ready for threads until then.
    imaging::metadata::startUp();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vellora"));
    QCoreApplication::setApplicationName(QStringLiteral("Gallivex"));
    // Nothing a library throws may end the program with a stack trace.
    try {
        return run(QCoreApplication::arguments().mid(1));
    } catch (const std::exception& error) {
        return cliFail(
            QStringLiteral("unexpected failure: %1").arg(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        return cliFail(QStringLiteral("unexpected failure"));
    }
}
