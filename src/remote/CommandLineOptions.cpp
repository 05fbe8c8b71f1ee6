#include "remote/CommandLineOptions.h"

#include "platform/QtDesktop.h"
#include "remote/InstanceClient.h"
#include "remote/RemoteCommand.h"
#include "remote/RemoteMessage.h"
#include "remote/RuntimeFolder.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace CommandLineOptions {

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

void printError(const QString& text)
{
    std::fprintf(stderr, "vocarta: %s\n", qPrintable(text));
}

int sendCommand(const QString& name)
{
    if (!findRemoteCommand(name)) {
        printError(
            QStringLiteral("unknown command \"%1\"; vocarta --help lists the commands").arg(name));
        return kUsage;
    }
    const QString folder = RuntimeFolder::path();
    switch (InstanceClient::send(RuntimeFolder::socketPath(folder), QtDesktop::lockPath(folder),
                                 RemoteMessage::command(name))) {
    case InstanceClient::Outcome::Accepted:
        return 0;
    case InstanceClient::Outcome::Refused:
        printError(
            QStringLiteral("the running Vocarta refused the command \"%1\" (too many requests "
                           "wait for one of its dialogs to close, or it does not know it; "
                           "its log says which)")
                .arg(name));
        return kFailed;
    case InstanceClient::Outcome::NoInstance:
        printError(QStringLiteral("Vocarta is not running; the command \"%1\" was not delivered")
                       .arg(name));
        return kFailed;
    case InstanceClient::Outcome::NotListening:
        printError(QStringLiteral("the running Vocarta takes no commands (its log says why); the "
                                  "command \"%1\" was not delivered")
                       .arg(name));
        return kFailed;
    case InstanceClient::Outcome::NoAnswer:
        break;
    }
    printError(QStringLiteral("the running Vocarta did not answer; the command \"%1\" may not "
                              "have been carried out")
                   .arg(name));
    return kFailed;
}

} // namespace

QString helpText()
{
    QString text = QStringLiteral(
        "Usage: vocarta [FILE]\n"
        "       vocarta --command NAME\n"
        "       vocarta --export IN OUT [--no-timestamps]\n"
        "\n"
        "Starts Vocarta, opening the recording FILE if one is given. When Vocarta already runs,\n"
        "FILE is opened there instead.\n"
        "\n"
        "Options:\n"
        "  --command NAME   hand a command to the running Vocarta and end; bind these to keys\n"
        "                   in the desktop's keyboard settings\n"
        "  --export IN OUT  write the transcript IN (.rtf, .txt, .srt or .vtt) as OUT, in the\n"
        "                   format its name ends in: .docx, .odt, .srt, .vtt, .txt, .csv or .tsv;\n"
        "                   needs no display, prints one line per problem and ends with status 0\n"
        "                   once OUT is written; --no-timestamps leaves them out of a .txt\n"
        "  --help           show this text\n"
        "\n"
        "Commands:\n");
    for (const RemoteCommand& command : remoteCommands())
        text += QStringLiteral("  %1%2\n")
                    .arg(QLatin1String(command.name), -20)
                    .arg(QLatin1String(command.summary));
    text += QStringLiteral("\n"
                           "--command ends with status 0 once the running Vocarta has taken the\n"
                           "command, and with status 1 when none runs.\n");
    return text;
}

std::optional<int> run(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    const QString& option = arguments.at(1);
    if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    }
    if (option != QLatin1String("--command"))
        return std::nullopt;
    if (arguments.size() != 3) {
        printError(QStringLiteral("--command takes one command name; vocarta --help lists them"));
        return kUsage;
    }
    return sendCommand(arguments.at(2));
}

std::optional<int> run(int argc, char* argv[])
{
    if (argc < 2 || (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0 &&
                     std::strcmp(argv[1], "--command") != 0))
        return std::nullopt;
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vocarta"));
    return run(QCoreApplication::arguments());
}

} // namespace CommandLineOptions
